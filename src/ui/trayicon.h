// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <memory>

class QAction;
class QIcon;
class QMenu;
class StatusIcon;

/// The icon in the notification area. A left click asks for the main window;
/// its menu shows the window, switches monitoring and ends the program.
class TrayIcon final : public QObject {
    Q_OBJECT
public:
    /// `monitoring` and `exit` are the main window's own items.
    TrayIcon(const QIcon &icon, QAction *monitoring, QAction *exit, QObject *parent = nullptr);
    ~TrayIcon() override;

    /// Puts the icon up, also for a notification area that comes later;
    /// whether one shows it now.
    bool show();
    void hide();
    /// Whether the icon is up in a notification area that is still there.
    bool isShown() const;
    /// Whether a notification area that comes, or goes, is heard of.
    bool hearsOfLateAreas() const;
    /// Its tip: "Orlo粘贴板", and under it what the user should know.
    void setToolTip(const QString &tip);
    const StatusIcon &icon() const { return *m_icon; }
    QMenu *menu() const { return m_menu.get(); }

signals:
    void showWindowRequested();
    /// A notification area took the icon, or the one that showed it went away.
    void shownChanged(bool shown);

private:
    // The menu has no widget to own it; it outlives the icon that shows it.
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<StatusIcon> m_icon;
};
