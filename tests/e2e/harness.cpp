// SPDX-License-Identifier: MIT
#include "harness.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTest>

namespace e2e {

namespace {

const QString Title = QStringLiteral("Orlo粘贴板2.0版");
const QStringList Tools = {QStringLiteral("xdotool"), QStringLiteral("xwininfo"),
                           QStringLiteral("xprop"),   QStringLiteral("xclip"),
                           QStringLiteral("trayer"),  QStringLiteral("openbox")};

// No session bus: the tray must be the X one that the tests start, and no
// bus daemon may be launched behind the tests' back.
const QByteArray NoBus = QByteArrayLiteral("unix:path=/nonexistent/orlo-test-bus");

/// Polls `done` while events run, up to `ms`.
template <typename Done> bool waitFor(Done done, int ms = 10000) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(50);
    }
    return true;
}

QString field(const QString &text, const QString &pattern) {
    const auto match = QRegularExpression(pattern).match(text);
    return match.hasMatch() ? match.captured(1) : QString();
}

QProcessEnvironment privateEnvironment(const QString &home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QString::fromLatin1(NoBus));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return env;
}

} // namespace

ToolResult runTool(const QString &program, const QStringList &arguments) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8")); // window names are UTF-8
    process.setProcessEnvironment(env);
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    const bool ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return {ok, QString::fromUtf8(process.readAllStandardOutput()).trimmed()};
}

QString tool(const QString &program, const QStringList &arguments) {
    return runTool(program, arguments).output;
}

QString unavailable() {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return QStringLiteral("needs an X server: run ./test");
    if (!QFile::exists(qEnvironmentVariable("ORLO_CLIPBOARD_BIN")))
        return QStringLiteral("ORLO_CLIPBOARD_BIN does not name the program");
    for (const QString &name : Tools) {
        if (QStandardPaths::findExecutable(name).isEmpty())
            return name + QStringLiteral(" is not installed");
    }
    return {};
}

void prepareTestProcess() {
    QStandardPaths::setTestModeEnabled(true);
    const bool display = !qEnvironmentVariableIsEmpty("DISPLAY");
    qputenv("QT_QPA_PLATFORM", display ? "xcb" : "offscreen");
    qputenv("DBUS_SESSION_BUS_ADDRESS", NoBus);
}

// --- Started ---

Started::~Started() {
    stop();
}

bool Started::start(const QString &program, const QStringList &arguments,
                    const QProcessEnvironment &environment, bool showErrors) {
    m_process.setProcessEnvironment(environment);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    if (showErrors)
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    else
        m_process.setStandardErrorFile(QProcess::nullDevice());
    m_process.start(program, arguments);
    return m_process.waitForStarted(5000);
}

bool Started::waitForEnd(int ms) {
    return waitFor([this] { return !running(); }, ms);
}

void Started::stop() {
    if (!running())
        return;
    m_process.kill();
    m_process.waitForFinished(3000);
}

// --- Desktop ---

Desktop::Desktop()
    : m_environment(privateEnvironment(m_home.path())) {}

bool Desktop::startTrayHost() {
    if (!m_trayHost.start(QStringLiteral("trayer"),
                          {QStringLiteral("--edge"), QStringLiteral("top"),
                           QStringLiteral("--align"), QStringLiteral("right"),
                           QStringLiteral("--widthtype"), QStringLiteral("request"),
                           QStringLiteral("--height"), QStringLiteral("24")},
                          m_environment))
        return false;
    // The tray is there once the tray selection has an owner.
    return waitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); });
}

