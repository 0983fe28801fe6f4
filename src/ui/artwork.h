// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QPixmap>

/// The window and tray icon: a clipboard, drawn here.
QIcon windowIconArt();
/// The picture of toolbar button `index` (0-3, 5-8).
QPixmap toolPicture(int index);
