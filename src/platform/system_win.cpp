// SPDX-License-Identifier: MIT
#include "platform/system.h"

#include <QSettings>
#include <QStandardPaths>
#include <cstdio>
#include <windows.h>

void makeOwnerOnly(QFileDevice &) {}

bool makeFolderOwnerOnly(const QString &) {
    return true;
}

std::unique_ptr<QSettings> openUserSettings(const QString &app) {
    // Where the first version of the program kept the same four values.
    return std::make_unique<QSettings>(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\") + app,
        QSettings::NativeFormat);
}

QString localServerAddress(const QString &, const QString &name) {
    return name;
}

QString perUserName(const QString &name) {
    return name + u'-' + qEnvironmentVariable("USERNAME");
}

QString runtimeFolder() {
    // Qt's runtime location on Windows is the home folder.
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

void quitOnTerminationSignals(QObject *) {}

void returnLargeBuffersToSystem() {}

int endProcess(int code) {
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), UINT(code));
    return code;
}

void trimMemory() {}

void nameThisThread(const char *) {
    // Named threads are a debugging aid; the Windows build goes without.
}
