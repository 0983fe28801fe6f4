// SPDX-License-Identifier: MIT
#pragma once

#include "platform/result.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <memory>
#include <vector>
#include <xcb/xcb.h>

namespace x11 {

/// A connection of the watcher's own to an X server, with XFixes to hear
/// who takes the clipboard and a hidden window that clipboard owners hand
/// their data to. Used from one thread.
class Connection final {
public:
    /// Connects to `display` (empty: $DISPLAY); nothing, and why, when there
    /// is no X server there or it lacks XFixes.
    static std::unique_ptr<Connection> open(const QByteArray &display, Result *whyNot);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    xcb_connection_t *xcb() const { return m_xcb; }
    xcb_window_t window() const { return m_window; }
    /// A hidden window for one transfer to receive into.
    xcb_window_t takeWindow();
    /// The transfer is over: its window serves another (`reuse`), or goes.
    void giveBack(xcb_window_t window, bool reuse);
    /// The first event number of XFixes on this server.
    uint8_t xfixesEvent() const { return m_xfixesEvent; }
    /// From now on the changes of the CLIPBOARD selection are told.
    void listenToClipboard();

    xcb_atom_t atom(const QByteArray &name);
    /// The names of `atoms`, asked for together.
    QStringList names(const std::vector<xcb_atom_t> &atoms);
    /// A property of the hidden window for one transfer; each in turn, so
    /// that a late answer to a transfer given up lands where no one reads.
    xcb_atom_t nextProperty();

    const xcb_atom_t clipboard, targets, incr;

private:
    Connection(xcb_connection_t *xcb, xcb_atom_t clipboard, xcb_atom_t targets, xcb_atom_t incr);

    xcb_connection_t *m_xcb;
    xcb_window_t m_window = XCB_NONE;
    uint8_t m_xfixesEvent = 0;
    QHash<QByteArray, xcb_atom_t> m_atoms;
    QHash<xcb_atom_t, QString> m_names;
    std::vector<xcb_window_t> m_spareWindows;
    unsigned m_nextProperty = 0;
};

/// Whether the X server that `xcb` talks to is this Wayland session's
/// XWayland: the compositor of $WAYLAND_DISPLAY listens on its socket, or
/// started the server (within a few generations).
enum class Belongs { ToThisSession, Elsewhere, CannotTell };
Belongs serverBelongsToWaylandSession(xcb_connection_t *xcb);

} // namespace x11
