// SPDX-License-Identifier: MIT
// What the benchmarks run the real program on: the system's clipboard as the
// program opens it, fake message boxes and launcher, and settings of its own.
#pragma once

#include "app/program.h"
#include "fakes.h"
#include "platform/clipboardaccess.h"

#include <memory>

namespace bench {

struct ProgramGround {
    explicit ProgramGround(const QString &settingsFile)
        : settings(settingsFile) {}
    Platform platform() { return {*clipboard, dialogs, clock, launcher}; }

    ClipboardAccess access;
    const std::unique_ptr<Clipboard> clipboard = openClipboard(access);
    FakeDialogs dialogs;
    SystemClock clock;
    FakeLauncher launcher;
    SettingsStore settings;
};

} // namespace bench
