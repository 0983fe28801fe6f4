// SPDX-License-Identifier: MIT
#include "ui/mainmenus.h"

#include "ui/artwork.h"

#include <QActionGroup>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace {

QMenu *addMenu(QMenuBar *bar, const char *name, const char16_t *caption) {
    QMenu *menu = bar->addMenu(QString::fromUtf16(caption));
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction *addItem(QMenu *menu, const char *name, const char16_t *caption,
                 const QKeySequence &shortcut = {}) {
    QAction *action = menu->addAction(QString::fromUtf16(caption));
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

/// Checkable items ticking one another; the first starts ticked.
void exclusive(QObject *owner, std::initializer_list<QAction *> actions) {
    auto *group = new QActionGroup(owner);
    for (QAction *action : actions) {
        action->setCheckable(true);
        group->addAction(action);
    }
    (*actions.begin())->setChecked(true);
}

/// One toolbar button: its picture, its tip, the item it runs.
struct Tool {
    int picture;
    const char16_t *tip;
    QAction *MainMenus::*item;
};

constexpr Tool Tools[] = {
    {0, u"保存所有数据,包括文字和图片", &MainMenus::menuSave},
    {1, u"删除所有数据,包括文字和图片", &MainMenus::menuClearData},
    {2, u"察看文本数据", &MainMenus::menuVTxt},
    {3, u"察看图像数据", &MainMenus::menuVImg},
    {5, u"文本界面设置", &MainMenus::menuSkin},
    {6, u"选项", &MainMenus::menuOption},
    {7, u"使用说明", &MainMenus::menuUser},
    {8, u"关于", &MainMenus::menuAbout},
};

} // namespace

MainMenus::MainMenus(QMainWindow *window) {
    QMenuBar *bar = window->menuBar();
    menuF = addMenu(bar, "menuF", u"数据(&D)");
    menuSaveThisTxt = addItem(menuF, "menuSaveThisTxt", u"保存本页文本");
    menuSaveAllTxt = addItem(menuF, "menuSaveAllTxt", u"保存所有文本");
    menuSaveThisImg = addItem(menuF, "menuSaveThisImg", u"保存本页图片");
    menuSaveAllImg = addItem(menuF, "menuSaveAllImg", u"保存所有图片");
    menuSave = addItem(menuF, "menuSave", u"保存所有文本和图片", Qt::CTRL | Qt::Key_S);
    menuCopyThis = addItem(menuF, "menuCopyThis", u"复制到当前页到剪贴板");
    menuF->addSeparator();
    menuDelAllTxt = addItem(menuF, "menuDelAllTxt", u"删除所有文本");
    menuDelAllImg = addItem(menuF, "menuDelAllImg", u"删除所有图片");
    menuClearData = addItem(menuF, "menuClearData", u"删除所有文本和图片", Qt::CTRL | Qt::Key_D);
    menuClearCB = addItem(menuF, "menuClearCB", u"清空剪贴板");
    menuF->addSeparator();
    menuDetectClpBd = addItem(menuF, "menuDetectClpBd", u"开始监控剪贴板", Qt::CTRL | Qt::Key_R);
    menuDetectClpBd->setCheckable(true);
    menuDetectClpBd->setChecked(true);
    menuF->addSeparator();
    menuExit = addItem(menuF, "menuExit", u"退出", Qt::CTRL | Qt::Key_Q);

    menuV = addMenu(bar, "menuV", u"视图(&V)");
    menuVTxt = addItem(menuV, "menuVTxt", u"文本数据");
    menuVImg = addItem(menuV, "menuVImg", u"图片数据");
    exclusive(window, {menuVTxt, menuVImg});

    menuS = addMenu(bar, "menuS", u"设置(&S)");
    menuSkin = addItem(menuS, "menuSkin", u"文本管理界面设置...");
    menuClearICP = addItem(menuS, "menuClearICP", u"清除网站文本签名...", Qt::CTRL | Qt::Key_F);
    menuS->addSeparator();
    menuShowSize = addItem(menuS, "menuShowSize", u"以图片原始大小显示");
    menuShowAll = addItem(menuS, "menuShowAll", u"缩放图像以显示全部");
    exclusive(window, {menuShowSize, menuShowAll});
    menuS->addSeparator();
    menuOption = addItem(menuS, "menuOption", u"选项...", Qt::CTRL | Qt::Key_O);

    menuH = addMenu(bar, "menuH", u"帮助(&H)");
    menuUser = addItem(menuH, "menuUser", u"使用说明书...", Qt::Key_F1);
    menuDownload = addItem(menuH, "menuDownload", u"官方论坛");
    menuAbout = addItem(menuH, "menuAbout", u"关于Orlo粘贴板...", Qt::Key_F2);

    menuPopImg = new QMenu(window);
    menuPopImg->setObjectName(QStringLiteral("menuPopImg"));
    popupShowSize = addItem(menuPopImg, "menuShowB", u"以图片原始大小显示");
    popupShowAll = addItem(menuPopImg, "menuShowA", u"缩放图像以显示全部");
    exclusive(window, {popupShowSize, popupShowAll});
    menuPopImg->addSeparator();
    menuImgCopy = addItem(menuPopImg, "menuImgCopy", u"复制本页图片");
    menuSaveImg = addItem(menuPopImg, "menuSaveImg", u"保存本页图片");

    picToolBar = new QToolBar(window);
    picToolBar->setObjectName(QStringLiteral("picToolBar"));
    picToolBar->setMovable(false);
    picToolBar->setFloatable(false);
    picToolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    picToolBar->setIconSize(QSize(24, 24));
    window->addToolBar(picToolBar);
    // Its button for the tools that do not fit.
    for (QToolButton *more : picToolBar->findChildren<QToolButton *>())
        more->setAccessibleName(QStringLiteral("更多工具"));
    for (const Tool &tool : Tools) {
        // Pairs stand apart: save and delete, the two views, the settings, help.
        if (tool.picture == 2 || tool.picture == 5 || tool.picture == 7)
            picToolBar->addSeparator();
        // A button of its own, so that the view buttons show no tick.
        QAction *button =
            picToolBar->addAction(QIcon(toolPicture(tool.picture)), QString::fromUtf16(tool.tip));
        button->setObjectName(QStringLiteral("imgTool%1").arg(tool.picture));
        QAction *item = this->*tool.item;
        QObject::connect(button, &QAction::triggered, item, &QAction::trigger);
    }
}
