// SPDX-License-Identifier: MIT
// End-to-end test harness: the program runs as a user would run it, on the X
// server that ./test provides, next to a tray host, a window manager and other
// programs that copy. Everything a test starts is stopped by its process id
// when the object that started it goes, also when the test fails.
#pragma once

#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace e2e {

struct ToolResult {
    bool ok = false;
    QString output; ///< trimmed standard output
};

/// Runs a short tool to its end (at most a few seconds).
ToolResult runTool(const QString &program, const QStringList &arguments);
/// The tool's output; empty when it failed.
QString tool(const QString &program, const QStringList &arguments);

/// Why the end-to-end tests cannot run here (no X server, a tool missing);
/// empty when they can.
QString unavailable();

/// Sets up the test program itself for the X server (call before QApplication):
/// the tests own the clipboard now and then, and must see the same desktop.
void prepareTestProcess();

/// A program started for a test and killed, by its id, when this goes.
class Started {
public:
    Started() = default;
    Started(const Started &) = delete;
    Started &operator=(const Started &) = delete;
    ~Started();

    /// Its standard error reaches the test's only when `showErrors` is set.
    bool start(const QString &program, const QStringList &arguments,
               const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
               bool showErrors = false);
    qint64 pid() const { return m_process.processId(); }
    bool running() const { return m_process.state() != QProcess::NotRunning; }
    /// Waits up to `ms` for the end; true when it ended.
    bool waitForEnd(int ms);
    int exitCode() const { return m_process.exitCode(); }
    QProcess::ExitStatus exitStatus() const { return m_process.exitStatus(); }
    /// Asks it to end, as the session's end does (SIGTERM).
    void terminate() { m_process.terminate(); }
    void stop();

private:
    QProcess m_process;
};

/// The rest of a desktop: a tray host and a window manager, each optional.
class Desktop {
public:
    Desktop();
    bool startTrayHost();
    bool startWindowManager();

private:
    QTemporaryDir m_home;
    QProcessEnvironment m_environment;
    Started m_trayHost;
    Started m_windowManager;
};

/// Another program that copies (xclip); it owns the clipboard until the next
/// copy takes it over.
class Copier {
public:
    bool copyText(const QString &text);
    /// Offers a file's bytes under one MIME type, as a picture viewer does.
    bool copyFile(const QString &path, const QString &mimeType);

private:
    QTemporaryDir m_dir;
    std::vector<std::unique_ptr<Started>> m_owners;
    int m_files = 0;
};

/// One list entry as the program reported it.
struct Entry {
    QString caption;
    QString text; ///< text entries only
};

/// The program under test, run from a private copy so that its data folders,
/// settings, lock and socket are its own.
class Orlo {
public:
    Orlo();
    ~Orlo();

    /// Starts it and waits until it is up: its icon is in the tray, or, with
    /// no tray host, its window is on the screen.
    bool start(bool expectTray = true);
    Started &process() { return m_process; }
    /// Starts the same program once more, as a user would, and waits for
    /// that start to end; its exit code, or -1 when it did not end.
    int startAgain();

    QString folder() const { return m_dir.path(); }
    QStringList tempPictures() const;

    // What the program reported through its test aid.
    QList<Entry> entries() const;
    int changes() const;
    QString shownText() const;

    /// X window ids (decimal) of the main window and the tray icon; empty
    /// when there is none.
    QString window() const;
    QString trayIcon() const;
    bool windowViewable() const;
    /// The window manager's state of the main window: "Normal", "Iconic",
    /// or empty when it is withdrawn (hidden).
    QString windowState() const;
    /// Size and place on the screen, "WxH+X+Y".
    QString windowGeometry() const;
    bool minimizeWindow();

    bool clickTrayIcon();
    /// Gives the main window the keyboard focus and presses `keys`
    /// (xdotool names, e.g. "ctrl+q").
    bool pressKeys(const QString &keys);

private:
    QStringList ownWindows() const;
    QStringList reportLines() const;

    QTemporaryDir m_dir;
    QProcessEnvironment m_environment;
    QString m_program;
    QString m_report;
    Started m_process;
};

} // namespace e2e

/// Like QTEST_MAIN, with the test process set up for the X server first.
#define E2E_MAIN(TestClass)                                                                        \
    int main(int argc, char *argv[]) {                                                             \
        e2e::prepareTestProcess();                                                                 \
        QApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
