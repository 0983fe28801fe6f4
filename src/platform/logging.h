// SPDX-License-Identifier: MIT
// The program's logging categories. Warnings are on and debug lines off by
// default; QT_LOGGING_RULES="orlo.*.debug=true" shows everything. A line
// never holds clipboard content, only sizes and types.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcCapture)
Q_DECLARE_LOGGING_CATEGORY(lcJournal)
Q_DECLARE_LOGGING_CATEGORY(lcFiles)
Q_DECLARE_LOGGING_CATEGORY(lcX11)
Q_DECLARE_LOGGING_CATEGORY(lcWayland)
Q_DECLARE_LOGGING_CATEGORY(lcTray)
Q_DECLARE_LOGGING_CATEGORY(lcShortcut)
