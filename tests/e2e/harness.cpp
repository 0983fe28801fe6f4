// SPDX-License-Identifier: MIT
#include "harness.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <csignal>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace e2e {

namespace {

QString field(const QString &text, const QString &pattern) {
    return QRegularExpression(pattern).match(text).captured(1);
}

bool overrideRedirect(const QString &window) {
    return run(u"xwininfo -id "_s + window).output.contains(u"Override Redirect State: yes"_s);
}

QProcessEnvironment withHome(const QString &home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"HOME"_s, home);
    return env;
}

/// Done before main in every test that links the harness.
void prepareTestProcess() {
    QStandardPaths::setTestModeEnabled(true);
    const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    qputenv("QT_QPA_PLATFORM", x11 ? "xcb" : "offscreen");
    if (x11) {
        // The tests' X server alone, never a compositor or a bus of the desktop:
        // the tray is the X one the tests start, and no bus daemon starts. In a
        // Wayland session the bus is the one session.sh names.
        qunsetenv("WAYLAND_DISPLAY");
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/orlo-test-bus");
    }
    qputenv("LC_ALL", "C.UTF-8"); // window names are UTF-8
    // HOME alone decides where the programs started keep their files.
    for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qunsetenv(name);
}
[[maybe_unused]] const bool Prepared = (prepareTestProcess(), true);

} // namespace

ToolResult runTool(const QString &program, const QStringList &arguments, int timeoutMs) {
    Started process;
    const bool ok = process.start(program, arguments) && process.waitForFinished(timeoutMs) &&
                    process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return {ok, QString::fromUtf8(process.readAllStandardOutput()).trimmed()};
}

ToolResult run(const QString &line, int timeoutMs) {
    QStringList words = line.split(u' ', Qt::SkipEmptyParts);
    return runTool(words.takeFirst(), words, timeoutMs);
}

bool wayland() {
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

QString unavailable() {
    for (const QString &name : u"xdotool xwininfo xprop xclip trayer openbox"_s.split(u' '))
        if (QStandardPaths::findExecutable(name).isEmpty())
            return u"missing: "_s + name;
    return qEnvironmentVariableIsEmpty("DISPLAY") ? u"needs an X server: run ./test"_s : QString();
}

bool Started::start(const QString &program, const QStringList &arguments,
                    const QProcessEnvironment &environment, bool showErrors) {
    setProcessEnvironment(environment);
    showErrors ? setProcessChannelMode(ForwardedErrorChannel) : setStandardErrorFile(nullDevice());
    setChildProcessModifier([] { ::setpgid(0, 0); });
    QProcess::start(program, arguments);
    m_group = processId();
    return waitForStarted(5000);
}

void Started::stop() {
    if (m_group > 0)
        ::kill(pid_t(-m_group), SIGKILL);
    m_group = 0;
    waitForFinished(3000);
}

bool Desktop::startTrayHost() {
    return trayHost.start(u"trayer"_s, u"--edge top --align right --height 24"_s.split(u' '),
                          withHome(home.path())) &&
           QTest::qWaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 10000);
}

bool Desktop::startWindowManager() {
    // Ready once the check window it names exists; a killed manager's is gone.
    const QStringList check = {u"-c"_s, u"xprop -id $(xprop -root _NET_SUPPORTING_WM_CHECK | cut "
                                        u"-d# -f2) _NET_WM_NAME | grep -q Openbox"_s};
    return windowManager.start(u"openbox"_s, {u"--sm-disable"_s}, withHome(home.path())) &&
           QTest::qWaitFor([&] { return runTool(u"sh"_s, check).ok; }, 10000);
}

QByteArray savedPage(const QString &folder) {
    QDir saved(folder, u"*.htm"_s, QDir::Name, QDir::Files);
    const bool one = QTest::qWaitFor([&] { return (saved.refresh(), saved.count() == 1); }, 10000);
    QFile page(one ? saved.filePath(saved.entryList()[0]) : QString());
    return page.open(QIODevice::ReadOnly) ? page.readAll() : QByteArray();
}

bool Copier::copyText(const QString &text) {
    return copy(wayland() ? u"text/plain;charset=utf-8"_s : u"UTF8_STRING"_s, text.toUtf8());
}

