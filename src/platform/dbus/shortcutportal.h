// SPDX-License-Identifier: MIT
#pragma once

#include "platform/globalshortcut.h"

#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QVariantMap>

namespace dbus {

/// The shortcut bound through the desktop's GlobalShortcuts portal (KDE
/// Plasma, GNOME 48 and newer, Hyprland): a session of the portal's with one
/// shortcut in it, the desktop asked to give it the combination chosen. A
/// new choice closes the session and opens another. Where no portal offers
/// it, failed() says so once.
class ShortcutPortal final : public GlobalShortcut, protected QDBusContext {
    Q_OBJECT
public:
    explicit ShortcutPortal(QObject *parent = nullptr);
    ~ShortcutPortal() override;

    Result bind(const QKeySequence &keys) override;

    /// A combination in the portal's words: "CTRL+ALT+v".
    static QString triggerOf(const QKeySequence &keys);

private slots:
    void answered(uint response, const QVariantMap &results);
    /// Activated(o session, s id, t time, a{sv} options).
    void pressed(const QDBusMessage &signal);

private:
    /// Calls a method of the portal that answers on a request object.
    void ask(const QString &method, QList<QVariant> arguments, QVariantMap options);
    void closeSession();
    void fail(Reason reason, const QString &detail);

    QKeySequence m_keys;
    QString m_session;
    QString m_pending; ///< the request object waited on
    bool m_told = false;
    unsigned m_requests = 0;
};

} // namespace dbus
