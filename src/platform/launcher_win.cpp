// SPDX-License-Identifier: MIT
#include "platform/launcher.h"

#include <QDir>
#include <QProcess>

bool DesktopLauncher::showFile(const QString &path) {
    // Explorer opens the folder with the file selected.
    QProcess explorer;
    explorer.setProgram(QStringLiteral("explorer.exe"));
    explorer.setNativeArguments(
        QStringLiteral("/select,\"%1\"").arg(QDir::toNativeSeparators(path)));
    return explorer.startDetached() || Launcher::showFile(path);
}
