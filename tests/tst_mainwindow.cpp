// SPDX-License-Identifier: MIT
// The main window: its toolbar and shortcuts, the views, a window that
// grows, and what the data commands leave behind.
#include "brokenfolder.h"
#include "ui/help.h"
#include "ui/picturebox.h"
#include "ui/picturepane.h"
#include "ui/textbox.h"
#include "ui/textpane.h"
#include "windowrig.h"

#include <QAction>
#include <QLabel>
#include <QListView>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace {

/// Notes each menu item run instead of running it (some open dialogs).
QStringList *noteItemsRun(frmMain &form) {
    auto *runs = new QStringList;
    for (QAction *action : form.findChildren<QAction *>()) {
        if (!action->objectName().startsWith(u"menu"))
            continue;
        QObject::disconnect(action, &QAction::triggered, &form, nullptr);
        QObject::disconnect(action, &QAction::triggered, form.findChild<HelpCommands *>(), nullptr);
        QObject::connect(action, &QAction::triggered, &form,
                         [runs, action] { *runs << action->objectName(); });
    }
    return runs;
}

} // namespace

class tst_MainWindow : public QObject {
    Q_OBJECT

private slots:
    void toolbarAndShortcutsRunTheirMenuItems() {
        WindowRig rig;
        frmMain &form = rig.form;
        const std::unique_ptr<QStringList> runs(noteItemsRun(form));
        for (QAction *button : form.menus.picToolBar->actions())
            button->trigger();
        QCOMPARE(*runs,
                 (QStringList{u"menuSave"_s, u"menuClearData"_s, u"menuVTxt"_s, u"menuVImg"_s,
                              u"menuSkin"_s, u"menuOption"_s, u"menuUser"_s, u"menuAbout"_s}));
        // Shortcuts work while the user types in the text view.
        runs->clear();
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(form.fmTxt->txtMain, Qt::Key_R, Qt::ControlModifier);
        QTest::keyClick(form.fmTxt->txtMain, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(*runs, (QStringList{u"menuDetectClpBd"_s, u"menuClearData"_s}));
        QVERIFY(!form.menus.menuDetectClpBd->isChecked());
    }

    void viewSwitchingTicksAndShows() {
        WindowRig rig;
        frmMain &form = rig.form;
        for (QChar step : u"iitt"_s) { // pictures twice, then text twice
            const bool pictures = step == u'i';
            (pictures ? form.menus.menuVImg : form.menus.menuVTxt)->trigger();
            QCOMPARE(form.menus.menuVImg->isChecked(), pictures);
            QCOMPARE(form.menus.menuVTxt->isChecked(), !pictures);
            QCOMPARE(form.fmImg->isVisibleTo(&form), pictures);
            QCOMPARE(form.fmTxt->isVisibleTo(&form), !pictures);
        }
    }

    void theViewsGrowWithTheWindow() {
        WindowRig rig;
        frmMain &form = rig.form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QSize first = form.size();
        QCOMPARE(first.width(), 551);
        QCOMPARE(form.minimumSize(), first);
        const QSize list = form.fmTxt->lstTxt->size(), text = form.fmTxt->txtMain->size();
        form.resize(first + QSize(200, 150));
        QTRY_COMPARE(form.fmTxt->txtMain->size(), text + QSize(200, 150));
        QCOMPARE(form.fmTxt->lstTxt->size(), list + QSize(0, 150));
        form.menus.menuVImg->trigger();
        QTRY_COMPARE(form.fmImg->imgMain->size(), text + QSize(200, 150));
        // The stretched picture covers the whole picture box, border included.
        QCOMPARE(form.fmImg->imgBak->size(), form.fmImg->imgMain->size());
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
        rig.form.menus.menuSave->trigger();
        QCOMPARE(rig.form.lTip->text(), u"就绪"_s);
        QCOMPARE(rig.texts().count(), textsLeft);
        QCOMPARE(rig.pictures().count(), picturesLeft);
        QCOMPARE(rig.tempPictures().size(), picturesLeft);
        QCOMPARE(rig.dialogs.messages.size(), boxes);
        for (const FakeDialogs::Shown &box : std::as_const(rig.dialogs.messages)) {
            QCOMPARE(box.icon, MessageIcon::Critical);
            QVERIFY(box.text.startsWith(u"系统错误!"_s));
        }
        if (broken == u"text")
            QCOMPARE(rig.dialogs.messages.at(0).text,
                     u"系统错误!"_s +
                         saveFailureDescription(rig.store.options().txtPath, u"文件夹不存在"_s));
        // Deleting everything leaves the data files alone.
        rig.form.menus.menuClearData->trigger();
        QCOMPARE(rig.texts().count() + rig.pictures().count() + rig.tempPictures().size(), 0);
        QCOMPARE(rig.form.fmImg->imgMain->picture(), QImage());
        QCOMPARE(QDir(rig.path(u"data/image"_s)).entryList({u"*.bmp"_s}).size(),
                 broken == u"image" ? 0 : 2);
    }

    void anAutomaticSaveThatFailsIsToldOnce() {
        WindowRig rig(true);
        QDir(rig.store.options().txtPath).removeRecursively();
        for (int i = 0; i < 102; ++i)
            rig.clipboard.offerText(u"t%1"_s.arg(i));
        QTRY_COMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.form.fmTxt->lstTxt->model()->rowCount(), 102);
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
