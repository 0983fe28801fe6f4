// SPDX-License-Identifier: MIT
#include "ui/mainwindow.h"

#include "core/entrystore.h"
#include "core/messages.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/windowsystem.h"
#include "ui/appearancedialog.h"
#include "ui/artwork.h"
#include "ui/help.h"
#include "ui/optionsdialog.h"
#include "ui/pictureframe.h"
#include "ui/pictureview.h"
#include "ui/texteditor.h"
#include "ui/textview.h"
#include "ui/trayicon.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

const QString Ready = QStringLiteral("就绪");
const QString Capturing = QStringLiteral("正在从剪贴板复制数据...");
const QString Saving = QStringLiteral("数据正在自动存盘...");
const QString Clearing = QStringLiteral("正在缓存清除数据...");

} // namespace

MainWindow::MainWindow(EntryStore &store, SettingsStore &settings, Platform platform,
                       QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint)
    , menus(this)
    , fmTxt(new TextView(store))
    , fmImg(new PictureView(store.pictures(), menus.menuPopImg))
    , lTip(new QLabel(Ready))
    , m_store(store)
    , m_settings(settings)
    , m_platform(platform)
    , m_help(new HelpCommands(platform.launcher, platform.dialogs, store.folders().programFolder(),
                              this)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Orlo粘贴板2.0版"));
    setWindowIcon(windowIconArt());

    // The two views take the same place; one of them is shown.
    auto *client = new QWidget(this);
    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->addWidget(fmTxt);
    layout->addWidget(fmImg);
    fmImg->hide();
    setCentralWidget(client);
    lTip->setObjectName(QStringLiteral("lTip"));
    statusBar()->addWidget(lTip, 1);

    // The first size is the design's; the window grows from there, the lists
    // keeping their width.
    resize(551, 443 + menuBar()->sizeHint().height());
    setMinimumSize(size());
    connectMenus();
    // Told once the capture that failed is over, not in its middle.
    connect(&store, &EntryStore::failed, this, &MainWindow::tell, Qt::QueuedConnection);
}

MainWindow::~MainWindow() = default;

void MainWindow::connectMenus() {
    const MainMenus &m = menus;
    const std::pair<QAction *, void (MainWindow::*)()> items[] = {
        {m.menuSaveThisTxt, &MainWindow::menuSaveThisTxt_Click},
        {m.menuSaveAllTxt, &MainWindow::menuSaveAllTxt_Click},
        {m.menuSaveThisImg, &MainWindow::menuSaveThisImg_Click},
        {m.menuSaveAllImg, &MainWindow::menuSaveAllImg_Click},
        {m.menuSave, &MainWindow::menuSave_Click},
        {m.menuCopyThis, &MainWindow::menuCopyThis_Click},
        {m.menuDelAllTxt, &MainWindow::menuDelAllTxt_Click},
        {m.menuDelAllImg, &MainWindow::menuDelAllImg_Click},
        {m.menuClearData, &MainWindow::menuClearData_Click},
        {m.menuClearCB, &MainWindow::menuClearCB_Click},
        {m.menuExit, &MainWindow::quitRequested},
        {m.menuVTxt, &MainWindow::menuVTxt_Click},
        {m.menuVImg, &MainWindow::menuVImg_Click},
        {m.menuSkin, &MainWindow::menuSkin_Click},
        {m.menuClearICP, &MainWindow::menuClearICP_Click},
        {m.menuOption, &MainWindow::menuOption_Click},
        {m.menuImgCopy, &MainWindow::menuImgCopy_Click},
        {m.menuSaveImg, &MainWindow::menuSaveThisImg_Click},
    };
    for (const auto &[action, slot] : items)
        connect(action, &QAction::triggered, this, slot);
    connect(m.menuUser, &QAction::triggered, m_help, &HelpCommands::menuUser_Click);
    connect(m.menuDownload, &QAction::triggered, m_help, &HelpCommands::menuDownload_Click);
    connect(m.menuAbout, &QAction::triggered, m_help, &HelpCommands::menuAbout_Click);
    // A mode chosen in the menu bar ticks the picture menu too, not the other way.
    connect(m.menuShowAll, &QAction::triggered, m.popupShowAll, &QAction::trigger);
    connect(m.menuShowSize, &QAction::triggered, m.popupShowSize, &QAction::trigger);
    connect(m.popupShowAll, &QAction::triggered, fmImg, &PictureView::menuShowA_Click);
    connect(m.popupShowSize, &QAction::triggered, fmImg, &PictureView::menuShowB_Click);
}

void MainWindow::showStatus(const QString &text) {
    lTip->setText(text);
}

