// SPDX-License-Identifier: MIT
// The notification-area icon and hiding to it.
#include "settings/settingsstore.h"
#include "ui/frmmain.h"

#include <QEvent>
#include <QSystemTrayIcon>

void frmMain::AddTrayIcon() {
    m_hasTray = QSystemTrayIcon::isSystemTrayAvailable();
    if (!m_tray) {
        m_tray = std::make_unique<QSystemTrayIcon>(windowIcon());
        m_tray->setToolTip(QString::fromUtf16(AppTitle));
        connect(m_tray.get(), &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::Trigger)
                        MainWndProc(WinMsg::TrayIcon, 0, WinMsg::LButtonUp);
                });
    }
    m_tray->show();
}

void frmMain::RemoveTrayIcon() {
    if (m_tray)
        m_tray->hide();
}

void frmMain::Form_Resize() {
    if (windowState() & Qt::WindowMinimized) {
        if (m_hasTray)
            hide();
    }
}

void frmMain::changeEvent(QEvent *event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}
