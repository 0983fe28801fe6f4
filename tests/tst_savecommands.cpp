// SPDX-License-Identifier: MIT
#include "app/capture.h"
#include "store/entries.h"
#include "testrig.h"
#include "ui/frmmain.h"
#include "ui/picturebox.h"
#include "ui/textbox.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>

namespace {

void copyText(TestRig &rig, frmMain &form, const QString &text) {
    auto *data = new QMimeData;
    data->setText(text);
    rig.clipboard.setMimeData(data);
    CaptureText(rig.m, form.lstTxt, form.txtMain);
}

void copyPicture(TestRig &rig, frmMain &form, QColor color = Qt::red) {
    auto *data = new QMimeData;
    data->setImageData(testPicture(4, 3, color));
    rig.clipboard.setMimeData(data);
    CaptureImage(rig.m, form.lstImg, form.imgMain, form.imgBak);
}

QStringList filesIn(const QString &folder, const QString &pattern) {
    return QDir(folder).entryList({pattern}, QDir::Files | QDir::Hidden, QDir::Name);
}

/// The entry lines of the only text data file.
QList<QByteArray> savedEntryLines(const TestRig &rig) {
    const QStringList files = filesIn(rig.m.TxtPath, QStringLiteral("*.htm"));
    QFile file(rig.m.TxtPath + u'/' + files.value(0));
    if (files.size() != 1 || !file.open(QIODevice::ReadOnly))
        return {"not one file"};
    const QList<QByteArray> lines = file.readAll().split('\n');
    return lines.mid(1, lines.size() - 3); // without head, closing line and the end
}

bool textIsEmpty(const TestRig &rig, const frmMain &form) {
    return rig.m.TextPages.join(QString()).isEmpty() && rig.m.TextCount == 0 &&
           form.lstTxt->count() == 0 && form.txtMain->text().isEmpty();
}

} // namespace

class tst_SaveCommands : public QObject {
    Q_OBJECT

private slots:
    void saveAllTextWritesEveryEntryThenEmpties_data() {
        QTest::addColumn<int>("captures");
        QTest::addColumn<QByteArray>("firstLine");
        QTest::addColumn<int>("lines");
        QTest::newRow("no entries") << 0 << QByteArray() << 0;
        QTest::newRow("three entries") << 3 << QByteArray("t0<br><br>\r") << 3;
        // The count wrapped to 1 while 100 entries stay; slot 0 holds the newest.
        QTest::newRow("after the count wrapped") << 101 << QByteArray("t100<br><br>\r") << 100;
    }

    void saveAllTextWritesEveryEntryThenEmpties() {
        QFETCH(int, captures);
        QFETCH(QByteArray, firstLine);
        QFETCH(int, lines);
        TestRig rig;
        frmMain form(rig.m);
        for (int i = 0; i < captures; ++i)
            copyText(rig, form, QStringLiteral("t%1").arg(i));
        form.menuSaveAllTxt_Click();
        const QList<QByteArray> saved = savedEntryLines(rig);
        QCOMPARE(saved.size(), lines);
        QCOMPARE(saved.value(0), firstLine);
        QVERIFY(textIsEmpty(rig, form));
        QCOMPARE(form.lTip->text(), QStringLiteral("就绪"));
        QVERIFY(rig.dialogs.messages.isEmpty());
    }

