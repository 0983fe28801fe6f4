// SPDX-License-Identifier: MIT
#include "platform/x11/transfer.h"

#include "platform/logging.h"
#include "platform/x11/connection.h"

#include <cstdlib>
#include <cstring>

namespace x11 {

Transfer::Transfer(Connection &connection, xcb_atom_t target, xcb_timestamp_t time, qint64 limit,
                   fetch::Budget &budget, qint64 nowMs)
    : m_connection(connection)
    , m_window(connection.takeWindow())
    , m_target(target)
    , m_property(connection.nextProperty())
    , m_time(time)
    , m_limit(limit)
    , m_budget(budget)
    , m_startedMs(nowMs)
    , m_progressMs(nowMs) {
    xcb_convert_selection(connection.xcb(), m_window, connection.clipboard, target, m_property,
                          time);
}

Transfer::~Transfer() {
    wipe();
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
    else if (nowMs - m_startedMs < fetch::CapMs)
        m_progressMs = nowMs;
    return true;
}

bool Transfer::readProperty() {
    // One piece at most what is left of the limit and the budget, and one
    // byte more to tell it went past.
    const qint64 room = qMin(m_limit - m_data.size(), m_budget.left());
    const uint32_t words = uint32_t(qMin<qint64>(qMax<qint64>(room, 0) / 4 + 1, UINT32_MAX));
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
    const auto pastLimit = [&](qint64 total) {
        return total > m_limit ? State::TooLarge : State::CutOff;
    };
    if (reply->type == m_connection.incr) {
        // Its value is a lower bound of the size: past the limit, it is not read.
        uint32_t announced = 0;
        if (size >= 4)
            std::memcpy(&announced, value, 4);
        if (announced > m_limit)
            finish(State::TooLarge);
    } else if (reply->bytes_after > 0 || size > room) {
        finish(pastLimit(m_data.size() + size + qint64(reply->bytes_after)));
    } else if (size > 0 && !m_budget.take(size)) {
        finish(State::CutOff); // another transfer took the room meanwhile
    } else if (size > 0) {
        m_taken += size;
        m_data.append(value, size);
    }
    if (reply->type != XCB_NONE)
        m_type = reply->type;
    std::free(reply);
    if (m_state == State::TooLarge || m_state == State::CutOff) {
        qCWarning(lcX11) << "a transfer was cut off"
                         << (m_state == State::TooLarge ? "at its limit of" : "by the budget, at")
                         << m_limit << "bytes";
        return false;
    }
    return true;
}

qint64 Transfer::deadline() const {
    return qMin(m_progressMs + fetch::IdleMs, m_startedMs + fetch::CapMs);
}

void Transfer::expire() {
    if (!finished())
        finish(State::TimedOut);
}

void Transfer::wipe() {
    m_data.fill('\0');
    m_data.clear();
    m_budget.giveBack(std::exchange(m_taken, 0));
}

QByteArray Transfer::takeData() {
    m_taken = 0;
    return std::move(m_data);
}

void Transfer::finish(State state) {
    m_state = state;
    if (state != State::Done)
        wipe();
    else
        m_data.squeeze();
}

} // namespace x11
