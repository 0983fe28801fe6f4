// SPDX-License-Identifier: MIT
#include "capturerig.h"

#include <QImageReader>

class tst_Capture : public QObject {
    Q_OBJECT
private slots:
    void entriesAreNumberedAndRepeatsSkipped() {
        CaptureRig r;
        for (const char *text : {"A", "A", "B", "A", "a", "6", "7", "8", "9", "10", "11", "12"})
            r.copyText(QString::fromLatin1(text));
        QCOMPARE(r.textList.count(), 11); // only the second "A" was a repeat
        QCOMPARE(r.textList.item(0)->text(), QStringLiteral("文本00"));
        QCOMPARE(r.textList.item(10)->text(), QStringLiteral("文本10"));
        QCOMPARE(r.textList.currentRow(), 10);
        QCOMPARE(r.textView.text(), QStringLiteral("12"));
        QCOMPARE(r.m.TextPages.at(3), QStringLiteral("a"));
        QCOMPARE(TextCaption(100), QStringLiteral("文本100"));
        QCOMPARE(Increment(32767), qint16(32767));
    }

    void overwritePolicyReplacesTheOldestEntryInPlace() {
        CaptureRig r;
        for (int i = 0; i < 100; ++i) {
            r.copyText(QStringLiteral("t%1").arg(i));
            r.copyPicture(testPicture(2, 2, Qt::green));
        }
        r.copyText(QStringLiteral("t99")); // still the newest entry after the wrap
        QCOMPARE(r.m.TextCount, qint16(0));
        r.copyText(QStringLiteral("new"));
        r.copyPicture(testPicture(2, 2, Qt::blue));
        QCOMPARE(r.textList.count(), 100);
        QCOMPARE(r.pictureList.count(), 100);
        QCOMPARE(r.textList.currentRow(), 0);
        QCOMPARE(r.pictureList.currentRow(), 0);
        QCOMPARE(r.m.TextPages.mid(0, 2), (QStringList{"new", "t1"}));
        QCOMPARE(r.tempPictures().size(), 100);
        QCOMPARE(QImage(r.m.tempImagePath(QStringLiteral("图像00"))).pixelColor(0, 0),
                 QColor(Qt::blue));
        QVERIFY(r.dialogs.messages.isEmpty());
    }

    void savePolicyKeepsEverythingWhenTheSaveFails() {
        CaptureRig r;
        r.m.AutoSave = true;
        r.m.TxtPath = r.path(QStringLiteral("missing"));
        for (int i = 0; i < 102; ++i)
            r.copyText(QStringLiteral("t%1").arg(i));
        QCOMPARE(r.dialogs.messages.size(), 1); // once, not at every capture
        const auto shown = r.dialogs.messages.first();
        QCOMPARE(shown.icon, QMessageBox::Critical);
        QCOMPARE(shown.caption, QStringLiteral("Orlo粘贴板"));
        QVERIFY(shown.text.startsWith(QStringLiteral("系统错误!")));
        QVERIFY(shown.text.contains(QDir::toNativeSeparators(r.m.TxtPath)));
        QCOMPARE(r.textList.item(100)->text(), QStringLiteral("文本100"));
        QCOMPARE(r.m.TextPages.at(101), QStringLiteral("t101"));
        QCOMPARE(r.m.TextPages.at(0), QStringLiteral("t0"));
    }

    void pictureIsWrittenAsAPrivateBmp() {
        CaptureRig r;
        QDir(r.m.tempImageFolder()).removeRecursively(); // put back by the capture
        r.copyPicture(testPicture(120, 45));
        QCOMPARE(r.pictureList.item(0)->text(), QStringLiteral("图像00"));
        QImageReader reader(r.m.tempImagePath(QStringLiteral("图像00")));
        QCOMPARE(reader.format(), QByteArray("bmp"));
        const QImage back = reader.read();
        QCOMPARE(back.size(), QSize(120, 45));
        QCOMPARE(back.pixelColor(5, 5), QColor(Qt::red));
        QCOMPARE(r.pictureView.picture().size(), QSize(120, 45));
#ifndef Q_OS_WIN
        QCOMPARE(QFile::permissions(reader.fileName()) & (QFile::ReadOther | QFile::ReadGroup),
                 QFile::Permissions());
#endif
    }
};

QTEST_MAIN(tst_Capture)
#include "tst_capture.moc"
