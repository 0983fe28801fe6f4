// SPDX-License-Identifier: MIT
// The main window: its views, a window that grows, what the data commands
// leave behind, and the picture entries in both display modes.
#include "ui/pictureframe.h"
#include "ui/pictureview.h"
#include "ui/texteditor.h"
#include "windowrig.h"

#include <QLabel>
#include <QListView>
#include <QMenu>
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

    void aSaveAllThatFailsForOneKind() {
        // (Both saved, or neither, and what stays listed: tst_walk.)
        WindowRig rig;
        Options folders = rig.store.options();
        folders.imgPath = rig.path(u"gone"_s);
        rig.store.setFolders(folders);
        for (int i = 0; i < 2; ++i) {
            rig.clipboard.offerText(u"t%1"_s.arg(i));
            rig.clipboard.offerImage(testPicture(4, 3));
        }
        rig.trigger("menuSave");
        QCOMPARE(rig.find<QLabel>("lTip")->text(), u"就绪"_s);
        QCOMPARE(rig.texts().count(), 0);
        QCOMPARE(rig.tempPictures().size(), rig.pictures().count());
        QCOMPARE(rig.pictures().count(), 2);
        // One box for the kind not saved, not one for each picture.
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.dialogs.messages.at(0).icon, MessageIcon::Critical);
        QVERIFY(rig.dialogs.messages.at(0).text.startsWith(
            messageFor(Result{Reason::FolderMissing, folders.imgPath, {}}).text));
        // Deleting everything leaves the data files alone.
        rig.trigger("menuClearData");
        QCOMPARE(rig.texts().count() + rig.pictures().count() + rig.tempPictures().size(), 0);
        QCOMPARE(rig.find<PictureFrame>("imgMain")->picture(), QImage());
        QCOMPARE(QDir(folders.txtPath).entryList(QDir::Files).size(), 1);
    }

    void anAutomaticSaveThatFailsIsToldOnce() {
        WindowRig rig(true);
        QDir(rig.store.options().txtPath).removeRecursively();
        for (int i = 0; i < 102; ++i)
            rig.clipboard.offerText(u"t%1"_s.arg(i));
        QTRY_COMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.find<QListView>("lstTxt")->model()->rowCount(), 102);
    }

    void theSelectedEntryIsReadFromItsFile() {
        WindowRig rig;
        auto *pane = rig.find<PictureView>("fmImg");
        auto *picture = rig.find<PictureFrame>("imgMain");
        rig.form.show();
        rig.trigger("menuVImg");
        rig.clipboard.offerImage(testPicture(30, 20, Qt::blue));
        rig.clipboard.offerImage(testPicture(40, 20, Qt::green));
        QFile::remove(rig.pictures().file(0));
        pane->choose(0); // missing: the picture stays
        QCOMPARE(picture->picture().pixelColor(0, 0), QColor(Qt::green));
        QVERIFY(testPicture(50, 20, Qt::blue).save(rig.pictures().file(0), "BMP"));
        pane->choose(1);
        pane->choose(0);
        QCOMPARE(picture->picture().size(), QSize(50, 20));
    }

    void aCaptureOntoTheShownRowShowsTheNewPicture() {
        WindowRig rig;
        auto *pane = rig.find<PictureView>("fmImg");
        auto *scaled = rig.find<ScaledPicture>("imgBak");
        rig.form.show();
        rig.trigger("menuVImg");
        // A right press on the picture opens its menu; a mode chosen in the
        // menu bar is ticked there too.
        QTest::mousePress(rig.find("clientArea"), Qt::RightButton);
        QVERIFY(rig.find<QMenu>("menuPopImg")->isVisible());
        rig.find<QMenu>("menuPopImg")->close();
        rig.trigger("menuShowAll");
        QVERIFY(rig.find<QAction>("menuShowA")->isChecked() && !scaled->isHidden());
        for (int i = 0; i < 100; ++i)
            rig.clipboard.offerImage(testPicture(8, 8, Qt::gray));
        pane->choose(0);
        rig.clipboard.offerImage(testPicture(8, 8, Qt::yellow)); // replaces entry 0, shown
        QCOMPARE(scaled->picture().pixelColor(0, 0), QColor(Qt::yellow));
        QCOMPARE(rig.find<QListView>("lstImg")->currentIndex().row(), 0);
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