void MainWindow::showCapturing() {
    showStatus(Capturing);
}

void MainWindow::showReady() {
    showStatus(Ready);
}

void MainWindow::tell(const UserMessage &message) {
    m_platform.dialogs.message(message.icon, message.text);
}

void MainWindow::showFromTray() {
    // Where minimising is not told, only the window with the focus is
    // surely in view.
    if (isVisible() && !isMinimized() && (tellsOfMinimising() || isActiveWindow()))
        return;
    bringToFront();
}

void MainWindow::bringToFront() {
    // A Wayland compositor may have minimised the window without a word;
    // mapped anew, it comes back on every compositor.
    if (isVisible() && !tellsOfMinimising() && !isActiveWindow())
        hide();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void MainWindow::closeEvent(QCloseEvent *event) {
    emit quitRequested();
    event->accept();
}

void MainWindow::changeEvent(QEvent *event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !(windowState() & Qt::WindowMinimized))
        return;
    // Hidden only while the icon can bring the window back: a notification
    // area may come or go while the program runs. Otherwise the window stays
    // minimised on the taskbar.
    if (m_tray && m_tray->isShown())
        hide();
}

void MainWindow::menuSaveThisTxt_Click() {
    if (const Result saved = m_store.saveText(m_store.texts().current()); !saved.ok())
        tell(messageFor(saved));
}

void MainWindow::menuSaveAllTxt_Click() {
    showStatus(Saving);
    if (const Result saved = m_store.saveAllText(); !saved.ok())
        tell(messageFor(saved));
    showStatus(Ready);
}

void MainWindow::menuSaveThisImg_Click() {
    if (const ImageSaveResult copied = m_store.savePicture(m_store.pictures().current());
        !copied.ok())
        tell(messageFor(copied));
}

bool MainWindow::saveAllPictures() {
    showStatus(Saving);
    const ImageSaveResult copied = m_store.saveAllPictures();
    // One message for the whole list, naming what stays and what is gone.
    if (!copied.ok())
        tell(messageFor(copied));
    showStatus(Ready);
    return copied.ok();
}

void MainWindow::menuSaveAllImg_Click() {
    saveAllPictures();
}

void MainWindow::menuSave_Click() {
    menuSaveAllTxt_Click();
    // The text is already empty when it was saved. Deleting it again here
    // could take texts captured while a message box was open, unsaved.
    if (saveAllPictures()) {
        showStatus(Clearing);
        m_store.deleteTempPictures();
        showStatus(Ready);
    }
}

void MainWindow::menuCopyThis_Click() {
    // The view shown is the frame not hidden, also while the window itself is.
    if (fmImg->isVisibleTo(this))
        menuImgCopy_Click();
    else
        m_platform.clipboard.setText(fmTxt->shownText());
}

void MainWindow::menuImgCopy_Click() {
    if (const QImage shown = fmImg->shownPicture(); !shown.isNull())
        m_platform.clipboard.setImage(shown);
}

void MainWindow::menuDelAllTxt_Click() {
    m_store.deleteAllText();
}

void MainWindow::menuDelAllImg_Click() {
    m_store.deleteAllPictures();
}

void MainWindow::menuClearData_Click() {
    showStatus(Clearing);
    menuDelAllTxt_Click();
    menuDelAllImg_Click();
    showStatus(Ready);
}

void MainWindow::menuClearCB_Click() {
    m_platform.clipboard.clear();
}

void MainWindow::menuVTxt_Click() {
    fmTxt->setVisible(true);
    fmImg->setVisible(false);
}

void MainWindow::menuVImg_Click() {
    fmTxt->setVisible(false);
    fmImg->setVisible(true);
}

void MainWindow::menuSkin_Click() {
    AppearanceDialog dialog(fmTxt->txtMain, this);
    dialog.exec();
}

void MainWindow::menuClearICP_Click() {
    const QString signature = m_platform.dialogs.input(QStringLiteral("请输入要清除的文字："),
                                                       QStringLiteral("清除签名"));
    if (signature.isEmpty())
        return;
    showStatus(QStringLiteral("正在清除指定的文本，请稍候……"));
    fmTxt->removeSignature(signature);
    showStatus(Ready);
}

void MainWindow::menuOption_Click() {
    OptionsDialog dialog(m_store.options(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const Options chosen = dialog.chosen();
    const Result stored = writeOptions(m_settings, chosen);
    // The policy in force stays the one read at start until the next start.
    if (chosen.autoSave)
        m_store.setFolders(chosen);
    if (!stored.ok())
        tell(messageFor(stored));
}
