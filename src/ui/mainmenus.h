// SPDX-License-Identifier: MIT
#pragma once

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

/// The main window's menu bar, its picture menu and its toolbar. Items are
/// named after the menus they stand in; their commands are connected by
/// the window.
///
/// Exclusive choices tick one another: the two views, and the two picture
/// modes, once in the menu bar and once in the picture menu. A choice in
/// the menu bar ticks both menus; a choice in the picture menu only its own.
struct MainMenus {
    explicit MainMenus(QMainWindow *window);

    // 数据(&D)
    QMenu *menuF;
    QAction *menuSaveThisTxt, *menuSaveAllTxt, *menuSaveThisImg, *menuSaveAllImg, *menuSave,
        *menuCopyThis, *menuDelAllTxt, *menuDelAllImg, *menuClearData, *menuClearCB,
        *menuDetectClpBd, *menuExit;
    // 视图(&V)
    QMenu *menuV;
    QAction *menuVTxt, *menuVImg;
    // 设置(&S)
    QMenu *menuS;
    QAction *menuSkin, *menuClearICP, *menuShowSize, *menuShowAll, *menuOption;
    // 帮助(&H)
    QMenu *menuH;
    QAction *menuUser, *menuDownload, *menuAbout;
    /// The picture menu, opened over the picture; never in the menu bar. Its
    /// display modes (menuShowB, menuShowA) tick apart from the menu bar's.
    QMenu *menuPopImg;
    QAction *popupShowSize, *popupShowAll, *menuImgCopy, *menuSaveImg;

    /// The toolbar (picToolBar): pictures that run menu items, in pairs.
    QToolBar *picToolBar;
};
