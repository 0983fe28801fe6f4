// SPDX-License-Identifier: MIT
// D-Bus structures of plain fields, written and read field by field; calls
// refused.
#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>

namespace dbus {

/// Writes `fields` as one structure, in their order.
template <typename... Fields>
QDBusArgument &writeStructure(QDBusArgument &out, const Fields &...fields) {
    out.beginStructure();
    (out << ... << fields);
    out.endStructure();
    return out;
}

/// Reads one structure into `fields`, in their order.
template <typename... Fields>
const QDBusArgument &readStructure(const QDBusArgument &in, Fields &...fields) {
    in.beginStructure();
    (in >> ... >> fields);
    in.endStructure();
    return in;
}

/// Answers `call` (on the session bus) with
/// org.freedesktop.DBus.Error.InvalidArgs instead of what its slot returns:
/// at once, where a caller would otherwise wait out its whole timeout.
inline void refuse(const QDBusMessage &call, const QString &why) {
    call.setDelayedReply(true);
    QDBusConnection::sessionBus().send(call.createErrorReply(QDBusError::InvalidArgs, why));
}

} // namespace dbus
