// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <memory>

class QIcon;
class QMenu;

/// The program's icon in the desktop's notification area, as the desktop
/// takes it: the X11 or Windows tray through the toolkit, or on a Wayland
/// desktop, or an X11 one with a StatusNotifierWatcher, a StatusNotifierItem
/// over the session bus. Once put up it is
/// shown whenever an area is there, also one that comes, or comes back,
/// after the program started.
class StatusIcon : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~StatusIcon() override = default;

    /// Puts the icon up: at once where an area is there, else once one comes.
    virtual void show() = 0;
    virtual void hide() = 0;
    /// Put up, whether or not an area shows it now.
    virtual bool isVisible() const = 0;
    /// Put up, and an area shows it now.
    virtual bool isShown() const = 0;
    /// Whether shownChanged() tells of an area that comes, or goes.
    virtual bool hearsOfLateAreas() const { return false; }
    /// Its tip: the first line is its title, the others say more.
    virtual void setToolTip(const QString &tip) = 0;
    virtual QString toolTip() const = 0;

signals:
    /// The icon's main action: a left click.
    void activated();
    /// A notification area took the icon, or the one that showed it went
    /// away (told where the desktop tells it: the StatusNotifierItem).
    void shownChanged(bool shown);
};

/// The icon as this desktop shows it, with `menu` (not owned, outliving the
/// icon) on the right button.
std::unique_ptr<StatusIcon> makeStatusIcon(const QIcon &icon, QMenu *menu);
