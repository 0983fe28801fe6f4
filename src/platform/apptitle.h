// SPDX-License-Identifier: MIT
#pragma once

/// The application's title: the caption of every message box, the tip of the
/// tray icon, and the name the settings are filed under. (The main window's
/// caption adds the version.)
inline constexpr char16_t AppTitle[] = u"Orlo粘贴板";
