// SPDX-License-Identifier: MIT
#include "platform/system.h"

#include <QSettings>
#include <QStandardPaths>

#include <io.h>

void makeOwnerOnly(QFileDevice &) {}

void makeFolderOwnerOnly(const QString &) {}

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

void trimMemory() {}

int duplicateFile(int fd) {
    return ::_dup(fd);
}

void syncAndClose(int fd) {
    ::_commit(fd);
    ::_close(fd);
}

void closeFile(int fd) {
    ::_close(fd);
}

bool openFilesBlockRenames() {
    return true;
}
