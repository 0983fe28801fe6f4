// SPDX-License-Identifier: MIT
#include "ui/frmmain.h"

#include "core/entrystore.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "ui/artwork.h"
#include "ui/frmoptions.h"
#include "ui/frmsetskin.h"
#include "ui/help.h"
#include "ui/picturebox.h"
#include "ui/picturepane.h"
#include "ui/textbox.h"
#include "ui/textpane.h"
#include "ui/trayicon.h"
#include "ui/twips.h"

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
const QString Saving = QStringLiteral("数据正在自动存盘...");
const QString Clearing = QStringLiteral("正在缓存清除数据...");

} // namespace

frmMain::frmMain(EntryStore &store, SettingsStore &settings, Platform platform, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint)
    , menus(this)
    , fmTxt(new TextPane(store))
    , fmImg(new PicturePane(store.pictures(), menus.menuPopImg))
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
    layout->setContentsMargins(tw(30), 0, tw(30), 0);
    layout->addWidget(fmTxt);
    layout->addWidget(fmImg);
    fmImg->hide();
    setCentralWidget(client);
    lTip->setObjectName(QStringLiteral("lTip"));
    statusBar()->addWidget(lTip, 1);

    // The first size is the design's; the window grows from there, the lists
    // keeping their width.
    resize(tw(8265), tw(6645) + menuBar()->sizeHint().height());
    setMinimumSize(size());
    connectMenus();
    connect(&store, &EntryStore::pictureWritten, fmImg, &PicturePane::showCaptured);
    // Told once the capture that failed is over, not in its middle.
    connect(&store, &EntryStore::failed, this, &frmMain::showSystemError, Qt::QueuedConnection);
}

frmMain::~frmMain() = default;

void frmMain::connectMenus() {
    const MainMenus &m = menus;
    const std::pair<QAction *, void (frmMain::*)()> items[] = {
        {m.menuSaveThisTxt, &frmMain::menuSaveThisTxt_Click},
        {m.menuSaveAllTxt, &frmMain::menuSaveAllTxt_Click},
        {m.menuSaveThisImg, &frmMain::menuSaveThisImg_Click},
        {m.menuSaveAllImg, &frmMain::menuSaveAllImg_Click},
        {m.menuSave, &frmMain::menuSave_Click},
        {m.menuCopyThis, &frmMain::menuCopyThis_Click},
        {m.menuDelAllTxt, &frmMain::menuDelAllTxt_Click},
        {m.menuDelAllImg, &frmMain::menuDelAllImg_Click},
        {m.menuClearData, &frmMain::menuClearData_Click},
        {m.menuClearCB, &frmMain::menuClearCB_Click},
        {m.menuExit, &frmMain::quitRequested},
        {m.menuVTxt, &frmMain::menuVTxt_Click},
        {m.menuVImg, &frmMain::menuVImg_Click},
        {m.menuSkin, &frmMain::menuSkin_Click},
        {m.menuClearICP, &frmMain::menuClearICP_Click},
        {m.menuOption, &frmMain::menuOption_Click},
        {m.menuImgCopy, &frmMain::menuImgCopy_Click},
        {m.menuSaveImg, &frmMain::menuSaveThisImg_Click},
    };
    for (const auto &[action, slot] : items)
        connect(action, &QAction::triggered, this, slot);
    connect(m.menuUser, &QAction::triggered, m_help, &HelpCommands::menuUser_Click);
    connect(m.menuDownload, &QAction::triggered, m_help, &HelpCommands::menuDownload_Click);
    connect(m.menuAbout, &QAction::triggered, m_help, &HelpCommands::menuAbout_Click);
    // A mode chosen in the menu bar ticks the picture menu too, not the other way.
    connect(m.menuShowAll, &QAction::triggered, m.menuShowA, &QAction::trigger);
    connect(m.menuShowSize, &QAction::triggered, m.menuShowB, &QAction::trigger);
    connect(m.menuShowA, &QAction::triggered, fmImg, &PicturePane::menuShowA_Click);
    connect(m.menuShowB, &QAction::triggered, fmImg, &PicturePane::menuShowB_Click);
}

void frmMain::showStatus(const QString &text) {
    lTip->setText(text);
    // A long command would otherwise keep the old text on screen until it ends.
    if (lTip->isVisible())
        lTip->repaint();
}

