// SPDX-License-Identifier: MIT
#include "platform/system.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <csignal>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

void makeOwnerOnly(QFileDevice &file) {
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

bool makeFolderOwnerOnly(const QString &path) {
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

std::unique_ptr<QSettings> openUserSettings(const QString &app) {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, app);
}

QString localServerAddress(const QString &folder, const QString &name) {
    return folder + u'/' + name + QStringLiteral(".socket");
}

QString perUserName(const QString &name) {
    return name;
}

QString runtimeFolder() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

namespace {

// Written by the signal handler, read by the event loop.
int signalSockets[2] = {-1, -1};

void onTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalSockets[1], &byte, 1);
}

} // namespace

void quitOnTerminationSignals(QObject *context) {
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
}

int endProcess(int code) {
    return code;
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

void trimMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

void nameThisThread(const char *name) {
    pthread_setname_np(pthread_self(), name);
}
