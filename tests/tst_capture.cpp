// SPDX-License-Identifier: MIT
#include "app/capture.h"
#include "testrig.h"
#include "ui/picturebox.h"
#include "ui/textbox.h"

#include <QImageReader>
#include <QListWidget>
#include <QMimeData>

class tst_Capture : public QObject {
    Q_OBJECT

    struct Views {
        QListWidget textList;
        TextBox textView;
        QListWidget pictureList;
        PictureBox pictureView;
        StretchImage stretched;
    };

    static void copyText(TestRig &rig, Views &v, const QString &text) {
        rig.clipboard.setMimeData(new QMimeData);
        auto *data = new QMimeData;
        data->setText(text);
        rig.clipboard.setMimeData(data);
        CaptureText(rig.m, &v.textList, &v.textView);
    }
    static void copyPicture(TestRig &rig, Views &v, const QImage &picture) {
        auto *data = new QMimeData;
        data->setImageData(picture);
        rig.clipboard.setMimeData(data);
        CaptureImage(rig.m, &v.pictureList, &v.pictureView, &v.stretched);
    }

private slots:
    void textEntriesAreNumberedWithTwoDigitsAtLeast() {
        TestRig rig;
        Views v;
        for (int i = 0; i < 11; ++i)
            copyText(rig, v, QStringLiteral("text %1").arg(i));
        QCOMPARE(v.textList.item(0)->text(), QStringLiteral("文本00"));
        QCOMPARE(v.textList.item(10)->text(), QStringLiteral("文本10"));
        QCOMPARE(v.textList.currentRow(), 10);
        QCOMPARE(v.textView.text(), QStringLiteral("text 10"));
        QCOMPARE(rig.m.TextPages.at(10), QStringLiteral("text 10"));
        QCOMPARE(rig.m.TextCount, qint16(11));
        QCOMPARE(TextCaption(100), QStringLiteral("文本100"));
        QCOMPARE(ImageCaption(7), QStringLiteral("图像07"));
    }

    void sameTextTwiceInARowIsTakenOnce() {
        TestRig rig;
        Views v;
        copyText(rig, v, QStringLiteral("A"));
        copyText(rig, v, QStringLiteral("A"));
        QCOMPARE(v.textList.count(), 1);
        copyText(rig, v, QStringLiteral("B"));
        copyText(rig, v, QStringLiteral("A"));
        QCOMPARE(v.textList.count(), 3);
        // Case counts: "a" is another text.
        copyText(rig, v, QStringLiteral("a"));
        QCOMPARE(v.textList.count(), 4);
    }

    void overwritePolicyReplacesTheOldestEntryInPlace() {
        TestRig rig;
        Views v;
        for (int i = 0; i < 100; ++i)
            copyText(rig, v, QStringLiteral("t%1").arg(i));
        QCOMPARE(rig.m.TextCount, qint16(0));
        QCOMPARE(v.textList.count(), 100);

        // The newest entry is 99 even though the count has wrapped.
        copyText(rig, v, QStringLiteral("t99"));
        QCOMPARE(rig.m.TextCount, qint16(0));

        copyText(rig, v, QStringLiteral("new"));
        QCOMPARE(v.textList.count(), 100);
        QCOMPARE(v.textList.item(0)->text(), QStringLiteral("文本00"));
        QCOMPARE(v.textList.currentRow(), 0);
        QCOMPARE(rig.m.TextPages.at(0), QStringLiteral("new"));
        QCOMPARE(rig.m.TextPages.at(1), QStringLiteral("t1"));
        QCOMPARE(rig.m.TextCount, qint16(1));
        QVERIFY(rig.dialogs.messages.isEmpty());
    }

