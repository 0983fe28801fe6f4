// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

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

/// The next window brought to the front uses `token` (Wayland's
/// xdg-activation: a token from the desktop that started a later instance,
/// or from the shortcut portal), so that the compositor lets it take the
/// focus. An empty token changes nothing.
void useActivationToken(const QString &token);
