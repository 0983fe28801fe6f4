// SPDX-License-Identifier: MIT
#include "platform/x11/transfer.h"

#include "platform/logging.h"
#include "platform/x11/connection.h"

#include <cstdlib>
#include <cstring>

namespace x11 {

Transfer::Transfer(Connection &connection, xcb_atom_t target, xcb_timestamp_t time, qint64 limit,
                   qint64 nowMs)
    : m_connection(connection)
    , m_window(connection.takeWindow())
    , m_target(target)
    , m_property(connection.nextProperty())
    , m_time(time)
    , m_limit(limit)
    , m_startedMs(nowMs)
    , m_progressMs(nowMs) {
    xcb_convert_selection(connection.xcb(), m_window, connection.clipboard, target, m_property,
                          time);
}

Transfer::~Transfer() {
    // A window whose transfer did not end may still hear from its owner.
    m_connection.giveBack(m_window, m_state == State::Done || m_state == State::Refused);
}

bool Transfer::selectionNotify(const xcb_selection_notify_event_t &event, qint64 nowMs) {
    if (m_state != State::Asked || event.requestor != m_window || event.target != m_target)
        return false;
    // A refusal names no property: it is told apart by the time asked for.
    if (event.property == XCB_NONE) {
        if (event.time != m_time)
            return false;
        finish(State::Refused);
        return true;
    }
    if (event.property != m_property)
        return false;
    m_progressMs = nowMs;
    if (readProperty() && m_type == m_connection.incr) {
        // The owner sends the rest in pieces, each once we took the one before.
        m_data.clear();
        m_type = XCB_NONE;
        m_state = State::Incremental;
    } else if (!finished()) {
        finish(State::Done);
    }
    return true;
}

bool Transfer::propertyNotify(const xcb_property_notify_event_t &event, qint64 nowMs) {
    if (m_state != State::Incremental || event.window != m_window || event.atom != m_property)
        return false;
    if (event.state != XCB_PROPERTY_NEW_VALUE)
        return true;
    const qsizetype before = m_data.size();
    if (!readProperty())
        return true;
    if (m_data.size() == before)
        finish(State::Done); // an empty piece ends it
    else if (nowMs - m_startedMs < CapMs)
        m_progressMs = nowMs;
    return true;
}

bool Transfer::readProperty() {
    // One piece at most the limit, and one byte more to tell it went past.
    const uint32_t words = uint32_t(qMin<qint64>((m_limit - m_data.size()) / 4 + 1, UINT32_MAX));
    xcb_connection_t *xcb = m_connection.xcb();
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        xcb, xcb_get_property(xcb, 1, m_window, m_property, XCB_GET_PROPERTY_TYPE_ANY, 0, words),
        nullptr);
    if (!reply) {
        finish(State::Refused);
        return false;
    }
    const int size = xcb_get_property_value_length(reply);
    const auto *value = static_cast<const char *>(xcb_get_property_value(reply));
    if (reply->type == m_connection.incr) {
        // Its value is a lower bound of the size: past the limit, it is not read.
        uint32_t announced = 0;
        if (size >= 4)
            std::memcpy(&announced, value, 4);
        if (announced > m_limit)
            finish(State::TooLarge);
    } else if (reply->bytes_after > 0 || m_data.size() + size > m_limit) {
        finish(State::TooLarge);
    } else if (size > 0) {
        m_data.append(value, size);
    }
    if (reply->type != XCB_NONE)
        m_type = reply->type;
    std::free(reply);
    if (m_state == State::TooLarge) {
        qCWarning(lcX11) << "a transfer went past its limit of" << m_limit << "bytes";
        return false;
    }
    return true;
}

qint64 Transfer::deadline() const {
    return qMin(m_progressMs + IdleMs, m_startedMs + CapMs);
}

void Transfer::expire() {
    if (!finished())
        finish(State::TimedOut);
}

void Transfer::wipe() {
    m_data.fill('\0');
    m_data.clear();
}

void Transfer::finish(State state) {
    m_state = state;
    if (state != State::Done)
        wipe();
    else
        m_data.squeeze();
}

} // namespace x11
