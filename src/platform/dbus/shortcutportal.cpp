// SPDX-License-Identifier: MIT
#include "platform/dbus/shortcutportal.h"

#include "platform/apptitle.h"
#include "platform/dbus/structure.h"
#include "platform/logging.h"
#include "platform/windowsystem.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

const QString Service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString DesktopPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString Interface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString ShortcutId = QStringLiteral("show");

/// One shortcut of a session: its id and what the desktop is told of it,
/// (sa{sv}).
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};
using PortalShortcuts = QList<PortalShortcut>;

} // namespace

Q_DECLARE_METATYPE(PortalShortcut)

namespace {

QDBusArgument &operator<<(QDBusArgument &out, const PortalShortcut &shortcut) {
    return dbus::writeStructure(out, shortcut.id, shortcut.properties);
}
const QDBusArgument &operator>>(const QDBusArgument &in, PortalShortcut &shortcut) {
    return dbus::readStructure(in, shortcut.id, shortcut.properties);
}

/// The key as the desktop's shortcut files name it (an XKB keysym name).
QString keyName(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return QString(QChar(key - Qt::Key_A + 'a'));
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_F1 && key <= Qt::Key_F35))
        return QKeySequence(key).toString(QKeySequence::PortableText);
    static constexpr std::pair<int, const char *> names[] = {
        {Qt::Key_Space, "space"},
        {Qt::Key_Escape, "Escape"},
        {Qt::Key_Tab, "Tab"},
        {Qt::Key_Backspace, "BackSpace"},
        {Qt::Key_Return, "Return"},
        {Qt::Key_Insert, "Insert"},
        {Qt::Key_Delete, "Delete"},
        {Qt::Key_Home, "Home"},
        {Qt::Key_End, "End"},
        {Qt::Key_PageUp, "Page_Up"},
        {Qt::Key_PageDown, "Page_Down"},
        {Qt::Key_Left, "Left"},
        {Qt::Key_Up, "Up"},
        {Qt::Key_Right, "Right"},
        {Qt::Key_Down, "Down"},
        {Qt::Key_Print, "Print"},
        {Qt::Key_Pause, "Pause"},
    };
    for (const auto &[qt, name] : names) {
        if (qt == key)
            return QString::fromLatin1(name);
    }
    return QKeySequence(key).toString(QKeySequence::PortableText).toLower();
}

} // namespace

