// SPDX-License-Identifier: MIT
#pragma once

#include "core/archive.h"
#include "core/clipboardwatcher.h"
#include "core/entrystore.h"
#include "core/picturereader.h"
#include "platform/platform.h"
#include "ui/mainwindow.h"
#include "ui/trayicon.h"

#include <QObject>
#include <memory>

class GlobalShortcut;
class SettingsStore;

/// The running program: what it has caught, the watcher that catches it,
/// the main window and the tray icon, brought up and taken down in order.
class Program final : public QObject {
    Q_OBJECT
public:
    /// Reads the settings; `programFolder` is where data/ lives.
    Program(Platform platform, SettingsStore &settings, const QString &programFolder,
            QObject *parent = nullptr);
    ~Program() override;

    const Platform &platform() const { return m_platform; }
    EntryStore &store() { return m_store; }
    MainWindow &window() { return m_window; }
    TrayIcon &tray() { return m_tray; }
    Archive &archive() { return m_archive; }

    /// How long a start waits for a notification area to come, where one that
    /// comes later can be heard of, before it shows the window.
    static constexpr int TrayWaitMs = 5000;

    /// Provides the data folders, takes back what an ended run left, puts the
    /// icon up, starts listening to the clipboard (what is on it now is not
    /// taken), and hides the window behind the icon, or shows it when there is
    /// no notification area. `guarded`: no other program can use the data
    /// folder meanwhile (the status tip says when that could not be made sure).
    /// What went wrong is told once the event loop runs.
    void start(bool guarded = true);
    /// Discards every entry and temp picture, takes the icon down, stops
    /// listening and quits: the user ended the program.
    void unload();
    /// An end nobody could be asked about (the session ends, a termination
    /// signal): the icon goes and listening stops, but nothing is discarded;
    /// the next start gives the entries back as after a crash.
    void leave();
    bool unloaded() const { return m_unloaded; }
    /// A later start asks for the window: it comes up and to the front, also
    /// from the taskbar.
    void showWindow();
    /// The shortcut or `--show`: the window comes up with its search field
    /// focused.
    void summon();
    /// The way the desktop offers a shortcut: bound at start() to the one
    /// chosen, again at each change in 选项.
    void useShortcut(std::unique_ptr<GlobalShortcut> shortcut);

protected:
    /// A quit (a termination signal, the session's end) leaves before Qt
    /// closes the windows: nobody is asked, nothing is discarded.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void tellOnceRunning(const UserMessage &message);
    void bindShortcut(const QString &keys);
    /// Told once, in the status line and the tray icon's tip.
    void tellShortcut(const Result &state);

    Platform m_platform;
    EntryStore m_store;
    ClipboardWatcher m_watcher;
    /// What the data folders hold, searched with the entries.
    Archive m_archive;
    MainWindow m_window;
    TrayIcon m_tray;
    PictureReader m_reader;
    bool m_unloaded = false;
    std::unique_ptr<GlobalShortcut> m_shortcut;
    Result m_listening, m_shortcutState;
};
