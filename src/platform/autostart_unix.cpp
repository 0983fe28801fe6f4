// SPDX-License-Identifier: MIT
#include "platform/autostart.h"

#include "platform/apptitle.h"
#include "platform/logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const QString Name = QStringLiteral("orlo-clipboard");

QString entryPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/") + Name + QStringLiteral(".desktop");
}

/// The command in a desktop entry's Exec: the installed program's name, or
/// this executable's path, quoted as the entry format wants it.
QString command() {
    const QString self = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    const QString installed = QStandardPaths::findExecutable(Name);
    if (!installed.isEmpty() && QFileInfo(installed).canonicalFilePath() == self)
        return Name;
    QString quoted = self;
    for (const QChar special : {u'\\', u'"', u'`', u'$'})
        quoted.replace(special, QStringLiteral("\\") + special);
    return u'"' + quoted.replace(u'%', QStringLiteral("%%")) + u'"';
}

} // namespace

namespace autostart {

bool enabled() {
    return QFileInfo::exists(entryPath());
}

Result setEnabled(bool on) {
    const QString path = entryPath();
    if (!on) {
        if (!QFileInfo::exists(path) || QFile::remove(path))
            return {};
        return {Reason::AutostartUnwritable, QDir::toNativeSeparators(path), {}};
    }
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile entry(path);
    const QByteArray text =
        "[Desktop Entry]\nType=Application\nName=" + QString::fromUtf16(AppTitle).toUtf8() +
        "\nExec=" + command().toUtf8() + "\nIcon=" + Name.toUtf8() +
        "\nTerminal=false\nX-GNOME-Autostart-enabled=true\n";
    if (entry.open(QIODevice::WriteOnly) && entry.write(text) == text.size() && entry.commit())
        return {};
    qCWarning(lcFiles) << "autostart entry not written:" << entry.errorString();
    return {Reason::AutostartUnwritable, QDir::toNativeSeparators(path), entry.errorString()};
}

} // namespace autostart
