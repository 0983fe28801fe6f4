// SPDX-License-Identifier: MIT
#include "ui/helpcommands.h"

#include "core/messages.h"
#include "platform/dialogs.h"
#include "platform/launcher.h"
#include "platform/logging.h"
#include "platform/programfolder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>

namespace {

/// Where the user manual (readme.htm) is looked for, in this order: the
/// program folder, the executable's folder, the installed data folder.
QStringList manualCandidates(const QString &programFolder, const QString &executableFolder) {
    QStringList candidates;
    for (const QString &folder :
         {programFolder, executableFolder, installedDataFolder(executableFolder)}) {
        if (folder.isEmpty())
            continue;
        const QString path = folder + QStringLiteral("/readme.htm");
        if (!candidates.contains(path))
            candidates.append(path);
    }
    return candidates;
}

/// The first candidate that exists; when none does, the first candidate.
QString findManual(const QString &programFolder, const QString &executableFolder) {
    const QStringList candidates = manualCandidates(programFolder, executableFolder);
    for (const QString &path : candidates) {
        if (QFileInfo(path).isFile())
            return path;
    }
    // A missing manual is for the browser to report, like any missing page.
    return candidates.value(0);
}

} // namespace

HelpCommands::HelpCommands(Launcher &launcher, Dialogs &dialogs, QString programFolder,
                           QObject *parent)
    : QObject(parent)
    , m_launcher(launcher)
    , m_dialogs(dialogs)
    , m_programFolder(std::move(programFolder)) {}

void HelpCommands::openManual() {
    const QString manual = findManual(m_programFolder, QCoreApplication::applicationDirPath());
    if (!m_launcher.open(QUrl::fromLocalFile(manual)))
        tell({Reason::ManualNotOpened, manual, {}});
}

void HelpCommands::openForum() {
    const QString address = QString::fromUtf16(ForumAddress);
    if (!m_launcher.open(QUrl(address)))
        tell({Reason::ForumNotOpened, address, {}});
}

void HelpCommands::tell(const Result &failure) {
    qCWarning(lcFiles) << "no browser started:" << failure;
    const UserMessage message = messageFor(failure);
    m_dialogs.message(message.icon, message.text);
}

void HelpCommands::showAbout() {
    const QStringList lines{QStringLiteral("Orlo粘贴板2.0版"), QString(),
                            QStringLiteral("作者：Orlo粘贴板开发组"), QString(),
                            QStringLiteral("二〇二六年十二月")};
    m_dialogs.message(MessageIcon::Information, lines.join(QStringLiteral("\r\n")));
}
