// SPDX-License-Identifier: MIT
#include "platform/logging.h"

Q_LOGGING_CATEGORY(lcCapture, "orlo.capture", QtWarningMsg)
Q_LOGGING_CATEGORY(lcJournal, "orlo.journal", QtWarningMsg)
Q_LOGGING_CATEGORY(lcFiles, "orlo.files", QtWarningMsg)
Q_LOGGING_CATEGORY(lcX11, "orlo.x11", QtWarningMsg)
Q_LOGGING_CATEGORY(lcWayland, "orlo.wayland", QtWarningMsg)
Q_LOGGING_CATEGORY(lcTray, "orlo.tray", QtWarningMsg)
Q_LOGGING_CATEGORY(lcShortcut, "orlo.shortcut", QtWarningMsg)