    void saveEverythingEmptiesBothKinds() {
        TestRig rig;
        frmMain form(rig.m);
        copyText(rig, form, QStringLiteral("abc"));
        copyText(rig, form, QStringLiteral("def"));
        copyPicture(rig, form, Qt::red);
        copyPicture(rig, form, Qt::blue);
        QCOMPARE(form.menuSave->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        form.menuSave->trigger();

        QCOMPARE(filesIn(rig.m.TxtPath, QStringLiteral("*")), QStringList{"20240501153045.htm"});
        QCOMPARE(QFileInfo(rig.m.TxtPath + QStringLiteral("/20240501153045.htm")).size(), 263);
        QCOMPARE(filesIn(rig.m.ImgPath, QStringLiteral("*.bmp")),
                 (QStringList{"202405011530450.bmp", "202405011530451.bmp"}));
        QCOMPARE(QImage(rig.m.ImgPath + QStringLiteral("/202405011530451.bmp")).pixelColor(0, 0),
                 QColor(Qt::blue));
        QVERIFY(textIsEmpty(rig, form));
        QCOMPARE(form.lstImg->count() + rig.m.ImageCount + rig.tempPictures().size(), 0);
        QVERIFY(form.imgMain->picture().isNull());
        QVERIFY(rig.dialogs.messages.isEmpty());
    }

    // A save that fails keeps what it could not save; the other kind is
    // saved and emptied as usual.
    void failedSaveKeepsWhatItCouldNotSave_data() {
        QTest::addColumn<QString>("brokenText");
        QTest::addColumn<bool>("brokenImages");
        QTest::newRow("text folder missing") << QStringLiteral("missing") << false;
        QTest::newRow("text folder read-only") << QStringLiteral("read-only") << false;
        QTest::newRow("image folder missing") << QString() << true;
    }

    void failedSaveKeepsWhatItCouldNotSave() {
        QFETCH(QString, brokenText);
        QFETCH(bool, brokenImages);
        TestRig rig;
        frmMain form(rig.m);
        for (const char *text : {"one", "two"}) {
            copyText(rig, form, QString::fromLatin1(text));
            copyPicture(rig, form);
        }
        if (brokenText == QLatin1String("missing"))
            rig.m.TxtPath = rig.path(QStringLiteral("gone"));
        if (brokenText == QLatin1String("read-only")) {
            QFile::setPermissions(rig.m.TxtPath, QFile::ReadOwner | QFile::ExeOwner);
            if (QFileInfo(rig.m.TxtPath).isWritable())
                QSKIP("Permissions do not bind this user.");
        }
        if (brokenImages)
            rig.m.ImgPath = rig.path(QStringLiteral("gone"));
        const QString textProblem = FolderProblem(rig.m.TxtPath);

        form.menuSave_Click();
        QFile::setPermissions(rig.m.TxtPath,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(form.lTip->text(), QStringLiteral("就绪"));
        if (brokenText.isEmpty()) {
            QVERIFY(textIsEmpty(rig, form));
        } else {
            QCOMPARE(rig.m.TextPages.mid(0, 3), (QStringList{"one", "two", ""}));
            QCOMPARE(rig.m.TextCount + form.lstTxt->count(), 4);
            QCOMPARE(form.txtMain->text(), QStringLiteral("two"));
            QCOMPARE(rig.dialogs.messages.value(0).text,
                     QStringLiteral("系统错误!") +
                         SaveFailureDescription(rig.m.TxtPath, textProblem));
        }
        // One box per picture that could not be copied.
        QCOMPARE(rig.dialogs.messages.size(), brokenImages ? 2 : 1);
        QCOMPARE(form.lstImg->count() + rig.m.ImageCount, brokenImages ? 4 : 0);
        QCOMPARE(rig.tempPictures().size(), brokenImages ? 2 : 0);
    }

    void saveThisPageSavesOneAndKeepsIt() {
        TestRig rig;
        frmMain form(rig.m);
        for (const char *text : {"zero", "one", "two"}) {
            copyText(rig, form, QString::fromLatin1(text));
            copyPicture(rig, form);
        }
        form.lstTxt->setCurrentRow(1);
        form.menuSaveThisTxt_Click();
        QCOMPARE(savedEntryLines(rig), QList<QByteArray>{"one<br><br>\r"});
        form.lstImg->setCurrentRow(1);
        form.menuSaveImg_Click();
        QCOMPARE(filesIn(rig.m.ImgPath, QStringLiteral("*.bmp")),
                 QStringList{"202405011530451.bmp"});
        QCOMPARE(form.lstTxt->count() + form.lstImg->count() + rig.tempPictures().size(), 9);
        QVERIFY(rig.dialogs.messages.isEmpty());
    }

    void automaticSaveWritesTheHundredEntries_data() {
        QTest::addColumn<bool>("foldersThere");
        QTest::newRow("folders there") << true;
        QTest::newRow("folders missing") << false;
    }

    void automaticSaveWritesTheHundredEntries() {
        QFETCH(bool, foldersThere);
        TestRig rig;
        rig.m.AutoSave = true;
        if (!foldersThere) {
            rig.m.TxtPath = rig.path(QStringLiteral("gone/text"));
            rig.m.ImgPath = rig.path(QStringLiteral("gone/image"));
        }
        frmMain form(rig.m);
        for (int i = 0; i < 100; ++i) {
            copyText(rig, form, QStringLiteral("t%1").arg(i));
            copyPicture(rig, form);
        }
        const int kept = foldersThere ? 0 : 100;
        QCOMPARE(form.lstTxt->count(), kept);
        QCOMPARE(rig.m.TextPages.at(99), foldersThere ? QString() : QStringLiteral("t99"));
        QCOMPARE(form.lstImg->count(), kept);
        QCOMPARE(rig.m.ImageCount, qint16(kept));
        // One message per kind, not one per picture.
        QCOMPARE(rig.dialogs.messages.size(), foldersThere ? 0 : 2);
        if (foldersThere) {
            QCOMPARE(savedEntryLines(rig).size(), 100);
            QCOMPARE(savedEntryLines(rig).last(), QByteArray("t99<br><br>\r"));
            QCOMPARE(filesIn(rig.m.ImgPath, QStringLiteral("*.bmp")).size(), 100);
        }
    }
};

QTEST_MAIN(tst_SaveCommands)
#include "tst_savecommands.moc"
