// SPDX-License-Identifier: MIT
#include "ui/trayicon.h"

#include "platform/apptitle.h"
#include "platform/statusicon.h"

#include <QMenu>

TrayIcon::TrayIcon(const QIcon &icon, QAction *monitoring, QAction *exit, QObject *parent)
    : QObject(parent)
    , m_menu(std::make_unique<QMenu>()) {
    QAction *showWindow = m_menu->addAction(QStringLiteral("显示主窗口"));
    showWindow->setObjectName(QStringLiteral("trayShowWindow"));
    connect(showWindow, &QAction::triggered, this, &TrayIcon::showWindowRequested);
    m_menu->addAction(monitoring);
    m_menu->addSeparator();
    m_menu->addAction(exit);
    m_icon = makeStatusIcon(icon, m_menu.get());
    m_icon->setToolTip(QString::fromUtf16(AppTitle));
    connect(m_icon.get(), &StatusIcon::activated, this, &TrayIcon::showWindowRequested);
    connect(m_icon.get(), &StatusIcon::shownChanged, this, &TrayIcon::shownChanged);
}

TrayIcon::~TrayIcon() = default;

bool TrayIcon::show() {
    m_icon->show();
    return m_icon->isShown();
}

void TrayIcon::hide() {
    m_icon->hide();
}

bool TrayIcon::isShown() const {
    return m_icon->isShown();
}

bool TrayIcon::hearsOfLateAreas() const {
    return m_icon->hearsOfLateAreas();
}

void TrayIcon::setToolTip(const QString &tip) {
    m_icon->setToolTip(tip);
}