bool Copier::copy(const QString &mimeType, const QByteArray &bytes, int attempts) {
    // The owner before stays until the new one has taken over: ended first,
    // it would leave an empty clipboard in between, a change of its own.
    QSignalSpy changed(QGuiApplication::clipboard(), &QClipboard::dataChanged);
    Started &owner = owners.emplace_back();
    QStringList words =
        (wayland() ? u"wl-copy --type"_s : u"xclip -quiet -selection clipboard -t"_s).split(u' ')
        << mimeType;
    if (!owner.start(words.takeFirst(), words))
        return false;
    // Fed as fast as it reads: the waits below would feed it a pipe's worth
    // each 10 ms, 5 s for 30 MB, twice that on a slow or busy machine.
    owner.write(bytes);
    while (owner.bytesToWrite() > 0 && owner.waitForBytesWritten(10000)) {
    }
    owner.closeWriteChannel();
    // wl-copy ends once it asked for its copy to be the clipboard's, its owner
    // left behind in its process group. Without data-control the compositor
    // may refuse it (mutter does, now and then): then no copy was made, and
    // it is made again. xclip's copy seen here has moved this process's
    // clock past it: a copy made here next is not refused by the X server as
    // older than xclip's.
    if (!wayland())
        return QTest::qWaitFor([&] { return !changed.isEmpty(); }, 10000);
    if (!owner.waitForEnd(10000) || owner.exitCode() != 0)
        return false;
    Started paste;
    const bool made = paste.start(u"wl-paste"_s, {u"--no-newline"_s, u"--type"_s, mimeType}) &&
                      paste.waitForFinished(5000) && paste.readAllStandardOutput() == bytes;
    return made || (attempts > 1 && copy(mimeType, bytes, attempts - 1));
}

bool Copier::burst(const QStringList &texts) {
    // xclip says "Waiting for selection requests" once it owns the clipboard;
    // each one ends when the next has replaced it.
    const QString loop = uR"(for t in "$@"; do
        coproc xclip -selection clipboard -quiet -verbose < <(printf %s "$t") 2>&1
        while read -r line <&"${COPROC[0]}" && [[ $line != Waiting* ]]; do :; done
    done 2>/dev/null; echo done; wait)"_s;
    Started &script = owners.emplace_back();
    return script.start(u"bash"_s, QStringList{u"-c"_s, loop, u"burst"_s} + texts) &&
           QTest::qWaitFor([&] { return script.said("done") > 0; }, 60'000);
}

Orlo::Orlo(const QString &installedProgram)
    : m_program(installedProgram.isEmpty() ? m_dir.path() + u"/orlo-clipboard"_s : installedProgram)
    , m_report(m_dir.path() + u"/report.jsonl"_s) {
    if (installedProgram.isEmpty())
        QFile::copy(qEnvironmentVariable("ORLO_CLIPBOARD_BIN"), m_program);
    environment = withHome(m_dir.path());
    // Only the user may enter the temporary folder, as a runtime folder requires.
    environment.insert(u"XDG_RUNTIME_DIR"_s, m_dir.path());
    environment.insert(u"ORLO_TEST_REPORT"_s, m_report);
    if (wayland()) {
        // The compositor is in the session's runtime folder, not in this one.
        environment.insert(u"WAYLAND_DISPLAY"_s,
                           QDir(qEnvironmentVariable("XDG_RUNTIME_DIR"))
                               .filePath(qEnvironmentVariable("WAYLAND_DISPLAY")));
        environment.remove(u"QT_QPA_PLATFORM"_s);
    }
}

bool Orlo::start(bool expectTray) {
    // The observed build (a private copy) reports once it is up; the
    // release program is watched from outside only.
    const bool observed = m_program.startsWith(m_dir.path());
    const auto up = [&] {
        return (!observed || !last(u"status"_s).isUndefined()) &&
               (wayland() || (expectTray ? !trayIcon().isEmpty() : windowViewable()));
    };
    return m_process.start(m_program, {}, environment, true) && QTest::qWaitFor(up, 10000);
}

void Orlo::kill() {
    m_process.stop();
    QFile::remove(m_report);
}

