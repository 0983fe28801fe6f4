// SPDX-License-Identifier: MIT
#include "platform/system.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifdef Q_OS_UNIX
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

void makeOwnerOnly(QFileDevice &file) {
#ifdef Q_OS_WIN
    Q_UNUSED(file);
#else
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
#endif
}

void makeFolderOwnerOnly(const QString &path) {
#ifdef Q_OS_WIN
    Q_UNUSED(path);
#else
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
#endif
}

std::unique_ptr<QSettings> openUserSettings(const QString &app) {
#ifdef Q_OS_WIN
    // Where the first version of the program kept the same four values.
    return std::make_unique<QSettings>(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\") + app,
        QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, app);
#endif
}

QString localServerAddress(const QString &folder, const QString &name) {
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
    return name;
#else
    return folder + u'/' + name + QStringLiteral(".socket");
#endif
}

QString perUserName(const QString &name) {
#ifdef Q_OS_WIN
    return name + u'-' + qEnvironmentVariable("USERNAME");
#else
    return name;
#endif
}

QString runtimeFolder() {
#ifdef Q_OS_WIN
    // Qt's runtime location on Windows is the home folder.
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
#else
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
#endif
}

#ifdef Q_OS_UNIX
namespace {

// Written by the signal handler, read by the event loop.
int signalSockets[2] = {-1, -1};

void onTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalSockets[1], &byte, 1);
}

} // namespace
#endif

void quitOnTerminationSignals(QObject *context) {
#ifdef Q_OS_UNIX
    if (signalSockets[0] >= 0 ||
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalSockets[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [] {
        char byte = 0;
        [[maybe_unused]] const auto read = ::read(signalSockets[0], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);
#else
    Q_UNUSED(context);
#endif
}

void returnLargeBuffersToSystem() {
#ifdef __GLIBC__
    // Pictures come and go in blocks of tens of megabytes. With a fixed
    // threshold each such block is mapped on its own and handed back to the
    // system when freed, instead of staying in the heap after the picture
    // has gone (glibc would otherwise raise the threshold to 32 MB).
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
}
