// SPDX-License-Identifier: MIT
#pragma once

#include "platform/globalshortcut.h"

#include <QSocketNotifier>
#include <memory>
#include <vector>
#include <xcb/xcb.h>

namespace x11 {

/// The shortcut as a passive grab of its keys on the root window of $DISPLAY
/// (also with NumLock and CapsLock on), on an X connection of its own. Its
/// events are few: they are read on the window thread, when the connection's
/// socket has something.
class KeyGrab final : public GlobalShortcut {
    Q_OBJECT
public:
    /// Nothing, and why, when no X server answers at $DISPLAY.
    static std::unique_ptr<KeyGrab> open(Result *whyNot);
    ~KeyGrab() override;

    Result bind(const QKeySequence &keys) override;
    /// Asks the window manager to activate `window` with the time of the key
    /// press: some refuse the focus to a request without a recent time.
    void giveFocus(QWindow *window) override;

private:
    KeyGrab(xcb_connection_t *xcb, xcb_window_t root);
    void readEvents();
    /// Lets go of the keys grabbed, with every variant of the modifiers.
    void release();

    xcb_connection_t *m_xcb;
    xcb_window_t m_root;
    std::vector<xcb_keycode_t> m_codes;
    uint16_t m_modifiers = 0;
    xcb_timestamp_t m_pressed = XCB_CURRENT_TIME;
    QSocketNotifier m_readable;
};

} // namespace x11
