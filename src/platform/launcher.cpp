// SPDX-License-Identifier: MIT
#include "platform/launcher.h"

#include <QDesktopServices>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>

bool DesktopLauncher::open(const QUrl &url) {
    return QDesktopServices::openUrl(url);
}

QString defaultBrowserName() {
    // The freedesktop.org tools name the browser's desktop entry, which
    // holds the name in the user's language. Where they are not (Windows,
    // a bare session), the browser goes unnamed.
    QProcess query;
    query.start(QStringLiteral("xdg-settings"),
                {QStringLiteral("get"), QStringLiteral("default-web-browser")});
    const QString entry = query.waitForFinished(3000)
                              ? QString::fromUtf8(query.readAllStandardOutput()).trimmed()
                              : QString();
    const QString path = entry.isEmpty()
                             ? QString()
                             : QStandardPaths::locate(QStandardPaths::ApplicationsLocation, entry);
    QFile file(path);
    QString name;
    if (!path.isEmpty() && file.open(QIODevice::ReadOnly)) {
        const QString localized = QStringLiteral("Name[%1]=").arg(QLocale().name());
        bool inEntry = false;
        for (const QByteArray &raw : file.readAll().split('\n')) {
            const QString line = QString::fromUtf8(raw).trimmed();
            if (line.startsWith(u'['))
                inEntry = line == u"[Desktop Entry]"; // actions have names of their own
            if (!inEntry)
                continue;
            if (line.startsWith(localized))
                return line.mid(localized.size());
            if (name.isEmpty() && line.startsWith(u"Name="))
                name = line.mid(5);
        }
    }
    return name.isEmpty() ? QStringLiteral("默认浏览器") : name;
}
