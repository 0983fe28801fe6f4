// SPDX-License-Identifier: MIT
#include "ui/mainwindow.h"

#include "core/archive.h"
#include "core/entrystore.h"
#include "core/messages.h"
#include "core/search.h"
#include "platform/autostart.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "ui/archivepane.h"
#include "ui/artwork.h"
#include "ui/helpcommands.h"
#include "ui/optionsdialog.h"
#include "ui/pickmode.h"
#include "ui/pictureview.h"
#include "ui/searchfield.h"
#include "ui/statusline.h"
#include "ui/textview.h"
#include "ui/trayicon.h"

#include <QAction>
#include <QActionGroup>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString Capturing = QStringLiteral("正在从剪贴板复制数据...");
const QString Saving = QStringLiteral("数据正在自动存盘...");
const QString Clearing = QStringLiteral("正在缓存清除数据...");

} // namespace

MainWindow::MainWindow(EntryStore &store, SettingsStore &settings, Platform platform,
                       QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint)
    , m_menus(this)
    , m_texts(new TextView(store))
    , m_pictures(new PictureView(store.pictures(), m_menus.menuPopImg))
    , m_status(new StatusLine)
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
    layout->addWidget(m_texts);
    layout->addWidget(m_pictures);
    m_pictures->hide();
    setCentralWidget(client);
    statusBar()->addWidget(m_status, 1);

    // The first size is the design's; the window grows from there, the lists
    // keeping their width.
    resize(551, 443 + menuBar()->sizeHint().height());
    setMinimumSize(size());
    connectMenus();

    // Search: a field of the toolbar, reached with Ctrl+E (Ctrl+F removes a
    // signature). Deleting everything never fires from it.
    m_search = new SearchField({m_menus.menuClearData->shortcut()}, this);
    m_search->setMaximumWidth(240);
    m_menus.picToolBar->addSeparator();
    m_menus.picToolBar->addWidget(m_search);
    auto *find = new QAction(this);
    find->setObjectName(QStringLiteral("menuSearch"));
    find->setShortcut(Qt::CTRL | Qt::Key_E);
    addAction(find);
    connect(find, &QAction::triggered, m_search, [this] {
        m_search->setFocus();
        m_search->selectAll();
    });
    connect(m_search, &SearchField::textChanged, this, &MainWindow::search);
    connect(m_search, &SearchField::nextRequested, this, &MainWindow::showNextMatch);
    m_pick =
        new PickMode(this, m_search, {m_texts, m_pictures, m_menus.menuVTxt, m_menus.menuVImg});
    connect(m_pick, &PickMode::picked, this, &MainWindow::copyShownEntry);
    // Put away at once, as minimising to the tray leaves it: asking the window
    // manager to minimise a window about to be hidden would race the hiding.
    connect(m_pick, &PickMode::putAwayRequested, this, [this] {
        if (m_tray && m_tray->isShown())
            hideToTray();
        else
            setWindowState(windowState() | Qt::WindowMinimized);
    });
    // A capture or words read change what a search keeps.
    connect(m_texts, &EntryPane::listedChanged, this, &MainWindow::showFound);
    connect(m_pictures, &EntryPane::listedChanged, this, &MainWindow::showFound);
    // A notice has been seen once the user gives a command.
    for (QAction *action : menuBar()->findChildren<QAction *>())
        connect(action, &QAction::triggered, m_status, &StatusLine::commandRan);
    // Told once the capture that failed is over, not in its middle.
    connect(&store, &EntryStore::failed, this, &MainWindow::tell, Qt::QueuedConnection);
}

MainWindow::~MainWindow() = default;

void MainWindow::setArchive(Archive *archive) {
    m_archive = archive;
    m_saved = new ArchivePane(*archive, m_platform.clipboard, m_platform.launcher);
    centralWidget()->layout()->addWidget(m_saved);
    m_saved->hide();
    auto *view = m_menus.menuV->addAction(QStringLiteral("已保存(&A)"));
    view->setObjectName(QStringLiteral("menuVSaved"));
    view->setCheckable(true);
    if (QActionGroup *views = m_menus.menuVTxt->actionGroup())
        views->addAction(view);
    connect(view, &QAction::triggered, this, [this] {
        m_texts->hide();
        m_pictures->hide();
        m_saved->show();
    });
    for (QAction *other : {m_menus.menuVTxt, m_menus.menuVImg})
        connect(other, &QAction::triggered, m_saved, &QWidget::hide);
    connect(m_saved, &ArchivePane::listedChanged, this, &MainWindow::showFound);
    connect(archive, &Archive::indexingChanged, this, &MainWindow::showFound);
    // Found again as the index grows, unless the user went past the first matches.
    connect(archive, &Archive::changed, this, [this] {
        const SearchWords words(m_search->text());
        if (!words.isEmpty() && m_saved->listed() <= Archive::Page)
            m_archive->search(words);
    });
    archive->setFolders(m_store.options().txtPath, m_store.options().imgPath);
}

