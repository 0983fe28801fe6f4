// SPDX-License-Identifier: MIT
#include "ui/frmmain.h"

#include <QMenuBar>

namespace {

using Handler = void (frmMain::*)();

/// One menu item. A ticked or tickable item keeps the tick its handler
/// gives it: the toolkit's own toggle on a click is undone first.
QAction *addItem(frmMain *form, QMenu *menu, const char *name, const char16_t *caption,
                 Handler handler, const QKeySequence &shortcut = {}, bool checkable = false,
                 bool ticked = false) {
    auto *action = menu->addAction(QString::fromUtf16(caption));
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    action->setCheckable(checkable);
    action->setChecked(ticked);
    QObject::connect(action, &QAction::triggered, form, [form, action, handler] {
        if (action->isCheckable())
            action->setChecked(!action->isChecked());
        (form->*handler)();
    });
    return action;
}

QAction *addSeparator(QMenu *menu, const char *name) {
    QAction *line = menu->addSeparator();
    line->setObjectName(QString::fromLatin1(name));
    return line;
}

QMenu *addMenu(QMenuBar *bar, const char *name, const char16_t *caption) {
    QMenu *menu = bar->addMenu(QString::fromUtf16(caption));
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

} // namespace

void frmMain::createMenus() {
    QMenuBar *bar = menuBar();

    menuF = addMenu(bar, "menuF", u"数据(&D)");
    menuSaveThisTxt =
        addItem(this, menuF, "menuSaveThisTxt", u"保存本页文本", &frmMain::menuSaveThisTxt_Click);
    menuSaveAllTxt =
        addItem(this, menuF, "menuSaveAllTxt", u"保存所有文本", &frmMain::menuSaveAllTxt_Click);
    menuSaveThisImg =
        addItem(this, menuF, "menuSaveThisImg", u"保存本页图片", &frmMain::menuSaveThisImg_Click);
    menuSaveAllImg =
        addItem(this, menuF, "menuSaveAllImg", u"保存所有图片", &frmMain::menuSaveAllImg_Click);
    menuSave = addItem(this, menuF, "menuSave", u"保存所有文本和图片", &frmMain::menuSave_Click,
                       QKeySequence(Qt::CTRL | Qt::Key_S));
    menuCopyThis =
        addItem(this, menuF, "menuCopyThis", u"复制到当前页到剪贴板", &frmMain::menuCopyThis_Click);
    menuLIne13 = addSeparator(menuF, "menuLIne13");
    menuDelAllTxt =
        addItem(this, menuF, "menuDelAllTxt", u"删除所有文本", &frmMain::menuDelAllTxt_Click);
    menuDelAllImg =
        addItem(this, menuF, "menuDelAllImg", u"删除所有图片", &frmMain::menuDelAllImg_Click);
    menuClearData = addItem(this, menuF, "menuClearData", u"删除所有文本和图片",
                            &frmMain::menuClearData_Click, QKeySequence(Qt::CTRL | Qt::Key_D));
    menuClearCB = addItem(this, menuF, "menuClearCB", u"清空剪贴板", &frmMain::menuClearCB_Click);
    menuLIne1 = addSeparator(menuF, "menuLIne1");
    menuDetectClpBd =
        addItem(this, menuF, "menuDetectClpBd", u"开始监控剪贴板", &frmMain::menuDetectClpBd_Click,
                QKeySequence(Qt::CTRL | Qt::Key_R), true, true);
    menuLine222 = addSeparator(menuF, "menuLine222");
    menuExit = addItem(this, menuF, "menuExit", u"退出", &frmMain::menuExit_Click,
                       QKeySequence(Qt::CTRL | Qt::Key_Q));

    menuV = addMenu(bar, "menuV", u"视图(&V)");
    menuVTxt =
        addItem(this, menuV, "menuVTxt", u"文本数据", &frmMain::menuVTxt_Click, {}, true, true);
    menuVImg = addItem(this, menuV, "menuVImg", u"图片数据", &frmMain::menuVImg_Click, {}, true);

    menuS = addMenu(bar, "menuS", u"设置(&S)");
    menuSkin = addItem(this, menuS, "menuSkin", u"文本管理界面设置...", &frmMain::menuSkin_Click);
    menuClearICP = addItem(this, menuS, "menuClearICP", u"清除网站文本签名...",
                           &frmMain::menuClearICP_Click, QKeySequence(Qt::CTRL | Qt::Key_F));
    memuLine11 = addSeparator(menuS, "memuLine11");
    menuShowSize = addItem(this, menuS, "menuShowSize", u"以图片原始大小显示",
                           &frmMain::menuShowSize_Click, {}, true, true);
    menuShowAll = addItem(this, menuS, "menuShowAll", u"缩放图像以显示全部",
                          &frmMain::menuShowAll_Click, {}, true);
    menuLine12 = addSeparator(menuS, "menuLine12");
    menuOption = addItem(this, menuS, "menuOption", u"选项...", &frmMain::menuOption_Click,
                         QKeySequence(Qt::CTRL | Qt::Key_O));

    menuH = addMenu(bar, "menuH", u"帮助(&H)");
    menuUser = addItem(this, menuH, "menuUser", u"使用说明书...", &frmMain::menuUser_Click,
                       QKeySequence(Qt::Key_F1));
    menuDownload = addItem(this, menuH, "menuDownload", u"官方论坛", &frmMain::menuDownload_Click);
    menuAbout = addItem(this, menuH, "menuAbout", u"关于Orlo粘贴板...", &frmMain::menuAbout_Click,
                        QKeySequence(Qt::Key_F2));

    // The picture context menu is a menu of the window but not of the menu bar.
    menuPopImg = new QMenu(this);
    menuPopImg->setObjectName(QStringLiteral("menuPopImg"));
    menuShowB = addItem(this, menuPopImg, "menuShowB", u"以图片原始大小显示",
                        &frmMain::menuShowB_Click, {}, true, true);
    menuShowA = addItem(this, menuPopImg, "menuShowA", u"缩放图像以显示全部",
                        &frmMain::menuShowA_Click, {}, true);
    menuLine3 = addSeparator(menuPopImg, "menuLine3");
    menuImgCopy =
        addItem(this, menuPopImg, "menuImgCopy", u"复制本页图片", &frmMain::menuImgCopy_Click);
    menuSaveImg =
        addItem(this, menuPopImg, "menuSaveImg", u"保存本页图片", &frmMain::menuSaveImg_Click);
}
