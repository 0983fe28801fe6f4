// SPDX-License-Identifier: MIT
// The main window: menus, toolbar and the two views.
#include "testrig.h"
#include "ui/frmmain.h"
#include "ui/textbox.h"
#include "ui/toolbar.h"

#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>

namespace {

/// The captions in order, each with its shortcut and "[x]" for a tick or
/// "[ ]" for an item that can take one.
QString describe(const QWidget *menu) {
    QStringList items;
    for (const QAction *item : menu->actions()) {
        const char *tick = item->isChecked() ? "[x]" : item->isCheckable() ? "[ ]" : "";
        const QString caption = item->isSeparator() ? QStringLiteral("-") : item->text();
        items << QStringLiteral("%1 %2 %3")
                     .arg(caption, item->shortcut().toString(), QString::fromLatin1(tick))
                     .simplified();
    }
    return items.join(QStringLiteral(", "));
}

} // namespace

class tst_MainWindow : public QObject {
    Q_OBJECT

private slots:
    void menusListTheirItems_data() {
        // Rows are named by the menu, "bar" for the menu bar.
        QTest::addColumn<QString>("items");
        QTest::newRow("bar") << "数据(&D), 视图(&V), 设置(&S), 帮助(&H)";
        QTest::newRow("menuF") << "保存本页文本, 保存所有文本, 保存本页图片, 保存所有图片, "
                                  "保存所有文本和图片 Ctrl+S, 复制到当前页到剪贴板, -, "
                                  "删除所有文本, 删除所有图片, 删除所有文本和图片 Ctrl+D, "
                                  "清空剪贴板, -, 开始监控剪贴板 Ctrl+R [x], -, 退出 Ctrl+Q";
        QTest::newRow("menuV") << "文本数据 [x], 图片数据 [ ]";
        QTest::newRow("menuS")
            << "文本管理界面设置..., 清除网站文本签名... Ctrl+F, -, "
               "以图片原始大小显示 [x], 缩放图像以显示全部 [ ], -, 选项... Ctrl+O";
        QTest::newRow("menuH") << "使用说明书... F1, 官方论坛, 关于Orlo粘贴板... F2";
        QTest::newRow("menuPopImg") << "以图片原始大小显示 [x], 缩放图像以显示全部 [ ], -, "
                                       "复制本页图片, 保存本页图片";
    }
    void menusListTheirItems() {
        QFETCH(QString, items);
        TestRig rig;
        frmMain form(rig.m);
        const QString menu = QString::fromUtf8(QTest::currentDataTag());
        const QWidget *found =
            menu == u"bar" ? static_cast<QWidget *>(form.menuBar()) : form.findChild<QMenu *>(menu);
        QVERIFY(found);
        QCOMPARE(describe(found), items);
    }

    void toolbarAndShortcutsRunTheirMenuItems() {
        TestRig rig;
        frmMain form(rig.m);
        QStringList runs; // the items run, their commands held back (some open dialogs)
        for (QAction *action : form.findChildren<QAction *>()) {
            if (action->objectName().startsWith(u"menu")) {
                QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
                connect(action, &QAction::triggered, this,
                        [&runs, action] { runs << action->objectName(); });
            }
        }
        for (int index : {-1, 4, 9})
            form.imgTool_Click(index);
        QStringList tips;
        for (ToolButton *button : form.imgTool) {
            if (button) {
                QTest::mouseClick(button, Qt::LeftButton);
                tips << QString::number(button->index()) + u' ' + button->toolTip();
            }
        }
        QCOMPARE(tips.join(QStringLiteral(", ")),
                 "0 保存所有数据,包括文字和图片, 1 删除所有数据,包括文字和图片, 2 察看文本数据, "
                 "3 察看图像数据, 5 文本界面设置, 6 选项, 7 使用说明, 8 关于");
        // Shortcuts work while the user types in the text view.
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(form.txtMain, Qt::Key_R, Qt::ControlModifier);
        QTest::keyClick(form.txtMain, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(runs, (QStringList{"menuSave", "menuClearData", "menuVTxt", "menuVImg", "menuSkin",
                                    "menuOption", "menuUser", "menuAbout", "menuDetectClpBd",
                                    "menuClearData"}));
    }

    void hoverBorderFollowsTheMouse() {
        TestRig rig;
        frmMain form(rig.m);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QPoint gap(tw(45 + 450) + 1, tw(200)); // between buttons 0 and 1
        // Where the mouse goes (-1: the toolbar's background), the button then
        // bordered, and LastHoverTool.
        const int steps[][3] = {{-1, -1, 0}, {0, 0, 0},   {-1, -1, 0}, {1, 1, 1},
                                {5, 5, 5},   {-1, -1, 5}, {5, 5, 5}};
        for (auto [move, bordered, last] : steps) {
            move < 0 ? QTest::mouseMove(form.picToolBar, gap)
                     : QTest::mouseMove(form.imgTool[move]);
            for (ToolButton *button : form.imgTool)
                QVERIFY(!button || button->hasBorder() == (button->index() == bordered));
            QCOMPARE(int(form.LastHoverTool), last);
        }
    }

    void viewSwitchingTicksAndShows() {
        TestRig rig;
        frmMain form(rig.m);
        for (QChar step : QStringLiteral("iitt")) { // pictures twice, then text twice
            const bool pictures = step == u'i';
            (pictures ? form.menuVImg : form.menuVTxt)->trigger();
            QCOMPARE(form.menuVImg->isChecked(), pictures);
            QCOMPARE(form.menuVTxt->isChecked(), !pictures);
            QCOMPARE(form.fmImg->isVisibleTo(&form), pictures);
            QCOMPARE(form.fmTxt->isVisibleTo(&form), !pictures);
        }
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