void frmMain::showSystemError(const QString &description) {
    m_platform.dialogs.message(MessageIcon::Critical, QStringLiteral("系统错误!") + description);
}

void frmMain::showFromTray() {
    if (isVisible())
        return;
    setWindowState(windowState() &
                   ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    show();
    raise();
    activateWindow();
}

void frmMain::closeEvent(QCloseEvent *event) {
    emit quitRequested();
    event->accept();
}

void frmMain::changeEvent(QEvent *event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !(windowState() & Qt::WindowMinimized))
        return;
    // Hidden only while the icon can bring the window back: a notification
    // area may come or go while the program runs. Otherwise the window stays
    // minimised on the taskbar.
    if (m_tray && m_tray->isShown())
        hide();
}

void frmMain::menuSaveThisTxt_Click() {
    const SaveResult saved = m_store.saveText(fmTxt->lstTxt->currentIndex().row());
    if (!saved.ok)
        showSystemError(saveFailureDescription(m_store.options().txtPath, saved.reason));
}

void frmMain::menuSaveAllTxt_Click() {
    showStatus(Saving);
    const SaveResult saved = m_store.saveAllText();
    if (!saved.ok)
        showSystemError(saveFailureDescription(m_store.options().txtPath, saved.reason));
    showStatus(Ready);
}

void frmMain::menuSaveThisImg_Click() {
    const ImageSaveResult copied = m_store.savePicture(fmImg->lstImg->currentIndex().row());
    if (!copied.ok())
        showSystemError(copied.problem);
}

bool frmMain::saveAllPictures() {
    showStatus(Saving);
    const ImageSaveResult copied = m_store.saveAllPictures();
    // One message for the whole list, naming what stays and what is gone.
    if (!copied.ok())
        showSystemError(copied.problem);
    showStatus(Ready);
    return copied.ok();
}

void frmMain::menuSaveAllImg_Click() {
    saveAllPictures();
}

void frmMain::menuSave_Click() {
    menuSaveAllTxt_Click();
    // The text is already empty when it was saved. Deleting it again here
    // could take texts captured while a message box was open, unsaved.
    if (saveAllPictures()) {
        showStatus(Clearing);
        m_store.deleteTempPictures();
        showStatus(Ready);
    }
}

void frmMain::menuCopyThis_Click() {
    // The view shown is the frame not hidden, also while the window itself is.
    if (fmImg->isVisibleTo(this))
        menuImgCopy_Click();
    else
        m_platform.clipboard.setText(fmTxt->shownText());
}

void frmMain::menuImgCopy_Click() {
    if (!fmImg->imgMain->picture().isNull())
        m_platform.clipboard.setImage(fmImg->imgMain->picture());
}

void frmMain::menuDelAllTxt_Click() {
    m_store.deleteAllText();
}

void frmMain::menuDelAllImg_Click() {
    m_store.deleteAllPictures();
}

void frmMain::menuClearData_Click() {
    showStatus(Clearing);
    menuDelAllTxt_Click();
    menuDelAllImg_Click();
    showStatus(Ready);
}

void frmMain::menuClearCB_Click() {
    m_platform.clipboard.clear();
}

void frmMain::menuVTxt_Click() {
    fmTxt->setVisible(true);
    fmImg->setVisible(false);
}

void frmMain::menuVImg_Click() {
    fmTxt->setVisible(false);
    fmImg->setVisible(true);
}

void frmMain::menuSkin_Click() {
    frmSetSkin dialog(fmTxt->txtMain, this);
    dialog.exec();
}

void frmMain::menuClearICP_Click() {
    const QString signature = m_platform.dialogs.input(QStringLiteral("请输入要清除的文字："),
                                                       QStringLiteral("清除签名"));
    if (signature.isEmpty())
        return;
    showStatus(QStringLiteral("正在清除指定的文本，请稍候……"));
    fmTxt->removeSignature(signature);
    showStatus(Ready);
}

void frmMain::menuOption_Click() {
    frmOptions dialog(m_store.options(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const Options chosen = dialog.chosen();
    const QStringList failed = writeOptions(m_settings, chosen);
    // The policy in force stays the one read at start until the next start.
    if (chosen.autoSave)
        m_store.setFolders(chosen);
    if (!failed.isEmpty())
        showSystemError(
            saveFailureDescription(m_settings.location(), QStringLiteral("设置无法保存：") +
                                                              failed.join(QStringLiteral(", "))));
}
