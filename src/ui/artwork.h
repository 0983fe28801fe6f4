// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QPixmap>

/// The window and tray icon: a clipboard, drawn here. The installed icon
/// files are drawn from the same picture when the program is built.
QIcon windowIconArt();
/// The window icon drawn at `size` × `size` pixels.
QPixmap windowIconPicture(int size);
/// The picture of toolbar button `index` (0-3, 5-8).
QPixmap toolPicture(int index);