int Orlo::startAgain(const QStringList &arguments) {
    // A start that ends is checked for leaks (the sanitizer build): Qt's Wayland
    // plugin's are told from ours only on stacks unwound in full.
    QProcessEnvironment once = environment;
    once.insert(u"ASAN_OPTIONS"_s, once.value(u"ASAN_OPTIONS"_s) + u":fast_unwind_on_malloc=0"_s);
    Started again;
    const bool ended = again.start(m_program, arguments, once, true) && again.waitForEnd(10000) &&
                       again.exitStatus() == QProcess::NormalExit;
    return ended ? again.exitCode() : -1;
}

QList<QJsonObject> Orlo::reported(const QString &key) const {
    QList<QJsonObject> found;
    QFile file(m_report);
    if (file.open(QIODevice::ReadOnly))
        for (const QByteArray &line : file.readAll().split('\n'))
            if (const QJsonObject object = QJsonDocument::fromJson(line).object();
                object.contains(key))
                found.append(object);
    return found;
}

QList<Entry> Orlo::entries() const {
    QList<Entry> found;
    for (const QJsonObject &line : reported(u"entry"_s))
        found.append({line[u"entry"_s].toString(), line[u"text"_s].toString()});
    return found;
}

qsizetype Orlo::changes(bool hadText) const {
    return std::ranges::count_if(reported(u"change"_s), [&](const QJsonObject &line) {
        return !hadText || line[u"change"_s].toBool();
    });
}

QJsonValue Orlo::last(const QString &key) const {
    const QList<QJsonObject> lines = reported(key);
    return lines.isEmpty() ? QJsonValue(QJsonValue::Undefined) : lines.last()[key];
}

QList<Entry> Orlo::take(const std::function<bool()> &copy) const {
    const qsizetype before = changes();
    const qsizetype known = entries().size();
    if (!copy())
        return {{u"copy failed"_s, {}}};
    if (!QTest::qWaitFor([&] { return changes() > before; }, 10000))
        return {{u"not handled"_s, {}}};
    return entries().mid(known);
}

// A process id of 0, when the program is not running, would match other windows.
QStringList Orlo::ownWindows(const QString &filter) const {
    const QString search = u"xdotool search --all --pid %1 "_s.arg(m_process.pid()) + filter;
    return m_process.running() ? run(search).output.split(u'\n', Qt::SkipEmptyParts)
                               : QStringList();
}

QString Orlo::window(const QString &title) const {
    return ownWindows(u"--name ^%1$"_s.arg(title.isEmpty() ? u"Orlo粘贴板2.0版"_s : title))
        .value(0);
}

QString Orlo::trayIcon() const {
    // The icon is the window the tray host took in; the window manager's
    // frames take in the others.
    for (const QString &id : ownWindows())
        if (const QString info = run(u"xwininfo -children -id "_s + id).output;
            overrideRedirect(id) &&
            field(info, u"Parent window id: (\\w+)"_s) != field(info, u"Root window id: (\\w+)"_s))
            return id;
    return {};
}

bool Orlo::windowViewable(const QString &title) const {
    return run(u"xwininfo -id "_s + window(title)).output.contains(u"Map State: IsViewable"_s);
}

QString Orlo::windowState() const {
    return field(run(u"xprop -id %1 WM_STATE"_s.arg(window())).output, u"window state: (\\w+)"_s);
}

bool Orlo::minimizeWindow(const QString &title) {
    return run(u"xdotool windowminimize "_s + window(title)).ok;
}

bool Orlo::clickTrayIcon(int button) {
    // The pointer leaves the icon at once, so that no tool tip comes up; a
    // menu stays where it opened.
    const QString icon = trayIcon();
    const QString click = u"xdotool mousemove --window %1 5 5 click %2 mousemove 600 700"_s;
    return !icon.isEmpty() && run(click.arg(icon).arg(button)).ok;
}

bool Orlo::showWindow() {
    return (windowViewable() || clickTrayIcon()) &&
           QTest::qWaitFor([this] { return windowViewable(); }, 10000);
}

QString Orlo::openMenu() const {
    // Menus are the program's viewable windows that the window manager
    // leaves alone, as it does the icon.
    const QString icon = trayIcon();
    for (const QString &id : ownWindows(u"--onlyvisible"_s))
        if (id != icon && overrideRedirect(id))
            return id;
    return {};
}

bool Orlo::pressKeys(const QString &keys, const QString &title) {
    return run(u"xdotool windowfocus --sync "_s + window(title)).ok &&
           run(u"xdotool key --clearmodifiers "_s + keys).ok;
}

} // namespace e2e
