// SPDX-License-Identifier: MIT
// The program run as a user runs it, with its own HOME and runtime folder: on
// the X server that ./test provides, or in the Wayland session that
// wayland/session.sh runs a test in. Every process a test starts is killed
// with its process group when what started it goes.
#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <list>

namespace e2e {

struct ToolResult {
    bool ok = false;
    QString output; ///< trimmed standard output
};

/// Runs a tool to its end, for at most `timeoutMs`.
ToolResult runTool(const QString &program, const QStringList &arguments, int timeoutMs = 5000);
/// The same for a command line of words without quotes.
ToolResult run(const QString &line, int timeoutMs = 5000);
inline QString tool(const QString &line) {
    return run(line).output;
}
bool wayland();        ///< in a Wayland session, not on an X server
QString unavailable(); ///< why the X11 tests cannot run here; empty when they can

class Started : public QProcess {
public:
    ~Started() override { stop(); }
    /// Starts it in a process group of its own.
    bool start(const QString &program, const QStringList &arguments,
               const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
               bool showErrors = false);
    qint64 pid() const { return processId(); }
    bool running() const { return state() != NotRunning; }
    bool waitForEnd(int ms) {
        return QTest::qWaitFor([this] { return !running(); }, ms);
    }
    /// Its standard output so far, and how often that had `word`.
    const QByteArray &output() { return m_output += readAllStandardOutput(); }
    qsizetype said(const char *word) { return output().count(word); }
    void stop(); ///< kills it and what it left in its process group

private:
    qint64 m_group = 0;
    QByteArray m_output;
};

/// X11: a tray host and a window manager, each optional, with a private HOME.
struct Desktop {
    bool startTrayHost();
    bool startWindowManager();
    QTemporaryDir home;
    Started trayHost, windowManager;
};

/// The text data file (*.htm) in `folder` once there is one; empty when none came.
QByteArray savedPage(const QString &folder);

/// Other programs that copy (xclip, wl-copy); each returns once it owns the clipboard.
struct Copier {
    bool copyText(const QString &text);
    bool copy(const QString &mimeType, const QByteArray &bytes, int attempts = 3);
    /// Copies each text once the copy before owns the clipboard (X11).
    bool burst(const QStringList &texts);
    /// The same, as steps for Orlo::take().
    std::function<bool()> text(const QString &text) {
        return std::bind_front(&Copier::copyText, this, text);
    }
    std::function<bool()> file(const QString &path, const QString &mimeType) {
        return [this, path, mimeType] {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) && copy(mimeType, file.readAll());
        };
    }
    std::list<Started> owners;
};

struct Entry {
    QString caption, text;
    /// "文本00 its text", to compare whole lists at a glance.
    QString shown() const { return caption + u' ' + text; }
};

/// The program under test, run from a private copy with its own folders (the
/// build that reports what it does, see observed.cpp), or the release program
/// from where it was installed, with only its folders private (watched from
/// outside only).
class Orlo {
public:
    explicit Orlo(const QString &installedProgram = {});
    /// Waits for it to be up: on X11 for its tray icon, or with no tray its
    /// window; in a Wayland session for its report.
    bool start(bool expectTray = true);
    /// Ends it as a crash or a power cut would, at once; what it reported is
    /// forgotten, what it left in its folders is not.
    void kill();
    Started &process() { return m_process; }
    /// Waits for that start's end; its exit code or -1.
    int startAgain(const QStringList &arguments = {});
    /// Runs a menu item by its name ("menuCopyThis"), as the user would.
    void command(const QByteArray &item) { m_process.write(item + '\n'); }
    QString folder() const { return m_dir.path(); }

    // What it reported.
    QList<Entry> entries() const;
    /// Clipboard changes handled; with `hadText`, those that brought a new text.
    qsizetype changes(bool hadText = false) const;
    /// The last value reported: "status" and "clipboard" (its status line and
    /// tip at start), "current" (the caption of the entry made current
    /// last, "" once a search left one kind with none), "words" (the last
    /// picture read).
    QJsonValue last(const QString &key) const;
    QString status() const { return last(QStringLiteral("status")).toString(); }
    /// Runs `copy` (another program's copy) and waits until the program has
    /// handled it; the entries it added, or {"copy failed"} / {"not handled"}.
    QList<Entry> take(const std::function<bool()> &copy) const;

    // Its windows, on X11: the main window, or the one titled `title`.
    QString window(const QString &title = {}) const; ///< X window ids; empty when none
    QString trayIcon() const;
    QString openMenu() const; ///< a pop-up menu of the program, when one is up
    bool windowViewable(const QString &title = {}) const;
    QString windowState() const; ///< "Normal", "Iconic", or empty when hidden
    bool minimizeWindow(const QString &title = {});
    bool clickTrayIcon(int button = 1);
    /// Brings the window up by a click on the icon, unless it is up.
    bool showWindow();
    /// xdotool names ("ctrl+q") to the main window, or the one titled `title`.
    bool pressKeys(const QString &keys, const QString &title = {});

    QProcessEnvironment environment; ///< what it starts with

private:
    QList<QJsonObject> reported(const QString &key) const; ///< its report lines with `key`
    QStringList ownWindows(const QString &filter = {}) const;

    QTemporaryDir m_dir;
    QString m_program, m_report;
    Started m_process;
};

} // namespace e2e
