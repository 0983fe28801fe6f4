// SPDX-License-Identifier: MIT
#include "platform/windowsystem.h"

#include <QGuiApplication>

bool onWayland() {
    // "wayland", and the plugins of the same family ("wayland-egl" …).
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool tellsOfMinimising() {
    return !onWayland();
}

bool placesWindows() {
    return !onWayland();
}
