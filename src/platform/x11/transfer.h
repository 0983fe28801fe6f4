// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fetchpolicy.h"

#include <QByteArray>
#include <xcb/xcb.h>

namespace x11 {

class Connection;

/// One type of the clipboard's content handed over by its owner: asked for
/// with ConvertSelection into a window and property of its own (owners that
/// send in pieces take any deletion on their window for the signal to send
/// the next), read when the owner says
/// it is there, and read piece by piece to the end when the owner sends it
/// incrementally (INCR: anything larger than one request, big texts,
/// screenshots). Bounded in size (`limit`, and what is left of `budget`,
/// which its bytes are taken from while it holds them), and in time: an
/// owner silent for fetch::IdleMs, or still sending after fetch::CapMs, is
/// given up on.
class Transfer final {
public:
    /// TooLarge: past its limit; CutOff: past the budget.
    enum class State { Asked, Incremental, Done, Refused, TooLarge, CutOff, TimedOut };

    /// Asks for `target` as of `time`, the moment the owner took the clipboard.
    Transfer(Connection &connection, xcb_atom_t target, xcb_timestamp_t time, qint64 limit,
             fetch::Budget &budget, qint64 nowMs);
    ~Transfer();
    Transfer(const Transfer &) = delete;
    Transfer &operator=(const Transfer &) = delete;

    /// Handles the event when it concerns this transfer; false when not.
    bool selectionNotify(const xcb_selection_notify_event_t &event, qint64 nowMs);
    bool propertyNotify(const xcb_property_notify_event_t &event, qint64 nowMs);
    /// When it is to be given up, unless it ends or progresses before.
    qint64 deadline() const;
    void expire();

    State state() const { return m_state; }
    bool finished() const { return m_state != State::Asked && m_state != State::Incremental; }
    xcb_atom_t target() const { return m_target; }
    xcb_atom_t type() const { return m_type; } ///< of the data, as the owner gave it
    const QByteArray &data() const { return m_data; }
    /// The data, with what it took of the budget: the caller gives that back.
    QByteArray takeData();
    /// Overwrites what was read and drops it (a secret's).
    void wipe();

private:
    /// Reads the property, deleting it; false when the transfer ended.
    bool readProperty();
    void finish(State state);

    Connection &m_connection;
    xcb_window_t m_window;
    xcb_atom_t m_target, m_property;
    xcb_timestamp_t m_time;
    qint64 m_limit;
    fetch::Budget &m_budget;
    qint64 m_taken = 0; ///< of the budget, for m_data
    qint64 m_startedMs, m_progressMs;
    State m_state = State::Asked;
    xcb_atom_t m_type = XCB_NONE;
    QByteArray m_data;
};

} // namespace x11
