// SPDX-License-Identifier: MIT
#pragma once

#include "platform/result.h"

#include <QString>
#include <memory>

class Clipboard;
namespace wayland {
class Connection;
}

/// How this desktop session lets a program in the background see every copy.
///
/// X11 and Windows tell every program. A Wayland session tells only the
/// program that has the focus, except through its data-control protocol
/// (wlroots compositors such as sway and Hyprland, KDE's KWin); where the
/// compositor lacks it (GNOME), an X11 program sees every copy through
/// XWayland.
struct ClipboardAccess {
    /// The connection to the Wayland compositor's data-control protocol, when
    /// the session has one; otherwise the toolkit's clipboard is used (X11,
    /// XWayland, Windows).
    std::shared_ptr<wayland::Connection> dataControl;
    /// Why nothing copied in the background can be seen; ok when it can.
    Result problem;
};

/// Looks at the session, before the application object is made: in a
/// Wayland session without data-control, the windows are put on XWayland
/// (unless the user chose a platform with QT_QPA_PLATFORM).
ClipboardAccess chooseClipboardAccess();

/// The clipboard the way chosen, once the application object exists; it
/// takes the connection over.
std::unique_ptr<Clipboard> openClipboard(ClipboardAccess &access);
