// SPDX-License-Identifier: MIT
#pragma once

#include "platform/x11/transferstate.h"

#include <xcb/xcb.h>

namespace x11 {

class Connection;

/// One type of the clipboard's content handed over by its owner: asked for
/// with ConvertSelection into a window and property of its own (owners that
/// send in pieces take any deletion on their window for the signal to send
/// the next), read when the owner says
/// it is there, and read piece by piece to the end when the owner sends it
/// incrementally (INCR: anything larger than one request, big texts,
/// screenshots), by the rules of a TransferState.
class Transfer final {
public:
    using State = TransferState::State;

    /// Asks for `target` as of `time`, the moment the owner took the clipboard.
    Transfer(Connection &connection, xcb_atom_t target, xcb_timestamp_t time, qint64 limit,
             fetch::Budget &budget, qint64 nowMs);
    ~Transfer();
    Transfer(const Transfer &) = delete;
    Transfer &operator=(const Transfer &) = delete;

    /// Handles the event when it concerns this transfer; false when not.
    bool selectionNotify(const xcb_selection_notify_event_t &event, qint64 nowMs);
    bool propertyNotify(const xcb_property_notify_event_t &event, qint64 nowMs);
    qint64 deadline() const { return m_had.deadline(); }
    void expire() { m_had.expire(); }

    State state() const { return m_had.state(); }
    bool finished() const { return m_had.finished(); }
    xcb_atom_t target() const { return m_target; }
    xcb_atom_t type() const { return m_type; } ///< of the data, as the owner gave it
    const QByteArray &data() const { return m_had.data(); }
    QByteArray takeData() { return m_had.takeData(); }
    void wipe() { m_had.wipe(); }

private:
    /// Reads the property, deleting it, and hands its value to `read`.
    template <typename Read> void readProperty(Read read);

    Connection &m_connection;
    xcb_window_t m_window;
    xcb_atom_t m_target, m_property;
    xcb_timestamp_t m_time;
    xcb_atom_t m_type = XCB_NONE;
    TransferState m_had;
};

} // namespace x11
