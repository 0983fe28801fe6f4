// SPDX-License-Identifier: MIT
#include "platform/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString resolveProgramFolder(const QString &executableFolder) {
    const QFileInfo info(executableFolder);
    if (!executableFolder.isEmpty() && info.isDir() && info.isWritable())
        return QDir::fromNativeSeparators(executableFolder);
    return QDir::fromNativeSeparators(
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString programFolder() {
    return resolveProgramFolder(QCoreApplication::applicationDirPath());
}
