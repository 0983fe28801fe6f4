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
        // Only a left click reaches the window; the right button, the second
        // press of a double click and the middle button do nothing.
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
    if (!(windowState() & Qt::WindowMinimized))
        return;
    // Hidden only while the icon can bring the window back: a notification
    // area may come or go while the program runs. Otherwise the window stays
    // minimised on the taskbar.
    if (m_tray && m_tray->isVisible() && QSystemTrayIcon::isSystemTrayAvailable())
        hide();
}

void frmMain::changeEvent(QEvent *event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}
