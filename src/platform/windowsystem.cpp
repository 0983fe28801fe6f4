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

void useActivationToken(const QString &token) {
    // Qt's Wayland plugin takes the token from here at the next activation.
    if (!token.isEmpty() && onWayland())
        qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
}