bool Desktop::startWindowManager() {
    if (!m_windowManager.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")},
                               m_environment))
        return false;
    // Ready once its check window exists and carries its name.
    return waitFor([] {
        const QString check =
            field(tool(QStringLiteral("xprop"),
                       {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")}),
                  QStringLiteral("window id # (0x[0-9a-f]+)"));
        return !check.isEmpty() && tool(QStringLiteral("xprop"), {QStringLiteral("-id"), check,
                                                                  QStringLiteral("_NET_WM_NAME")})
                                       .contains(QStringLiteral("Openbox"));
    });
}

// --- Copier ---

bool Copier::copyText(const QString &text) {
    const QString path = m_dir.filePath(QStringLiteral("text%1.txt").arg(++m_files));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
        return false;
    file.close();
    return copyFile(path, QStringLiteral("UTF8_STRING"));
}

bool Copier::copyFile(const QString &path, const QString &mimeType) {
    // The owner before stays until the new one has taken over: ended first,
    // it would leave an empty clipboard in between, a change of its own.
    auto owner = std::make_unique<Started>();
    if (!owner->start(QStringLiteral("xclip"),
                      {QStringLiteral("-quiet"), QStringLiteral("-selection"),
                       QStringLiteral("clipboard"), QStringLiteral("-t"), mimeType,
                       QStringLiteral("-i"), path}))
        return false;
    m_owners.push_back(std::move(owner));
    return true;
}

// --- Orlo ---

Orlo::Orlo()
    : m_program(m_dir.filePath(QStringLiteral("orlo-clipboard")))
    , m_report(m_dir.filePath(QStringLiteral("report.jsonl"))) {
    const QString home = m_dir.filePath(QStringLiteral("home"));
    const QString runtime = m_dir.filePath(QStringLiteral("run"));
    QDir().mkpath(home);
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::copy(qEnvironmentVariable("ORLO_CLIPBOARD_BIN"), m_program);
    QFile::setPermissions(m_program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_environment = privateEnvironment(home);
    m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    m_environment.insert(QStringLiteral("ORLO_TEST_REPORT"), m_report);
}

Orlo::~Orlo() = default;

bool Orlo::start(bool expectTray) {
    if (!m_process.start(m_program, {}, m_environment, true))
        return false;
    return waitFor(
        [this, expectTray] { return expectTray ? !trayIcon().isEmpty() : windowViewable(); });
}

int Orlo::startAgain() {
    Started again;
    if (!again.start(m_program, {}, m_environment, true) || !again.waitForEnd(10000))
        return -1;
    return again.exitStatus() == QProcess::NormalExit ? again.exitCode() : -1;
}

QStringList Orlo::tempPictures() const {
    return QDir(m_dir.filePath(QStringLiteral("data/image/temp")))
        .entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name);
}

QStringList Orlo::reportLines() const {
    QFile file(m_report);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

QList<Entry> Orlo::entries() const {
    QList<Entry> found;
    for (const QString &line : reportLines()) {
        const QJsonObject object = QJsonDocument::fromJson(line.toUtf8()).object();
        if (object.contains(QStringLiteral("entry")))
            found.append({object.value(QStringLiteral("entry")).toString(),
                          object.value(QStringLiteral("text")).toString()});
    }
    return found;
}

int Orlo::changes() const {
    return int(reportLines().filter(QStringLiteral("{\"change\"")).size());
}

QString Orlo::shownText() const {
    const QStringList lines = reportLines();
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        const QJsonObject object = QJsonDocument::fromJson(line->toUtf8()).object();
        if (object.contains(QStringLiteral("change")))
            return object.value(QStringLiteral("shown")).toString();
    }
    return {};
}

QStringList Orlo::ownWindows() const {
    if (!m_process.running())
        return {};
    return tool(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--pid"),
                                            QString::number(m_process.pid())})
        .split(u'\n', Qt::SkipEmptyParts);
}

QString Orlo::window() const {
    for (const QString &id : ownWindows()) {
        if (tool(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), id}) == Title)
            return id;
    }
    return {};
}

QString Orlo::trayIcon() const {
    // The icon is the program's window that the tray host has taken in.
    for (const QString &id : ownWindows()) {
        const QString info = tool(QStringLiteral("xwininfo"),
                                  {QStringLiteral("-children"), QStringLiteral("-id"), id});
        const QString root = field(info, QStringLiteral("Root window id: (0x[0-9a-f]+)"));
        const QString parent = field(info, QStringLiteral("Parent window id: (0x[0-9a-f]+)"));
        if (!parent.isEmpty() && parent != root &&
            tool(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), id}) != Title)
            return id;
    }
    return {};
}

bool Orlo::windowViewable() const {
    const QString id = window();
    return !id.isEmpty() && tool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id})
                                .contains(QStringLiteral("Map State: IsViewable"));
}

QString Orlo::windowState() const {
    const QString id = window();
    if (id.isEmpty())
        return {};
    return field(
        tool(QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("WM_STATE")}),
        QStringLiteral("window state: (\\w+)"));
}

QString Orlo::windowGeometry() const {
    const QString id = window();
    const QString info = tool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id});
    return field(info, QStringLiteral("Width: (\\d+)")) + u'x' +
           field(info, QStringLiteral("Height: (\\d+)")) + u'+' +
           field(info, QStringLiteral("Absolute upper-left X: +(-?\\d+)")) + u'+' +
           field(info, QStringLiteral("Absolute upper-left Y: +(-?\\d+)"));
}

bool Orlo::minimizeWindow() {
    const QString id = window();
    return !id.isEmpty() &&
           runTool(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), id}).ok;
}

bool Orlo::clickTrayIcon() {
    const QString icon = trayIcon();
    if (icon.isEmpty())
        return false;
    // The pointer leaves the icon at once, so that no tool tip comes up.
    return runTool(QStringLiteral("xdotool"),
                   {QStringLiteral("mousemove"), QStringLiteral("--window"), icon,
                    QStringLiteral("5"), QStringLiteral("5"), QStringLiteral("click"),
                    QStringLiteral("1"), QStringLiteral("mousemove"), QStringLiteral("600"),
                    QStringLiteral("700")})
        .ok;
}

bool Orlo::pressKeys(const QString &keys) {
    const QString id = window();
    if (id.isEmpty())
        return false;
    return runTool(QStringLiteral("xdotool"),
                   {QStringLiteral("windowfocus"), QStringLiteral("--sync"), id})
               .ok &&
           runTool(QStringLiteral("xdotool"),
                   {QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys})
               .ok;
}

} // namespace e2e
