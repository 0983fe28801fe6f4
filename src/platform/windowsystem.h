// SPDX-License-Identifier: MIT
#pragma once

/// Whether the program's windows are on a Wayland compositor (not on
/// XWayland, not offscreen).
bool onWayland();

/// Whether the window system tells the program that its window was
/// minimised, as X11 and Windows do. A Wayland compositor minimises a window
/// without a word to it (xdg-shell has no such state), so there a window the
/// program believes is up may be out of view.
bool tellsOfMinimising();

/// Whether a program may say where its window goes, as on X11 and Windows.
/// A Wayland compositor places every window itself.
bool placesWindows();
