// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>
#include <array>
#include <memory>

class Module1;
class QAction;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QSystemTrayIcon;
class PictureBox;
class StretchImage;
class TextBox;
class ToolButton;

/// Clipboard-change and tray messages, as the dispatch function sees them.
namespace WinMsg {
constexpr quint32 DrawClipboard = 776;
constexpr quint32 ChangeCbChain = 781;
constexpr quint32 TrayIcon = 2025;
constexpr qintptr LButtonUp = 514;
constexpr qintptr RButtonUp = 517;
constexpr qintptr LButtonDblClk = 515;
constexpr qintptr MouseMove = 512;
} // namespace WinMsg

/// Twips to pixels (15 twips a pixel at 96 dpi).
constexpr int tw(int twips) {
    return twips / 15;
}

/// The main window: toolbar, text and picture views, menus, status line.
/// Its handlers are spread over the folders of the subsystems they belong to.
class frmMain final : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(Module1 &module, QWidget *parent = nullptr);
    ~frmMain() override;

    Module1 &m;

    // Controls.
    QWidget *picToolBar = nullptr;
    /// Toolbar buttons by index; there is no button 4.
    std::array<ToolButton *, 9> imgTool{};
    QGroupBox *fmTxt = nullptr;
    TextBox *txtMain = nullptr;
    QListWidget *lstTxt = nullptr;
    QGroupBox *fmImg = nullptr;
    QListWidget *lstImg = nullptr;
    PictureBox *imgMain = nullptr;
    StretchImage *imgBak = nullptr;
    QLabel *lTip = nullptr;

    // Menus, in the order of the menu bar.
    QMenu *menuF = nullptr;
    QAction *menuSaveThisTxt = nullptr, *menuSaveAllTxt = nullptr, *menuSaveThisImg = nullptr,
            *menuSaveAllImg = nullptr, *menuSave = nullptr, *menuCopyThis = nullptr,
            *menuLIne13 = nullptr, *menuDelAllTxt = nullptr, *menuDelAllImg = nullptr,
            *menuClearData = nullptr, *menuClearCB = nullptr, *menuLIne1 = nullptr,
            *menuDetectClpBd = nullptr, *menuLine222 = nullptr, *menuExit = nullptr;
    QMenu *menuV = nullptr;
    QAction *menuVTxt = nullptr, *menuVImg = nullptr;
    QMenu *menuS = nullptr;
    QAction *menuSkin = nullptr, *menuClearICP = nullptr, *memuLine11 = nullptr,
            *menuShowSize = nullptr, *menuShowAll = nullptr, *menuLine12 = nullptr,
            *menuOption = nullptr;
    QMenu *menuH = nullptr;
    QAction *menuUser = nullptr, *menuDownload = nullptr, *menuAbout = nullptr;
    /// The picture context menu; never in the menu bar.
    QMenu *menuPopImg = nullptr;
    QAction *menuShowB = nullptr, *menuShowA = nullptr, *menuLine3 = nullptr,
            *menuImgCopy = nullptr, *menuSaveImg = nullptr;

    // Form variables.
    qint16 LastHoverTool = 0;
    qint16 CurTextPage = 0;

    // Start-up and shutdown (app/startup.cpp).
    void Form_Load();
    void Form_Unload();
    void menuExit_Click();
    /// Set by Form_Unload: the program is ending.
    bool unloaded() const { return m_unloaded; }

    // Clipboard watcher (app/watcher.cpp).
    qintptr MainWndProc(quint32 message, quintptr wParam, qintptr lParam);
    void menuDetectClpBd_Click();

    // Tray icon (app/tray.cpp).
    void AddTrayIcon();
    void RemoveTrayIcon();
    void Form_Resize();
    QSystemTrayIcon *trayIcon() const { return m_tray.get(); }
    /// False when the desktop had no notification area at start.
    bool hasTray() const { return m_hasTray; }

    // Save and delete commands (store/commands.cpp).
    void menuSaveThisTxt_Click();
    void menuSaveAllTxt_Click();
    void menuSaveThisImg_Click();
    void menuSaveImg_Click();
    void menuSaveAllImg_Click();
    void menuSave_Click();
    void menuDelAllTxt_Click();
    void menuDelAllImg_Click();
    void menuClearData_Click();

    // Toolbar and view switching (ui/toolbar.cpp).
    void imgTool_Click(int index);
    void imgTool_MouseMove(int index);
    void picToolBar_MouseMove();
    void menuVTxt_Click();
    void menuVImg_Click();

    // Text browsing (ui/textbrowsing.cpp).
    void lstTxt_Click();
    /// The user changed txtMain's text: the current entry follows at once.
    void txtMain_Change();
    void menuCopyThis_Click();
    void menuClearCB_Click();

    // Picture browsing (ui/picturebrowsing.cpp).
    void lstImg_Click();
    void menuShowSize_Click();
    void menuShowAll_Click();
    void menuShowB_Click();
    void menuShowA_Click();
    void menuImgCopy_Click();
    void imgMain_MouseDown(Qt::MouseButton button, const QPoint &globalPos);

    // Signature removal (ui/clearsignature.cpp).
    void menuClearICP_Click();

    // Settings and help (settings/).
    void menuSkin_Click();
    void menuOption_Click();
    void menuUser_Click();
    void menuDownload_Click();
    void menuAbout_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void createControls();
    void createMenus();
    void createToolbar();
    void connectControls();

    std::unique_ptr<QSystemTrayIcon> m_tray;
    bool m_hasTray = false;
    bool m_unloaded = false;
};
