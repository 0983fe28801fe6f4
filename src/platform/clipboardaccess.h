// SPDX-License-Identifier: MIT
#pragma once

#include "platform/result.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

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
    /// the session has one; otherwise the X11 watcher or the toolkit's
    /// clipboard is used (X11, XWayland, Windows).
    std::shared_ptr<wayland::Connection> dataControl;
    /// The window system the application is to use ("xcb", "wayland"), when
    /// this choice decides it; empty for the toolkit's own choice.
    QByteArray platform;
    /// The X server is this Wayland session's XWayland.
    bool xwayland = false;
    /// The X display watched, named where it cannot be told whose it is.
    QString display;
    /// Why nothing copied in the background can be seen; ok when it can.
    Result problem;
};

/// Looks at the session, before the application object is made. In a
/// Wayland session without data-control, the windows go to XWayland when
/// $DISPLAY names an X server that answers and is not another session's
/// (unless the user chose a platform with QT_QPA_PLATFORM).
ClipboardAccess chooseClipboardAccess();

/// The program's arguments with the window system chosen, for the
/// application object; the environment that programs started later inherit
/// stays as it was.
class ApplicationArguments {
public:
    ApplicationArguments(int argc, char **argv, const QByteArray &platform);
    int &count() { return m_count; }
    char **values() { return m_pointers.data(); }

private:
    std::vector<QByteArray> m_words;
    std::vector<char *> m_pointers;
    int m_count = 0;
};

/// The clipboard the way chosen, once the application object exists; it
/// takes the connection over.
std::unique_ptr<Clipboard> openClipboard(ClipboardAccess &access);
