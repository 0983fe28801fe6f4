// SPDX-License-Identifier: MIT
#include "platform/x11/transfer.h"

#include "platform/x11/connection.h"

#include <cstdlib>

namespace x11 {

Transfer::Transfer(Connection &connection, xcb_atom_t target, xcb_timestamp_t time, qint64 limit,
                   fetch::Budget &budget, qint64 nowMs)
    : m_connection(connection)
    , m_window(connection.takeWindow())
    , m_target(target)
    , m_property(connection.nextProperty())
    , m_time(time)
    , m_had(limit, budget, nowMs) {
    xcb_convert_selection(connection.xcb(), m_window, connection.clipboard, target, m_property,
                          time);
}

Transfer::~Transfer() {
    // A window whose transfer did not end may still hear from its owner.
    m_connection.giveBack(m_window, state() == State::Done || state() == State::Refused);
}

bool Transfer::selectionNotify(const xcb_selection_notify_event_t &event, qint64 nowMs) {
    if (state() != State::Asked || event.requestor != m_window || event.target != m_target)
        return false;
    // A refusal names no property: it is told apart by the time asked for.
    if (event.property == XCB_NONE) {
        if (event.time != m_time)
            return false;
        m_had.refuse();
        return true;
    }
    if (event.property != m_property)
        return false;
    readProperty([&](bool incremental, QByteArrayView value, qint64 after) {
        m_had.answered(incremental, value, after, nowMs);
    });
    return true;
}

bool Transfer::propertyNotify(const xcb_property_notify_event_t &event, qint64 nowMs) {
    if (state() != State::Incremental || event.window != m_window || event.atom != m_property)
        return false;
    if (event.state == XCB_PROPERTY_NEW_VALUE)
        readProperty(
            [&](bool, QByteArrayView value, qint64 after) { m_had.piece(value, after, nowMs); });
    return true;
}

template <typename Read> void Transfer::readProperty(Read read) {
    const uint32_t words = uint32_t(qMin<qint64>(m_had.room() / 4 + 1, UINT32_MAX));
    xcb_connection_t *xcb = m_connection.xcb();
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        xcb, xcb_get_property(xcb, 1, m_window, m_property, XCB_GET_PROPERTY_TYPE_ANY, 0, words),
        nullptr);
    if (!reply)
        return m_had.refuse();
    const bool incremental = reply->type == m_connection.incr;
    if (!incremental && reply->type != XCB_NONE)
        m_type = reply->type;
    read(incremental,
         QByteArrayView(static_cast<const char *>(xcb_get_property_value(reply)),
                        xcb_get_property_value_length(reply)),
         qint64(reply->bytes_after));
    std::free(reply);
}

} // namespace x11
