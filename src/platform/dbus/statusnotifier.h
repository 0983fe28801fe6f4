// SPDX-License-Identifier: MIT
#pragma once

#include "platform/statusicon.h"

#include <memory>

namespace dbus {

/// The icon as a StatusNotifierItem of the program's own on the session bus
/// (KDE Plasma, GNOME with the AppIndicator extension, waybar …), with its
/// menu offered alongside. It follows the area's StatusNotifierWatcher: it
/// registers when one is there or comes, and again when one comes back.
/// Null when there is no session bus, or with `onlyWithArea` when no
/// watcher is there now.
std::unique_ptr<StatusIcon> makeStatusNotifierIcon(const QIcon &icon, QMenu *menu,
                                                   bool onlyWithArea = false);

} // namespace dbus