void MainWindow::connectMenus() {
    const MainMenus &m = m_menus;
    const std::pair<QAction *, void (MainWindow::*)()> items[] = {
        {m.menuSaveThisTxt, &MainWindow::saveThisText},
        {m.menuSaveAllTxt, &MainWindow::saveAllTexts},
        {m.menuSaveThisImg, &MainWindow::saveThisPicture},
        {m.menuSave, &MainWindow::saveAll},
        {m.menuCopyThis, &MainWindow::copyShownEntry},
        {m.menuDelAllTxt, &MainWindow::deleteAllTexts},
        {m.menuDelAllImg, &MainWindow::deleteAllPictures},
        {m.menuClearData, &MainWindow::deleteAll},
        {m.menuClearCB, &MainWindow::clearClipboard},
        {m.menuExit, &MainWindow::requestQuit},
        {m.menuVTxt, &MainWindow::showTexts},
        {m.menuVImg, &MainWindow::showPictures},
        {m.menuSkin, &MainWindow::editAppearance},
        {m.menuClearICP, &MainWindow::removeSignature},
        {m.menuOption, &MainWindow::editOptions},
        {m.menuImgCopy, &MainWindow::copyShownPicture},
        {m.menuSaveImg, &MainWindow::saveThisPicture},
    };
    for (const auto &[action, slot] : items)
        connect(action, &QAction::triggered, this, slot);
    connect(m.menuSaveAllImg, &QAction::triggered, this, &MainWindow::saveAllPictures);
    connect(m.menuUser, &QAction::triggered, m_help, &HelpCommands::openManual);
    connect(m.menuDownload, &QAction::triggered, m_help, &HelpCommands::openForum);
    connect(m.menuAbout, &QAction::triggered, m_help, &HelpCommands::showAbout);
    // A mode chosen in the menu bar ticks the picture menu too, not the other way.
    connect(m.menuShowAll, &QAction::triggered, m.popupShowAll, &QAction::trigger);
    connect(m.menuShowSize, &QAction::triggered, m.popupShowSize, &QAction::trigger);
    connect(m.menuDetectClpBd, &QAction::toggled, this, &MainWindow::monitoringToggled);
    connect(m.popupShowAll, &QAction::triggered, m_pictures, &PictureView::showScaled);
    connect(m.popupShowSize, &QAction::triggered, m_pictures, &PictureView::showNaturalSize);
}

void MainWindow::showCapturing() {
    m_status->showBusy(Capturing);
}

void MainWindow::showReady() {
    m_status->showIdle();
}

void MainWindow::setPicturesWaiting(int waiting) {
    m_picturesWaiting = waiting;
    showFound();
}

void MainWindow::search(const QString &typed) {
    const SearchWords words(typed);
    m_texts->setSearch(words);
    m_pictures->setSearch(words);
    if (m_archive)
        m_archive->search(words);
    showFound();
}

void MainWindow::showFound() {
    QString found;
    if (!SearchWords(m_search->text()).isEmpty()) {
        found = QStringLiteral("找到 %1 条文本和 %2 张图片")
                    .arg(m_texts->listed())
                    .arg(m_pictures->listed());
        if (m_picturesWaiting > 0)
            found += QStringLiteral("，还有 %1 张图片在识别中").arg(m_picturesWaiting);
        if (m_saved)
            found +=
                QStringLiteral("；已保存的 %1%2 条%3")
                    .arg(m_saved->listed())
                    .arg(m_saved->hasMore() ? QStringLiteral("+") : QString())
                    .arg(m_archive->indexing() ? QStringLiteral("（还在建立索引）") : QString());
    }
    m_status->setSearch(found);
}

void MainWindow::showNextMatch() {
    const SearchWords words(m_search->text());
    if (words.isEmpty())
        return;
    // What is saved once the entries hold nothing, or while it is on show.
    if (m_saved && (m_saved->isVisibleTo(this) || m_texts->listed() + m_pictures->listed() == 0)) {
        if (m_saved->chooseNext())
            findChild<QAction *>(QStringLiteral("menuVSaved"))->trigger();
        return;
    }
    // The kind on show, unless it has nothing and the other has.
    const bool pictures = m_pictures->isVisibleTo(this);
    EntryPane *const shown = pictures ? static_cast<EntryPane *>(m_pictures) : m_texts;
    EntryPane *const other = pictures ? static_cast<EntryPane *>(m_texts) : m_pictures;
    if (shown->listed() == 0 && other->listed() > 0)
        (pictures ? m_menus.menuVTxt : m_menus.menuVImg)->trigger();
    if (!(shown->listed() > 0 ? shown : other)->chooseNext())
        return;
    if (m_texts->isVisibleTo(this))
        m_texts->showFirstHit(words);
}

