// SPDX-License-Identifier: MIT
#include "platform/launcher.h"

#include <QDesktopServices>

bool DesktopLauncher::open(const QUrl &url) {
    return QDesktopServices::openUrl(url);
}
