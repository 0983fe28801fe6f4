// SPDX-License-Identifier: MIT
// The program run as a user runs it, on the X server that ./test provides.
// Everything a test starts is killed by its process id when its owner goes.
#pragma once

#include "report.h"

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
inline QString tool(const QString &program, const QStringList &arguments) {
    return runTool(program, arguments).output;
}
QString unavailable(); ///< why the tests cannot run here; empty when they can

class Started : public QProcess {
public:
    ~Started() override { stop(); } ///< kills it by its process id
    bool start(const QString &program, const QStringList &arguments,
               const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
               bool showErrors = false);
    qint64 pid() const { return processId(); }
    bool running() const { return state() != NotRunning; }
    bool waitForEnd(int ms) {
        return QTest::qWaitFor([this] { return !running(); }, ms);
    }
    void stop() {
        kill();
        waitForFinished(3000);
    }
};

/// A tray host and a window manager, each optional, with a private HOME.
struct Desktop {
    bool startTrayHost();
    bool startWindowManager();
    QTemporaryDir home;
    Started trayHost, windowManager;
};

/// The files of `folder` matching `pattern`, read afresh.
qsizetype filesIn(const QString &folder, const QString &pattern);

/// Other programs that copy; each returns once it owns the clipboard.
struct Copier {
    bool copyText(const QString &text);
    bool copyFile(const QString &path, const QString &mimeType);
    bool copy(const QString &mimeType, const QByteArray &bytes);
    /// The same, as steps for Orlo::take().
    std::function<bool()> text(const QString &text) {
        return [this, text] {
            return copyText(text);
        };
    }
    std::function<bool()> file(const QString &path, const QString &mimeType) {
        return [this, path, mimeType] {
            return copyFile(path, mimeType);
        };
    }
    std::list<Started> owners;
};

/// The program under test, run from a private copy with its own folders (the
/// build that reports what it does), or the release program from where it
/// was installed, with only its HOME private (watched from outside only).
class Orlo {
public:
    Orlo();
    explicit Orlo(const QString &installedProgram);
    bool start(bool expectTray = true); ///< waits for its tray icon, or with no tray its window
    /// Ends it as a crash or a power cut would, at once; what it reported is
    /// forgotten, what it left in its folders is not.
    void kill();
    Started &process() { return m_process; }
    int startAgain(); ///< waits for that start's end; its exit code or -1
    QString folder() const { return m_dir.path(); }
    QStringList tempPictures() const;
    const ProgramReport &report() const { return m_report; }
    QList<Entry> entries() const { return m_report.entries(); }
    QString status() const { return m_report.atStart().value(u"status").toString(); }
    QList<Entry> take(const std::function<bool()> &copy) { return m_report.take(copy); }
    QString window() const; ///< X window ids, of this and the icon; empty when none
    QString trayIcon() const;
    QString openMenu() const; ///< a pop-up menu of the program, when one is up
    bool windowViewable() const;
    QString windowState() const; ///< "Normal", "Iconic", or empty when hidden
    bool minimizeWindow();
    bool clickTrayIcon(int button = 1);
    /// Brings the window up by a click on the icon, unless it is up.
    bool showWindow();
    bool pressKeys(const QString &keys); ///< xdotool names ("ctrl+q") to the main window

private:
    QStringList ownWindows(const QString &filter = {}) const;

    QTemporaryDir m_dir;
    ProgramReport m_report{m_dir.path() + QStringLiteral("/report.jsonl")};
    QString m_program;
    QProcessEnvironment m_environment;
    Started m_process;
};

} // namespace e2e
