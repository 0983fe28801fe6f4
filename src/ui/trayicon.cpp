// SPDX-License-Identifier: MIT
#include "ui/trayicon.h"

#include "platform/apptitle.h"
#include "platform/logging.h"

#include <QMenu>

TrayIcon::TrayIcon(const QIcon &icon, QAction *monitoring, QAction *exit, QObject *parent)
    : QObject(parent)
    , m_menu(std::make_unique<QMenu>())
    , m_icon(std::make_unique<QSystemTrayIcon>(icon)) {
    m_icon->setToolTip(QString::fromUtf16(AppTitle));
    QAction *showWindow = m_menu->addAction(QStringLiteral("显示主窗口"));
    showWindow->setObjectName(QStringLiteral("trayShowWindow"));
    connect(showWindow, &QAction::triggered, this, &TrayIcon::showWindowRequested);
    m_menu->addAction(monitoring);
    m_menu->addSeparator();
    m_menu->addAction(exit);
    m_icon->setContextMenu(m_menu.get());
    connect(m_icon.get(), &QSystemTrayIcon::activated, this, &TrayIcon::activated);
}

TrayIcon::~TrayIcon() = default;

bool TrayIcon::show() {
    // Shown also without a notification area: one that comes later takes it.
    m_icon->show();
    const bool available = QSystemTrayIcon::isSystemTrayAvailable();
    if (!available)
        qCInfo(lcTray) << "no notification area: the window stays reachable instead";
    return available;
}

void TrayIcon::hide() {
    m_icon->hide();
}

bool TrayIcon::isShown() const {
    return m_icon->isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::activated(QSystemTrayIcon::ActivationReason reason) {
    // Only a left click reaches the window; the right button opens the menu,
    // the second press of a double click and the middle button do nothing.
    if (reason == QSystemTrayIcon::Trigger)
        emit showWindowRequested();
}
