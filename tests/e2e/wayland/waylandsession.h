// SPDX-License-Identifier: MIT
// A headless sway for the Wayland clipboard tests, run as an unprivileged
// user (created when missing) when the tests run as root, as CI does, with
// the clipboard tools of wl-clipboard as the other programs that copy.
#pragma once

#include <QProcess>
#include <QTemporaryDir>
#include <deque>
#include <memory>
#include <optional>
#include <sys/types.h>
#include <unistd.h>
#include <vector>

namespace wltest {

struct ToolResult {
    bool ok = false; ///< ran to its end with exit code 0
    QByteArray output;
    QByteArray errors;
};

/// Lines of a program's standard output, as they come.
class Lines final {
public:
    explicit Lines(QProcess *process = nullptr)
        : m_process(process) {}
    /// The first line not taken yet that starts with `prefix`, waiting up to
    /// `timeoutMs`; with `skip` the lines before it are dropped, else they
    /// stay to be taken.
    std::optional<QByteArray> next(const QByteArray &prefix, int timeoutMs, bool skip = false);

private:
    QProcess *m_process;
    std::deque<QByteArray> m_unread;
};

class WaylandSession final {
public:
    WaylandSession() = default;
    ~WaylandSession() { stop(); }
    WaylandSession(const WaylandSession &) = delete;
    WaylandSession &operator=(const WaylandSession &) = delete;

    /// Why no session can be had here (a missing program); empty when one can.
    static QString unavailable();

    bool start(QString *why);
    /// Ends everything the session started, by process id and process group.
    void stop();

    QString runtimeDir() const { return m_dir ? m_dir->path() : QString(); }
    /// The environment of the session's programs: WAYLAND_DISPLAY,
    /// XDG_RUNTIME_DIR, SWAYSOCK, HOME, and no X display.
    QProcessEnvironment environment() const;
    /// Sets `process` up to run `program` as the session's user, in its own
    /// process group; `extra` is added to the session's environment.
    void prepare(QProcess &process, const QString &program, const QStringList &arguments,
                 const QProcessEnvironment &extra = {}) const;

    /// Runs a program of the session to its end, for at most `timeoutMs`.
    ToolResult run(const QString &program, const QStringList &arguments,
                   const QByteArray &input = {}, int timeoutMs = 10'000);
    /// Starts a program that goes on; it is stopped with the session.
    QProcess *startBackground(const QString &program, const QStringList &arguments,
                              const QProcessEnvironment &extra = {});

    /// wl-copy: returns once the copy owns the clipboard. Its owner process
    /// stays in the background until replaced, and is stopped with the session.
    bool copy(const QByteArray &data, const QStringList &options = {});
    ToolResult paste(const QStringList &options = {});
    ToolResult swaymsg(const QStringList &arguments);

    /// A file the session's user can read.
    QString writeFile(const QString &name, const QByteArray &bytes) const;
    /// A copy of a program where the session's user may run it, whatever the
    /// build folder's permissions.
    QString installProgram(const QString &path) const;

private:
    bool switchesUser() const { return m_uid != ::geteuid(); }
    bool prepareUser(QString *why);

    std::unique_ptr<QTemporaryDir> m_dir;
    uid_t m_uid = ::geteuid();
    gid_t m_gid = ::getegid();
    QString m_display, m_swaySocket;
    std::unique_ptr<QProcess> m_sway;
    std::vector<std::unique_ptr<QProcess>> m_background;
    std::vector<pid_t> m_groups; ///< process groups of tools that leave owners behind
};

} // namespace wltest
