// SPDX-License-Identifier: MIT
#pragma once

#include "platform/result.h"

/// Starting with the user's desktop session. Linux: an entry in
/// $XDG_CONFIG_HOME/autostart that runs the installed program by its name,
/// or this executable by its path where it is not the installed one.
/// Windows: a value under HKCU\Software\Microsoft\Windows\CurrentVersion\Run.
/// A program started so starts hidden behind its tray icon, as at every start.
namespace autostart {

/// Whether the program starts at login now.
bool enabled();
/// Makes it start at login, or no longer; why not when that failed.
Result setEnabled(bool on);

} // namespace autostart
