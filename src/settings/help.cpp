// SPDX-License-Identifier: MIT
// The help menu: the user manual, the forum and the About box.
#include "settings/help.h"

#include "app/module1.h"
#include "platform/dialogs.h"
#include "platform/launcher.h"
#include "platform/programfolder.h"
#include "settings/settingsstore.h"
#include "ui/frmmain.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>

QStringList manualCandidates(const QString &programFolder, const QString &executableFolder) {
    const QString name = QString::fromUtf16(ManualName);
    QStringList candidates;
    for (const QString &folder :
         {programFolder, executableFolder, installedDataFolder(executableFolder)}) {
        if (folder.isEmpty())
            continue;
        const QString path = folder + u'/' + name;
        if (!candidates.contains(path))
            candidates.append(path);
    }
    return candidates;
}

QString findManual(const QString &programFolder, const QString &executableFolder) {
    const QStringList candidates = manualCandidates(programFolder, executableFolder);
    for (const QString &path : candidates) {
        if (QFileInfo(path).isFile())
            return path;
    }
    // A missing manual is for the browser to report, like any missing page.
    return candidates.value(0);
}

QString aboutText() {
    return QStringList{QStringLiteral("Orlo粘贴板2.0版"), QString(),
                       QStringLiteral("作者：Orlo粘贴板开发组"), QString(),
                       QStringLiteral("二〇二六年十二月")}
        .join(QStringLiteral("\r\n"));
}

void frmMain::menuUser_Click() {
    const QString manual = findManual(m.AppPath, QCoreApplication::applicationDirPath());
    if (!m.platform.launcher.open(QUrl::fromLocalFile(manual)))
        m.platform.dialogs.message(
            QMessageBox::Critical,
            QStringLiteral("IE浏览器启动过程中发生未知错误，请检查IE浏览器。"),
            QString::fromUtf16(AppTitle));
}

void frmMain::menuDownload_Click() {
    const QString address = QString::fromUtf16(ForumAddress);
    if (!m.platform.launcher.open(QUrl(address)))
        m.platform.dialogs.message(
            QMessageBox::Critical,
            QStringLiteral("IE浏览器启动过程中发生未知错误，请手动启动浏览器访问") + address +
                QStringLiteral("。"),
            QString::fromUtf16(AppTitle));
}

void frmMain::menuAbout_Click() {
    m.platform.dialogs.message(QMessageBox::Information, aboutText(), QString::fromUtf16(AppTitle));
}
