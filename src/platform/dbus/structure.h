// SPDX-License-Identifier: MIT
// D-Bus structures of plain fields, written and read field by field.
#pragma once

#include <QDBusArgument>

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

} // namespace dbus
