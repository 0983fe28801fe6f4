// SPDX-License-Identifier: MIT
#include "waylandsession.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <csignal>
#include <pwd.h>
#include <sys/stat.h>

namespace wltest {
namespace {

const QString userName = QStringLiteral("orlo-test");

void setGroupLeader(QProcess &process) {
    // Its own process group, so that whatever it leaves behind can be
    // stopped by the group's id.
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
}

void endGroup(pid_t group) {
    if (group > 0 && ::kill(-group, SIGTERM) == 0) {
        QThread::msleep(20);
        ::kill(-group, SIGKILL);
    }
}

void endProcess(QProcess &process) {
    if (process.state() == QProcess::NotRunning)
        return;
    const pid_t group = pid_t(process.processId());
    endGroup(group);
    process.kill();
    process.waitForFinished(3000);
}

} // namespace

std::optional<QByteArray> Lines::next(const QByteArray &prefix, int timeoutMs, bool skip) {
    std::optional<QByteArray> found;
    (void)QTest::qWaitFor(
        [&] {
            while (m_process && m_process->canReadLine())
                m_unread.push_back(m_process->readLine().trimmed());
            for (auto line = m_unread.begin(); line != m_unread.end(); ++line) {
                if (line->startsWith(prefix)) {
                    found = *line;
                    m_unread.erase(skip ? m_unread.begin() : line, line + 1);
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

QString WaylandSession::unavailable() {
    QStringList missing;
    for (const char *program : {"sway", "wl-copy", "wl-paste", "swaymsg"}) {
        if (QStandardPaths::findExecutable(QLatin1String(program)).isEmpty())
            missing << QLatin1String(program);
    }
    if (::geteuid() == 0 && QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        missing << QStringLiteral("setpriv");
    if (!missing.isEmpty())
        return QStringLiteral("not installed: ") + missing.join(u", ");
    return {};
}

bool WaylandSession::prepareUser(QString *why) {
    // sway is not for root: as root, the session belongs to a user of its own.
    if (::geteuid() != 0)
        return true;
    passwd *user = ::getpwnam(qPrintable(userName));
    if (!user) {
        QProcess add;
        add.start(QStringLiteral("useradd"),
                  {QStringLiteral("--system"), QStringLiteral("--no-create-home"),
                   QStringLiteral("--home-dir"), QStringLiteral("/nonexistent"),
                   QStringLiteral("--shell"), QStringLiteral("/usr/sbin/nologin"), userName});
        add.waitForFinished(30'000);
        user = ::getpwnam(qPrintable(userName));
        if (!user) {
            *why = QStringLiteral("cannot create the user %1: %2")
                       .arg(userName, QString::fromLocal8Bit(add.readAllStandardError()));
            return false;
        }
    }
    m_uid = user->pw_uid;
    m_gid = user->pw_gid;
    return true;
}

bool WaylandSession::start(QString *why) {
    QString ignored;
    if (!why)
        why = &ignored;
    if (!prepareUser(why))
        return false;
    m_dir =
        std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/orlo-wayland-XXXXXX"));
    if (!m_dir->isValid() || ::chown(qPrintable(m_dir->path()), m_uid, m_gid) != 0 ||
        ::chmod(qPrintable(m_dir->path()), 0700) != 0) {
        *why = QStringLiteral("cannot make a runtime folder");
        return false;
    }
    const QString config = writeFile(QStringLiteral("sway.config"),
                                     "# Clipboard tests: no X server, nothing else started.\n"
                                     "xwayland disable\n");

    QProcessEnvironment extra;
    extra.insert(QStringLiteral("WLR_BACKENDS"), QStringLiteral("headless"));
    extra.insert(QStringLiteral("WLR_LIBINPUT_NO_DEVICES"), QStringLiteral("1"));
    extra.insert(QStringLiteral("WLR_RENDERER"), QStringLiteral("pixman"));
    m_sway = std::make_unique<QProcess>();
    prepare(*m_sway, QStringLiteral("sway"), {QStringLiteral("-c"), config}, extra);
    m_sway->start();
    if (!m_sway->waitForStarted(5000)) {
        *why = QStringLiteral("sway did not start");
        return false;
    }
    // Ready when its sockets are there.
    const QDeadlineTimer deadline(15'000);
    const QDir dir(m_dir->path());
    while (!deadline.hasExpired() && m_sway->state() == QProcess::Running) {
        const QStringList displays = dir.entryList({QStringLiteral("wayland-*")}, QDir::System);
        const QStringList ipc = dir.entryList({QStringLiteral("sway-ipc.*.sock")}, QDir::System);
        for (const QString &name : displays) {
            if (!name.endsWith(u".lock"))
                m_display = name;
        }
        if (!m_display.isEmpty() && !ipc.isEmpty()) {
            m_swaySocket = dir.filePath(ipc.first());
            return true;
        }
        QThread::msleep(20);
    }
    *why = QStringLiteral("sway did not come up: ") +
           QString::fromLocal8Bit(m_sway->readAllStandardError().right(2000));
    stop();
    return false;
}

void WaylandSession::stop() {
    for (std::unique_ptr<QProcess> &process : m_background)
        endProcess(*process);
    m_background.clear();
    // Clients lose the compositor with it; owners left behind are ended too.
    if (m_sway) {
        if (m_sway->state() != QProcess::NotRunning) {
            ::kill(pid_t(m_sway->processId()), SIGTERM);
            if (!m_sway->waitForFinished(3000))
                endProcess(*m_sway);
        }
        m_sway.reset();
    }
    for (pid_t group : m_groups)
        endGroup(group);
    m_groups.clear();
    m_dir.reset();
}

QProcessEnvironment WaylandSession::environment() const {
    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH", "/usr/bin:/bin"));
    env.insert(QStringLiteral("HOME"), runtimeDir());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir());
    env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    if (!m_display.isEmpty())
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), m_display);
    if (!m_swaySocket.isEmpty())
        env.insert(QStringLiteral("SWAYSOCK"), m_swaySocket);
    return env;
}

void WaylandSession::prepare(QProcess &process, const QString &program,
                             const QStringList &arguments, const QProcessEnvironment &extra) const {
    QProcessEnvironment env = environment();
    env.insert(extra);
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(runtimeDir());
    setGroupLeader(process);
    if (!switchesUser()) {
        process.setProgram(program);
        process.setArguments(arguments);
        return;
    }
    process.setProgram(QStringLiteral("setpriv"));
    process.setArguments(QStringList{QStringLiteral("--reuid=%1").arg(m_uid),
                                     QStringLiteral("--regid=%1").arg(m_gid),
                                     QStringLiteral("--init-groups"), QStringLiteral("--"),
                                     program} +
                         arguments);
}

ToolResult WaylandSession::run(const QString &program, const QStringList &arguments,
                               const QByteArray &input, int timeoutMs) {
    QProcess process;
    prepare(process, program, arguments);
    process.start();
    ToolResult result;
    if (!process.waitForStarted(5000))
        return result;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs))
        endProcess(process);
    result.output = process.readAllStandardOutput();
    result.errors = process.readAllStandardError();
    result.ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return result;
}

QProcess *WaylandSession::startBackground(const QString &program, const QStringList &arguments,
                                          const QProcessEnvironment &extra) {
    auto process = std::make_unique<QProcess>();
    prepare(*process, program, arguments, extra);
    process->start();
    if (!process->waitForStarted(5000))
        return nullptr;
    m_background.push_back(std::move(process));
    return m_background.back().get();
}

bool WaylandSession::copy(const QByteArray &data, const QStringList &options) {
    QProcess process;
    prepare(process, QStringLiteral("wl-copy"), options);
    process.start();
    if (!process.waitForStarted(5000))
        return false;
    m_groups.push_back(pid_t(process.processId()));
    process.write(data);
    process.closeWriteChannel();
    // wl-copy forks the owner and returns once the copy is the clipboard's.
    if (!process.waitForFinished(10'000)) {
        endProcess(process);
        return false;
    }
    return process.exitCode() == 0;
}

ToolResult WaylandSession::paste(const QStringList &options) {
    return run(QStringLiteral("wl-paste"), options);
}

ToolResult WaylandSession::swaymsg(const QStringList &arguments) {
    return run(QStringLiteral("swaymsg"), arguments);
}

QString WaylandSession::writeFile(const QString &name, const QByteArray &bytes) const {
    const QString path = QDir(runtimeDir()).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return {};
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return path;
}

QString WaylandSession::installProgram(const QString &path) const {
    const QString copy = QDir(runtimeDir()).filePath(QFileInfo(path).fileName());
    QFile::remove(copy);
    if (!QFile::copy(path, copy))
        return {};
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                    QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                    QFile::ExeOther);
    return copy;
}

} // namespace wltest