    void savePolicyKeepsEverythingWhenTheSaveFails() {
        TestRig rig;
        Views v;
        rig.m.AutoSave = true;
        rig.m.TxtPath = rig.path(QStringLiteral("missing"));
        for (int i = 0; i < 100; ++i)
            copyText(rig, v, QStringLiteral("t%1").arg(i));
        QCOMPARE(rig.dialogs.messages.size(), 1);
        const auto shown = rig.dialogs.messages.first();
        QCOMPARE(shown.icon, QMessageBox::Critical);
        QCOMPARE(shown.caption, QStringLiteral("Orlo粘贴板"));
        QVERIFY(shown.text.startsWith(QStringLiteral("系统错误!")));
        QVERIFY(shown.text.contains(QDir::toNativeSeparators(rig.m.TxtPath)));

        // The 101st goes on past the bound and is kept; the user is not told again.
        copyText(rig, v, QStringLiteral("t100"));
        copyText(rig, v, QStringLiteral("t101"));
        QCOMPARE(v.textList.count(), 102);
        QCOMPARE(v.textList.item(100)->text(), QStringLiteral("文本100"));
        QCOMPARE(rig.m.TextPages.at(101), QStringLiteral("t101"));
        QCOMPARE(rig.m.TextPages.at(0), QStringLiteral("t0"));
        QCOMPARE(rig.dialogs.messages.size(), 1);
    }

    void pictureIsWrittenAsBmpInTheTempFolder() {
        TestRig rig;
        Views v;
        copyPicture(rig, v, testPicture(120, 45));
        QCOMPARE(v.pictureList.count(), 1);
        QCOMPARE(v.pictureList.item(0)->text(), QStringLiteral("图像00"));
        QCOMPARE(rig.tempPictures(), QStringList{QStringLiteral("图像00.bmp")});
        QImageReader reader(rig.m.tempImagePath(QStringLiteral("图像00")));
        QCOMPARE(reader.format(), QByteArray("bmp"));
        const QImage back = reader.read();
        QCOMPARE(back.size(), QSize(120, 45));
        QCOMPARE(back.pixelColor(5, 5), QColor(Qt::red));
        QCOMPARE(v.pictureView.picture().size(), QSize(120, 45));
        QCOMPARE(rig.m.ImageCount, qint16(1));
#ifndef Q_OS_WIN
        QCOMPARE(QFile::permissions(rig.m.tempImagePath(QStringLiteral("图像00"))) &
                     (QFile::ReadOther | QFile::ReadGroup),
                 QFile::Permissions());
#endif
    }

    void unreadablePictureAddsNothing() {
        TestRig rig;
        Views v;
        copyPicture(rig, v, testPicture(10, 10));
        auto *data = new QMimeData;
        data->setData(QStringLiteral("image/png"), QByteArray("\x89PNG\r\n\x1a\n garbage", 17));
        rig.clipboard.setMimeData(data);
        CaptureImage(rig.m, &v.pictureList, &v.pictureView, &v.stretched);
        QCOMPARE(v.pictureList.count(), 1);
        QCOMPARE(rig.tempPictures().size(), 1);
        QCOMPARE(rig.m.ImageCount, qint16(1));
    }

    void picturesWrapUnderTheOverwritePolicy() {
        TestRig rig;
        Views v;
        for (int i = 0; i < 101; ++i)
            copyPicture(rig, v, testPicture(2, 2, i == 100 ? Qt::blue : Qt::green));
        QCOMPARE(v.pictureList.count(), 100);
        QCOMPARE(rig.tempPictures().size(), 100);
        QCOMPARE(v.pictureList.currentRow(), 0);
        QCOMPARE(QImage(rig.m.tempImagePath(QStringLiteral("图像00"))).pixelColor(0, 0),
                 QColor(Qt::blue));
    }

    void missingTempFolderIsPutBack() {
        TestRig rig;
        Views v;
        QDir(rig.m.tempImageFolder()).removeRecursively();
        copyPicture(rig, v, testPicture(3, 3));
        QCOMPARE(rig.tempPictures().size(), 1);
    }

    void countersStopAt32767() {
        QCOMPARE(Increment(0), qint16(1));
        QCOMPARE(Increment(32766), qint16(32767));
        QCOMPARE(Increment(32767), qint16(32767));
    }
};

QTEST_MAIN(tst_Capture)
#include "tst_capture.moc"
