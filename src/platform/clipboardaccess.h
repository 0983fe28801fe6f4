// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>

class Clipboard;

/// How this desktop session lets a program in the background see every copy.
///
/// X11 and Windows tell every program. A Wayland session tells only the
/// program that has the focus, except through its data-control protocol
/// (wlroots compositors such as sway and Hyprland, KDE's KWin); where the
/// compositor lacks it (GNOME), an X11 program sees every copy through
/// XWayland.
struct ClipboardAccess {
    enum class Way {
        /// The toolkit's clipboard: X11, XWayland, Windows.
        Toolkit,
        /// The Wayland compositor's data-control protocol.
        DataControl,
    };
    Way way = Way::Toolkit;
    /// Why nothing copied in the background can be seen; empty when it can.
    QString problem;
};

/// Looks at the session, before the application object is made: in a
/// Wayland session without data-control, the windows are put on XWayland
/// (unless the user chose a platform with QT_QPA_PLATFORM).
ClipboardAccess chooseClipboardAccess();

/// The clipboard the way chosen; once the application object exists.
std::unique_ptr<Clipboard> openClipboard(const ClipboardAccess &access);
