// SPDX-License-Identifier: MIT
#include "platform/launcher.h"

#include "platform/logging.h"

#ifdef ORLO_DBUS
#include <QDBusConnection>
#include <QDBusMessage>
#endif

bool DesktopLauncher::showFile(const QString &path) {
#ifdef ORLO_DBUS
    // The file managers' own interface (Nautilus, Dolphin, Nemo, Caja, Thunar
    // …) selects the file; without one, the folder is opened.
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)} << QString();
    const QDBusMessage answer = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
    if (answer.type() == QDBusMessage::ReplyMessage)
        return true;
    qCInfo(lcFiles) << "no file manager to show a file in:" << answer.errorName();
#endif
    return Launcher::showFile(path);
}
