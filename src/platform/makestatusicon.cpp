// SPDX-License-Identifier: MIT
#include "platform/statusicon.h"

#include "platform/logging.h"
#include "platform/windowsystem.h"

#include <QSystemTrayIcon>

#ifdef ORLO_STATUS_NOTIFIER
#include "platform/dbus/statusnotifier.h"
#endif

namespace {

/// The toolkit's tray icon. On X11 a tray that starts later takes the icon
/// by itself; on Windows the taskbar's area is always there.
class QtStatusIcon final : public StatusIcon {
public:
    QtStatusIcon(const QIcon &icon, QMenu *menu)
        : m_icon(icon) {
        m_icon.setContextMenu(menu);
        // Only a left click is the main action; the right button opens the
        // menu, the second press of a double click and the middle button do
        // nothing.
        connect(&m_icon, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::Trigger)
                        emit activated();
                });
    }

    void show() override {
        m_icon.show();
        if (!QSystemTrayIcon::isSystemTrayAvailable())
            qCInfo(lcTray) << "no notification area: the icon waits for one";
    }
    void hide() override { m_icon.hide(); }
    bool isVisible() const override { return m_icon.isVisible(); }
    bool isShown() const override {
        return m_icon.isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
    }
    void setToolTip(const QString &tip) override { m_icon.setToolTip(tip); }
    QString toolTip() const override { return m_icon.toolTip(); }

private:
    QSystemTrayIcon m_icon;
};

} // namespace

std::unique_ptr<StatusIcon> makeStatusIcon(const QIcon &icon, QMenu *menu) {
#ifdef ORLO_STATUS_NOTIFIER
    // The toolkit decides once, at its first icon, whether a D-Bus tray is
    // there: on Wayland, where no X11 tray can stand in, an area that comes
    // later would never get the icon. On X11 the program's own item where an
    // area reads one (the same title and menu as on Wayland, where the
    // toolkit's would be named after the application), the toolkit's X11
    // icon where not.
    if (std::unique_ptr<StatusIcon> item = dbus::makeStatusNotifierIcon(icon, menu, !onWayland()))
        return item;
#endif
    return std::make_unique<QtStatusIcon>(icon, menu);
}
