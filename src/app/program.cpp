// SPDX-License-Identifier: MIT
#include "app/program.h"

#include "core/messages.h"
#include "core/settings.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/globalshortcut.h"
#include "platform/logging.h"

#include <QCoreApplication>
#include <QEvent>
#include <QStandardPaths>
#include <QTimer>

Program::Program(Platform platform, SettingsStore &settings, const QString &programFolder,
                 QObject *parent)
    : QObject(parent)
    , m_platform(platform)
    , m_store(DataFolders(programFolder), readOptions(settings, programFolder), platform.clock,
              platform.disk)
    , m_watcher(platform.clipboard, m_store)
    , m_archive(QStandardPaths::writableLocation(QStandardPaths::CacheLocation),
                platform.savedRecognizer)
    , m_window(m_store, settings, platform)
    , m_tray(m_window.windowIcon(), m_window.monitoringAction(), m_window.exitAction())
    , m_reader(m_store.pictures(), platform.recognizer) {
    m_window.setTray(&m_tray);
    // The tick is the switch: the watcher follows it.
    connect(&m_window, &MainWindow::monitoringToggled, &m_watcher,
            &ClipboardWatcher::setMonitoring);
    connect(&m_watcher, &ClipboardWatcher::captureStarted, &m_window, &MainWindow::showCapturing);
    connect(&m_watcher, &ClipboardWatcher::captureFinished, &m_window, &MainWindow::showReady);
    connect(&m_tray, &TrayIcon::showWindowRequested, &m_window, &MainWindow::showFromTray);
    connect(&m_window, &MainWindow::quitRequested, this, &Program::unload);
    connect(&m_reader, &PictureReader::waitingChanged, &m_window, &MainWindow::setPicturesWaiting);
    connect(&m_reader, &PictureReader::waitingChanged, &m_archive, &Archive::setPicturesWaiting);
    m_window.setArchive(&m_archive);
}

Program::~Program() = default;

void Program::start(bool guarded) {
    if (const Result provided = m_store.folders().provide(); !provided.ok())
        tellOnceRunning(messageFor(provided));
    // What a run that was killed, crashed or lost its power left.
    const Recovery recovered = m_store.recover();
    const bool tray = m_tray.show();
    m_watcher.listen();
    QString tip = watchTip(m_platform.clipboard);
    if (!guarded)
        tip += QStringLiteral("\n数据文件夹未能锁定：另一个Orlo粘贴板可能同时使用它");
    if (!m_reader.available())
        tip += QStringLiteral("\n图片中的文字不能搜索：没有文字识别");
    m_window.setWatchTip(tip);
    const Result listening = m_platform.clipboard.listening();
    m_listening = listening;
    m_tray.setToolTip(trayTip(listening));
    if (!listening.ok())
        tellOnceRunning(messageFor(listening));
    // A desktop that stops telling changes later (its compositor ended our
    // access) would otherwise lose every copy from then on without a word.
    connect(&m_platform.clipboard, &Clipboard::listeningLost, &m_window, [this](const Result &why) {
        m_listening = why;
        m_tray.setToolTip(trayTip(why, m_shortcutState));
        m_window.tell(messageFor(why));
    });
    // The end of the desktop session quits the application (or stops the
    // program by a signal). A session manager's request to save is no end:
    // it comes at checkpoints too, and at logouts that are then cancelled.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &Program::leave);
    QCoreApplication::instance()->installEventFilter(this);
    if (m_shortcut)
        bindShortcut(m_store.options().showShortcut);
    if (recovered.anything())
        m_window.showNotice(recoveryStatus(recovered));
    // Without a notification area there would be no way back to a hidden
    // window. At login the panel starts beside the program: where the icon
    // hears of an area that comes later, one is waited for a moment.
    m_window.hide();
    if (!tray && m_tray.hearsOfLateAreas())
        QTimer::singleShot(TrayWaitMs, this, [this] {
            if (!m_tray.isShown() && !m_unloaded)
                m_window.show();
        });
    else if (!tray)
        m_window.show();
    // The area that showed the icon went away (the panel crashed or
    // restarts): the window is the way back meanwhile.
    connect(&m_tray, &TrayIcon::shownChanged, this, [this](bool shown) {
        if (!shown && !m_unloaded && !m_window.isVisible())
            m_window.show();
    });
}

void Program::tellOnceRunning(const UserMessage &message) {
    // Shown from the event loop, where a box's own loop ends with the
    // program's (a termination signal quits them all), and after the window
    // is where it belongs: closing the box changes nothing else.
    QTimer::singleShot(0, &m_window, [this, message] {
        if (!m_unloaded)
            m_window.tell(message);
    });
}

void Program::unload() {
    if (m_unloaded)
        return;
    leave();
    m_store.unload();
    QCoreApplication::quit();
}

bool Program::eventFilter(QObject *watched, QEvent *event) {
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit)
        leave();
    return QObject::eventFilter(watched, event);
}

void Program::leave() {
    // Whichever way the program ends, and the quit that follows it: the
    // first one counts.
    if (m_unloaded)
        return;
    m_unloaded = true;
    // Gone at once; what is left to do on the disk is done after.
    m_window.hide();
    m_tray.hide();
    m_watcher.stopListening();
}

void Program::showWindow() {
    if (!m_unloaded)
        m_window.bringToFront();
}

void Program::summon() {
    if (!m_unloaded)
        m_window.summon();
}

void Program::useShortcut(std::unique_ptr<GlobalShortcut> shortcut) {
    m_shortcut = std::move(shortcut);
    connect(m_shortcut.get(), &GlobalShortcut::activated, this, [this] {
        summon();
        m_shortcut->giveFocus(m_window.windowHandle());
    });
    connect(m_shortcut.get(), &GlobalShortcut::failed, this, &Program::tellShortcut);
    connect(&m_window, &MainWindow::shortcutChosen, this, &Program::bindShortcut);
}

void Program::bindShortcut(const QString &keys) {
    tellShortcut(m_shortcut->bind(QKeySequence::fromString(keys, QKeySequence::PortableText)));
}

void Program::tellShortcut(const Result &state) {
    if (!state.ok())
        qCWarning(lcShortcut) << "the shortcut does not work:" << state;
    m_shortcutState = state;
    m_tray.setToolTip(trayTip(m_listening, state));
    if (!state.ok())
        m_window.showNotice(shortcutNotice(state));
}