void MainWindow::tell(const UserMessage &message) {
    m_platform.dialogs.message(message.icon, message.text);
}

void MainWindow::setWatchTip(const QString &tip) {
    m_status->setToolTip(tip);
}

void MainWindow::showNotice(const QString &notice) {
    m_status->showNotice(notice);
}

void MainWindow::saveThisText() {
    if (const Result saved = m_store.saveText(m_store.texts().current()); !saved.ok())
        tell(messageFor(saved));
}

void MainWindow::saveAllTexts() {
    m_status->showBusy(Saving);
    if (const Result saved = m_store.saveAllText(); !saved.ok())
        tell(messageFor(saved));
    m_status->showIdle();
}

void MainWindow::saveThisPicture() {
    if (const ImageSaveResult copied = m_store.savePicture(m_store.pictures().current());
        !copied.ok())
        tell(messageFor(copied));
}

bool MainWindow::saveAllPictures() {
    m_status->showBusy(Saving);
    const ImageSaveResult copied = m_store.saveAllPictures();
    // One message for the whole list, naming what stays and what is gone.
    if (!copied.ok())
        tell(messageFor(copied));
    m_status->showIdle();
    return copied.ok();
}

void MainWindow::saveAll() {
    saveAllTexts();
    // The text is already empty when it was saved. Deleting it again here
    // could take texts captured while a message box was open, unsaved.
    if (saveAllPictures()) {
        m_status->showBusy(Clearing);
        m_store.deleteTempPictures();
        m_status->showIdle();
    }
}

void MainWindow::copyShownEntry() {
    // The view shown is the frame not hidden, also while the window itself is.
    // With no entry shown there is nothing to copy.
    if (m_saved && m_saved->isVisibleTo(this))
        m_saved->copyShown();
    else if (m_pictures->isVisibleTo(this))
        copyShownPicture();
    else if (m_store.texts().current() >= 0)
        m_platform.clipboard.setText(m_texts->shownText());
}

void MainWindow::copyShownPicture() {
    if (const QImage shown = m_pictures->shownPicture(); !shown.isNull())
        m_platform.clipboard.setImage(shown);
}

void MainWindow::deleteAllTexts() {
    m_store.deleteAllText();
}

void MainWindow::deleteAllPictures() {
    m_store.deleteAllPictures();
}

void MainWindow::deleteAll() {
    m_status->showBusy(Clearing);
    deleteAllTexts();
    deleteAllPictures();
    m_status->showIdle();
}

void MainWindow::clearClipboard() {
    m_platform.clipboard.clear();
}

void MainWindow::showTexts() {
    m_texts->setVisible(true);
    m_pictures->setVisible(false);
}

void MainWindow::showPictures() {
    m_texts->setVisible(false);
    m_pictures->setVisible(true);
}

void MainWindow::editAppearance() {
    m_texts->editAppearance();
}

void MainWindow::removeSignature() {
    const QString signature = m_platform.dialogs.input(QStringLiteral("请输入要清除的文字："),
                                                       QStringLiteral("清除签名"));
    if (signature.isEmpty())
        return;
    m_status->showBusy(QStringLiteral("正在清除指定的文本，请稍候……"));
    m_texts->removeSignature(signature);
    m_status->showIdle();
}

void MainWindow::editOptions() {
    const bool atLogin = autostart::enabled();
    OptionsDialog dialog(m_store.options(), atLogin, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const Options chosen = dialog.chosen();
    const Result stored = writeOptions(m_settings, chosen);
    // The policy in force stays the one read at start until the next start;
    // a new shortcut works at once.
    if (chosen.autoSave)
        m_store.setFolders(chosen);
    if (chosen.showShortcut != m_store.options().showShortcut) {
        m_store.setShowShortcut(chosen.showShortcut);
        emit shortcutChosen(chosen.showShortcut);
    }
    if (m_archive)
        m_archive->setFolders(m_store.options().txtPath, m_store.options().imgPath);
    if (!stored.ok())
        tell(messageFor(stored));
    if (dialog.startAtLogin() != atLogin) {
        if (const Result made = autostart::setEnabled(!atLogin); !made.ok())
            tell(messageFor(made));
    }
}
