// SPDX-License-Identifier: MIT
// The main window: its views, a window that grows, and what the data
// commands leave behind.
#include "ui/pictureframe.h"
#include "ui/texteditor.h"
#include "windowrig.h"

#include <QLabel>
#include <QListView>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

class tst_MainWindow : public QObject {
    Q_OBJECT

private slots:
    void eachCaptureIsShownOnce() {
        WindowRig rig;
        rig.form.show();
        QSignalSpy texts(&rig.texts(), &TextEntries::currentChanged);
        QSignalSpy pictures(&rig.pictures(), &PictureEntries::currentChanged);
        QSignalSpy laidOut(rig.find<TextEditor>("txtMain"), &QPlainTextEdit::textChanged);
        rig.clipboard.offerText(u"once"_s);
        rig.clipboard.offerImage(testPicture(4, 3));
        QCOMPARE(texts.size() + pictures.size() + laidOut.size(), 3);
        QCOMPARE(rig.find<QListView>("lstTxt")->currentIndex().row(), 0);
    }

    void theViewsGrowWithTheWindow() {
        WindowRig rig;
        MainWindow &form = rig.form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QSize first = form.size();
        QCOMPARE(first.width(), 551);
        QCOMPARE(form.minimumSize(), first);
        QWidget *list = rig.find("lstTxt"), *text = rig.find("txtMain");
        const QSize listSize = list->size(), textSize = text->size();
        form.resize(first + QSize(200, 150));
        QTRY_COMPARE(text->size(), textSize + QSize(200, 150));
        QCOMPARE(list->size(), listSize + QSize(0, 150));
        rig.trigger("menuVImg");
        QTRY_COMPARE(rig.find("imgMain")->size(), textSize + QSize(200, 150));
        // The stretched picture covers the whole picture box, border included.
        QCOMPARE(rig.find("imgBak")->size(), rig.find("imgMain")->size());
        form.resize(first - QSize(100, 100));
        QTRY_COMPARE(form.size(), first);
    }

    void dataCommands_data() {
        QTest::addColumn<QString>("broken"); // the folder that is missing
        QTest::addColumn<int>("textsLeft");
        QTest::addColumn<int>("picturesLeft");
        QTest::addColumn<int>("boxes");
        QTest::newRow("saved") << QString() << 0 << 0 << 0;
        // One box for each kind not saved, not one for each picture.
        QTest::newRow("text folder missing") << u"text"_s << 2 << 0 << 1;
        QTest::newRow("picture folder missing") << u"image"_s << 0 << 2 << 1;
    }
    void dataCommands() {
        QFETCH(QString, broken);
        QFETCH(int, textsLeft);
        QFETCH(int, picturesLeft);
        QFETCH(int, boxes);
        WindowRig rig;
        Options folders = rig.store.options();
        (broken == u"text" ? folders.txtPath : folders.imgPath) = rig.path(u"gone"_s);
        if (!broken.isEmpty())
            rig.store.setFolders(folders);
        for (int i = 0; i < 2; ++i) {
            rig.clipboard.offerText(u"t%1"_s.arg(i));
            rig.clipboard.offerImage(testPicture(4, 3));
        }
        rig.trigger("menuSave");
        QCOMPARE(rig.find<QLabel>("lTip")->text(), u"就绪"_s);
        QCOMPARE(rig.texts().count(), textsLeft);
        QCOMPARE(rig.pictures().count(), picturesLeft);
        QCOMPARE(rig.tempPictures().size(), picturesLeft);
        QCOMPARE(rig.dialogs.messages.size(), boxes);
        for (const FakeDialogs::Shown &box : std::as_const(rig.dialogs.messages)) {
            QCOMPARE(box.icon, MessageIcon::Critical);
            QVERIFY(box.text.startsWith(u"系统错误!"_s));
        }
        if (broken == u"text")
            QCOMPARE(
                rig.dialogs.messages.at(0).text,
                messageFor(Result{Reason::FolderMissing, rig.store.options().txtPath, {}}).text);
        // Deleting everything leaves the data files alone.
        rig.trigger("menuClearData");
        QCOMPARE(rig.texts().count() + rig.pictures().count() + rig.tempPictures().size(), 0);
        QCOMPARE(rig.find<PictureFrame>("imgMain")->picture(), QImage());
        QCOMPARE(QDir(rig.path(u"data/image"_s)).entryList({u"*.bmp"_s}).size(),
                 broken == u"image" ? 0 : 2);
    }

    void anAutomaticSaveThatFailsIsToldOnce() {
        WindowRig rig(true);
        QDir(rig.store.options().txtPath).removeRecursively();
        for (int i = 0; i < 102; ++i)
            rig.clipboard.offerText(u"t%1"_s.arg(i));
        QTRY_COMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.find<QListView>("lstTxt")->model()->rowCount(), 102);
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