namespace dbus {

ShortcutPortal::ShortcutPortal(QObject *parent)
    : GlobalShortcut(parent) {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<PortalShortcuts>();
    QDBusConnection::sessionBus().connect(Service, DesktopPath, Interface,
                                          QStringLiteral("Activated"), this,
                                          SLOT(pressed(QDBusMessage)));
}

ShortcutPortal::~ShortcutPortal() {
    closeSession();
}

QString ShortcutPortal::triggerOf(const QKeySequence &keys) {
    if (keys.isEmpty())
        return {};
    const QKeyCombination combination = keys[0];
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    QString trigger;
    for (const auto &[modifier, name] : {std::pair{Qt::ControlModifier, "CTRL"},
                                         {Qt::AltModifier, "ALT"},
                                         {Qt::ShiftModifier, "SHIFT"},
                                         {Qt::MetaModifier, "LOGO"}}) {
        if (modifiers & modifier)
            trigger += QString::fromLatin1(name) + u'+';
    }
    return trigger + keyName(combination.key());
}

Result ShortcutPortal::bind(const QKeySequence &keys) {
    closeSession();
    m_keys = keys;
    m_told = false;
    if (keys.isEmpty())
        return {};
    if (!QDBusConnection::sessionBus().isConnected())
        return {Reason::NoShortcutPortal, {}, QStringLiteral("no session bus")};
    // A session first; the shortcut is bound once it is there.
    const QString token = QStringLiteral("orlo_session_%1").arg(++m_requests);
    ask(QStringLiteral("CreateSession"), {}, {{QStringLiteral("session_handle_token"), token}});
    return {};
}

void ShortcutPortal::ask(const QString &method, QList<QVariant> arguments, QVariantMap options) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    // The request object's path is known before the call: the answer cannot
    // come before it is listened to.
    const QString token = QStringLiteral("orlo_%1").arg(++m_requests);
    QString sender = bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    if (!m_pending.isEmpty())
        bus.disconnect(Service, m_pending, QStringLiteral("org.freedesktop.portal.Request"),
                       QStringLiteral("Response"), this, SLOT(answered(uint, QVariantMap)));
    m_pending = DesktopPath + QStringLiteral("/request/") + sender + u'/' + token;
    bus.connect(Service, m_pending, QStringLiteral("org.freedesktop.portal.Request"),
                QStringLiteral("Response"), this, SLOT(answered(uint, QVariantMap)));
    options.insert(QStringLiteral("handle_token"), token);
    QDBusMessage call = QDBusMessage::createMethodCall(Service, DesktopPath, Interface, method);
    call.setArguments(arguments << options);
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, method](QDBusPendingCallWatcher *done) {
                done->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *done;
                if (!reply.isError())
                    return;
                const QString error = reply.error().name();
                qCInfo(lcShortcut) << method << "failed:" << error << reply.error().message();
                // No portal, or one without global shortcuts (GNOME before 48, sway).
                const bool missing =
                    error.endsWith(u".ServiceUnknown") || error.endsWith(u".UnknownMethod") ||
                    error.endsWith(u".UnknownInterface") || error.endsWith(u".UnknownObject");
                fail(missing ? Reason::NoShortcutPortal : Reason::ShortcutRefused, error);
            });
}

void ShortcutPortal::answered(uint response, const QVariantMap &results) {
    if (message().path() != m_pending)
        return;
    if (response != 0) {
        fail(Reason::ShortcutRefused, QStringLiteral("response %1").arg(response));
        return;
    }
    if (m_session.isEmpty()) {
        const QVariant handle = results.value(QStringLiteral("session_handle"));
        m_session = handle.canConvert<QDBusObjectPath>() ? handle.value<QDBusObjectPath>().path()
                                                         : handle.toString();
        const PortalShortcuts shortcuts = {
            {ShortcutId,
             {{QStringLiteral("description"), QString::fromUtf16(AppTitle)},
              {QStringLiteral("preferred_trigger"), triggerOf(m_keys)}}}};
        ask(QStringLiteral("BindShortcuts"),
            {QVariant::fromValue(QDBusObjectPath(m_session)), QVariant::fromValue(shortcuts),
             QString()},
            {});
        return;
    }
    qCInfo(lcShortcut) << "portal bound" << triggerOf(m_keys) << "in" << m_session;
}

void ShortcutPortal::pressed(const QDBusMessage &signal) {
    const QList<QVariant> arguments = signal.arguments();
    if (!m_session.isEmpty() && arguments.size() >= 2 &&
        arguments[0].value<QDBusObjectPath>().path() == m_session && arguments[1] == ShortcutId) {
        // Activated(session, shortcut, timestamp, options): newer portals
        // hand over a token that lets the window take the focus.
        if (arguments.size() >= 4) {
            const auto options = qdbus_cast<QVariantMap>(arguments[3]);
            useActivationToken(options.value(QStringLiteral("activation_token")).toString());
        }
        emit activated();
    }
}

void ShortcutPortal::closeSession() {
    if (m_session.isEmpty())
        return;
    QDBusConnection::sessionBus().asyncCall(QDBusMessage::createMethodCall(
        Service, m_session, QStringLiteral("org.freedesktop.portal.Session"),
        QStringLiteral("Close")));
    m_session.clear();
}

void ShortcutPortal::fail(Reason reason, const QString &detail) {
    closeSession();
    if (m_told)
        return;
    m_told = true;
    emit failed({reason, m_keys.toString(QKeySequence::NativeText), detail});
}

} // namespace dbus
