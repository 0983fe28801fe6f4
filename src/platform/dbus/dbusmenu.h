// SPDX-License-Identifier: MIT
#pragma once

class QMenu;
class QObject;

namespace dbus {

/// Lets `object`, once registered on a bus with its adaptors, offer `menu`
/// (not owned) the way notification areas read menus from other programs
/// (com.canonical.dbusmenu): its items in order, numbered from 1, with their
/// text, tick and whether they can be chosen; a click the area passes on
/// triggers the item.
void offerMenu(QObject &object, QMenu *menu);

} // namespace dbus
