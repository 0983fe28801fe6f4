// SPDX-License-Identifier: MIT
// The main window: its controls, menus, toolbar and views.
#include "testrig.h"
#include "ui/frmmain.h"
#include "ui/picturebox.h"
#include "ui/textbox.h"
#include "ui/toolbar.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>

namespace {

QRect twips(int left, int top, int width, int height) {
    return QRect(tw(left), tw(top), tw(width), tw(height));
}

/// One line per item: name, caption, shortcut, and "ticked", "tickable" or "".
QStringList describe(const QMenu *menu) {
    QStringList lines;
    for (const QAction *item : menu->actions()) {
        const char *tick = item->isChecked() ? "ticked" : item->isCheckable() ? "tickable" : "";
        if (item->isSeparator())
            lines << item->objectName() + QStringLiteral("|-");
        else
            lines << QStringList{item->objectName(), item->text(), item->shortcut().toString(),
                                 QString::fromLatin1(tick)}
                         .join(u'|');
    }
    return lines;
}

} // namespace

class tst_MainWindow : public QObject {
    Q_OBJECT

private slots:
    void windowHasItsTitleButtonsAndSize() {
        TestRig rig;
        frmMain form(rig.m);
        QCOMPARE(form.windowTitle(), QStringLiteral("Orlo粘贴板2.0版"));
        QVERIFY(!form.windowIcon().isNull());
        QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.centralWidget()->size(), QSize(tw(8265), tw(6645)));
        QCOMPARE(form.lTip->text(), QStringLiteral("就绪"));
        QCOMPARE(form.lTip->pos(), QPoint(tw(90), tw(6360)));
        QCOMPARE(form.fmTxt->title(), QStringLiteral(" 文本数据 "));
        QCOMPARE(form.fmImg->title(), QStringLiteral(" 图片数据 "));
        QVERIFY(form.imgBak->isHidden());
        QCOMPARE(form.imgBak->parentWidget(), form.imgMain->clientArea());
        QCOMPARE(form.LastHoverTool, qint16(0));
        QCOMPARE(form.CurTextPage, qint16(0));
    }

    void controlsStandWhereTheLayoutPutsThem_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<bool>("shown");
        QTest::newRow("picToolBar") << "picToolBar"
                                    << "" << twips(0, -15, 5025, 525) << true;
        QTest::newRow("fmTxt") << "fmTxt"
                               << "" << twips(30, 660, 8220, 5625) << true;
        QTest::newRow("txtMain") << "txtMain"
                                 << "fmTxt" << twips(1860, 320, 6225, 5100) << true;
        QTest::newRow("lstTxt") << "lstTxt"
                                << "fmTxt" << twips(90, 320, 1700, 5100) << true;
        QTest::newRow("fmImg") << "fmImg"
                               << "" << twips(30, 660, 8220, 5625) << false;
        QTest::newRow("lstImg") << "lstImg"
                                << "fmImg" << twips(90, 320, 1700, 5100) << true;
        QTest::newRow("imgMain") << "imgMain"
                                 << "fmImg" << twips(1860, 320, 6225, 5100) << true;
        QTest::newRow("imgTool3") << "imgTool3"
                                  << "picToolBar" << twips(1695, 60, 450, 435) << true;
    }
    void controlsStandWhereTheLayoutPutsThem() {
        QFETCH(QString, name);
        QFETCH(QString, container);
        QFETCH(QRect, place);
        QFETCH(bool, shown);
        TestRig rig;
        frmMain form(rig.m);
        auto *control = form.findChild<QWidget *>(name);
        QVERIFY(control);
        QWidget *expectedParent =
            container.isEmpty() ? form.centralWidget() : form.findChild<QWidget *>(container);
        QCOMPARE(control->parentWidget(), expectedParent);
        QCOMPARE(control->geometry(), place);
        QCOMPARE(!control->isHidden(), shown);

        // A larger window moves nothing.
        form.resize(form.size() * 2);
        form.show();
        QCOMPARE(control->geometry(), place);
    }

    void menusFollowTheirTables_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("data") << "menuF"
                              << "数据(&D)"
                              << QStringList{"menuSaveThisTxt|保存本页文本||",
                                             "menuSaveAllTxt|保存所有文本||",
                                             "menuSaveThisImg|保存本页图片||",
                                             "menuSaveAllImg|保存所有图片||",
                                             "menuSave|保存所有文本和图片|Ctrl+S|",
                                             "menuCopyThis|复制到当前页到剪贴板||",
                                             "menuLIne13|-",
                                             "menuDelAllTxt|删除所有文本||",
                                             "menuDelAllImg|删除所有图片||",
                                             "menuClearData|删除所有文本和图片|Ctrl+D|",
                                             "menuClearCB|清空剪贴板||",
                                             "menuLIne1|-",
                                             "menuDetectClpBd|开始监控剪贴板|Ctrl+R|ticked",
                                             "menuLine222|-",
                                             "menuExit|退出|Ctrl+Q|"};
        QTest::newRow("view") << "menuV"
                              << "视图(&V)"
                              << QStringList{"menuVTxt|文本数据||ticked",
                                             "menuVImg|图片数据||tickable"};
        QTest::newRow("settings") << "menuS"
                                  << "设置(&S)"
                                  << QStringList{"menuSkin|文本管理界面设置...||",
                                                 "menuClearICP|清除网站文本签名...|Ctrl+F|",
                                                 "memuLine11|-",
                                                 "menuShowSize|以图片原始大小显示||ticked",
                                                 "menuShowAll|缩放图像以显示全部||tickable",
                                                 "menuLine12|-",
                                                 "menuOption|选项...|Ctrl+O|"};
        QTest::newRow("help") << "menuH"
                              << "帮助(&H)"
                              << QStringList{"menuUser|使用说明书...|F1|",
                                             "menuDownload|官方论坛||",
                                             "menuAbout|关于Orlo粘贴板...|F2|"};
        QTest::newRow("picture context menu")
            << "menuPopImg"
            << ""
            << QStringList{"menuShowB|以图片原始大小显示||ticked",
                           "menuShowA|缩放图像以显示全部||tickable", "menuLine3|-",
                           "menuImgCopy|复制本页图片||", "menuSaveImg|保存本页图片||"};
    }
    void menusFollowTheirTables() {
        QFETCH(QString, menu);
        QFETCH(QString, title);
        QFETCH(QStringList, items);
        TestRig rig;
        frmMain form(rig.m);
        auto *found = form.findChild<QMenu *>(menu);
        QVERIFY(found);
        QCOMPARE(found->title(), title);
        QCOMPARE(describe(found), items);
    }

    void menuBarHoldsFourMenusInOrder() {
        TestRig rig;
        frmMain form(rig.m);
        QStringList titles;
        for (const QAction *top : form.menuBar()->actions())
            titles << top->text();
        QCOMPARE(titles, (QStringList{"数据(&D)", "视图(&V)", "设置(&S)", "帮助(&H)"}));
    }

    void shortcutsWorkWhileTypingInTheTextView() {
        TestRig rig;
        frmMain form(rig.m);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.txtMain->setFocus();
        form.lstTxt->addItem(QStringLiteral("文本00"));
        QTest::keyClick(form.txtMain, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(!form.menuDetectClpBd->isChecked());
        QTest::keyClick(form.txtMain, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(form.menuDetectClpBd->isChecked());
        QTest::keyClick(form.txtMain, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(form.lstTxt->count(), 0);
        QCOMPARE(form.txtMain->text(), QString());
    }

    void toolbarButtonsRunTheirMenuItems_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("left");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QString>("item");
        QTest::newRow("0") << 0 << 45 << "保存所有数据,包括文字和图片"
                           << "menuSave";
        QTest::newRow("1") << 1 << 540 << "删除所有数据,包括文字和图片"
                           << "menuClearData";
        QTest::newRow("2") << 2 << 1155 << "察看文本数据"
                           << "menuVTxt";
        QTest::newRow("3") << 3 << 1695 << "察看图像数据"
                           << "menuVImg";
        QTest::newRow("4") << 4 << -1 << ""
                           << "";
        QTest::newRow("5") << 5 << 2310 << "文本界面设置"
                           << "menuSkin";
        QTest::newRow("6") << 6 << 2820 << "选项"
                           << "menuOption";
        QTest::newRow("7") << 7 << 3450 << "使用说明"
                           << "menuUser";
        QTest::newRow("8") << 8 << 3975 << "关于"
                           << "menuAbout";
        QTest::newRow("-1") << -1 << -1 << ""
                            << "";
        QTest::newRow("9") << 9 << -1 << ""
                           << "";
    }
    void toolbarButtonsRunTheirMenuItems() {
        QFETCH(int, index);
        QFETCH(int, left);
        QFETCH(QString, tip);
        QFETCH(QString, item);
        TestRig rig;
        frmMain form(rig.m);
        if (index >= 0 && index < 9) {
            ToolButton *button = form.imgTool[index];
            QCOMPARE(button != nullptr, left >= 0);
            if (button) {
                QCOMPARE(button->geometry(), twips(left, 60, 450, 435));
                QCOMPARE(button->toolTip(), tip);
            }
        }
        // Watch which item runs, without running commands that open dialogs.
        QMap<QString, int> runs;
        for (QAction *action : form.findChildren<QAction *>()) {
            if (action->objectName().startsWith(u"menu")) {
                QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
                connect(action, &QAction::triggered, this,
                        [&runs, action] { ++runs[action->objectName()]; });
            }
        }
        form.imgTool_Click(index);
        QCOMPARE(runs.keys(), item.isEmpty() ? QStringList() : QStringList{item});
    }

    void hoverBorderFollowsTheMouse_data() {
        QTest::addColumn<QList<int>>("moves"); // -1: the toolbar's background
        QTest::addColumn<QList<int>>("bordered");
        QTest::addColumn<int>("last");
        QTest::newRow("none") << QList<int>{} << QList<int>{} << 0;
        QTest::newRow("background at start") << QList<int>{-1} << QList<int>{} << 0;
        QTest::newRow("over 2") << QList<int>{2} << QList<int>{2} << 2;
        QTest::newRow("within 2") << QList<int>{2, 2, 2} << QList<int>{2} << 2;
        QTest::newRow("0 across the gap to 1") << QList<int>{0, -1, 1} << QList<int>{1} << 1;
        QTest::newRow("0 straight to 5") << QList<int>{0, 5} << QList<int>{5} << 5;
        QTest::newRow("then background") << QList<int>{6, -1} << QList<int>{} << 6;
        QTest::newRow("back after background") << QList<int>{6, -1, 6} << QList<int>{6} << 6;
    }
    void hoverBorderFollowsTheMouse() {
        QFETCH(QList<int>, moves);
        QFETCH(QList<int>, bordered);
        QFETCH(int, last);
        TestRig rig;
        frmMain form(rig.m);
        for (int move : moves)
            move < 0 ? form.picToolBar_MouseMove() : form.imgTool_MouseMove(move);
        QList<int> shown;
        for (ToolButton *button : form.imgTool) {
            if (button && button->hasBorder())
                shown << button->index();
        }
        QCOMPARE(shown, bordered);
        QCOMPARE(int(form.LastHoverTool), last);
    }

    void realMouseMovesDriveTheHover() {
        TestRig rig;
        frmMain form(rig.m);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mouseMove(form.imgTool[0]);
        QTRY_VERIFY(form.imgTool[0]->hasBorder());
        const QPoint gap(tw(45 + 450) + 1, tw(200));
        QTest::mouseMove(form.picToolBar, gap);
        QTRY_VERIFY(!form.imgTool[0]->hasBorder());
        QTest::mouseMove(form.imgTool[1]);
        QTRY_VERIFY(form.imgTool[1]->hasBorder());
        QCOMPARE(form.LastHoverTool, qint16(1));
        // Leaving downwards into the frames keeps the border.
        QTest::mouseMove(form.txtMain);
        QTest::qWait(20);
        QVERIFY(form.imgTool[1]->hasBorder());
    }

    void viewSwitchingTicksThenShows_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("pictures");
        QTest::newRow("start") << QStringList{} << false;
        QTest::newRow("pictures") << QStringList{"img"} << true;
        QTest::newRow("pictures twice") << QStringList{"img", "img"} << true;
        QTest::newRow("and back") << QStringList{"img", "txt"} << false;
        QTest::newRow("text again") << QStringList{"txt", "txt"} << false;
    }
    void viewSwitchingTicksThenShows() {
        QFETCH(QStringList, steps);
        QFETCH(bool, pictures);
        TestRig rig;
        frmMain form(rig.m);
        // The tick changes while the frames still show the view before.
        QList<bool> frameAtTick;
        connect(form.menuVImg, &QAction::toggled, this,
                [&](bool) { frameAtTick << form.fmImg->isVisibleTo(&form); });
        for (const QString &step : steps)
            step == u"img" ? form.menuVImg->trigger() : form.menuVTxt->trigger();
        QCOMPARE(form.menuVImg->isChecked(), pictures);
        QCOMPARE(form.menuVTxt->isChecked(), !pictures);
        QCOMPARE(form.fmImg->isVisibleTo(&form), pictures);
        QCOMPARE(form.fmTxt->isVisibleTo(&form), !pictures);
        if (!frameAtTick.isEmpty())
            QCOMPARE(frameAtTick.first(), false);
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
