// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <memory>

class QAction;
class QMenu;

/// The icon in the notification area. A left click asks for the main window;
/// its menu shows the window, switches monitoring and ends the program.
class TrayIcon final : public QObject {
    Q_OBJECT
public:
    /// `monitoring` and `exit` are the main window's own items.
    TrayIcon(const QIcon &icon, QAction *monitoring, QAction *exit, QObject *parent = nullptr);
    ~TrayIcon() override;

    /// Puts the icon up; false when the desktop has no notification area now.
    bool show();
    void hide();
    /// Whether the icon is up in a notification area that is still there.
    bool isShown() const;
    QSystemTrayIcon *icon() const { return m_icon.get(); }

signals:
    void showWindowRequested();

private slots:
    void activated(QSystemTrayIcon::ActivationReason reason);

private:
    // The menu has no widget to own it; it outlives the icon that shows it.
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_icon;
};
