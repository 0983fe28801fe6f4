// SPDX-License-Identifier: MIT
#pragma once

#include "platform/disksync.h"
#include "platform/textrecognizer.h"

class Clipboard;
class Clock;
class Dialogs;
class Launcher;

/// The pieces of the desktop the program talks to; the real ones in the
/// program, fakes in tests. Not owned.
struct Platform {
    Clipboard &clipboard;
    Dialogs &dialogs;
    Clock &clock;
    Launcher &launcher;
    const Disk &disk = systemDisk();
    /// Reads the words in pictures, from a thread of its own.
    TextRecognizer &recognizer = noTextRecognizer();
    /// Another, for the saved pictures, from another thread.
    TextRecognizer &savedRecognizer = noTextRecognizer();
};
