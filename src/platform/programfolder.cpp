// SPDX-License-Identifier: MIT
#include "platform/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString installedDataFolder(const QString &executableFolder) {
    if (executableFolder.isEmpty())
        return {};
    return QDir::cleanPath(QDir::fromNativeSeparators(executableFolder) + u'/' +
                           QStringLiteral(ORLO_DATA_RELATIVE));
}

QString resolveProgramFolder(const QString &executableFolder) {
    const QFileInfo info(executableFolder);
    // Installed programs share their folder with others (and /usr/bin is
    // writable for root): data never goes there.
    const bool installed = QFileInfo(installedDataFolder(executableFolder)).isDir();
    if (!installed && !executableFolder.isEmpty() && info.isDir() && info.isWritable())
        return QDir::fromNativeSeparators(executableFolder);
    return QDir::fromNativeSeparators(
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString programFolder() {
    return resolveProgramFolder(QCoreApplication::applicationDirPath());
}
