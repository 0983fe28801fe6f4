// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fetchpolicy.h"

#include <QByteArray>
#include <QByteArrayView>

namespace x11 {

/// What one transfer of a type has had, and the rules it is had by, apart
/// from the connection it comes through: at most `limit` bytes, taken from
/// `budget` while it holds them, and an owner silent for fetch::IdleMs, or
/// still sending after fetch::CapMs, is given up on.
class TransferState final {
public:
    /// TooLarge: past its limit; CutOff: past the budget.
    enum class State { Asked, Incremental, Done, Refused, TooLarge, CutOff, TimedOut };

    TransferState(qint64 limit, fetch::Budget &budget, qint64 nowMs)
        : m_limit(limit)
        , m_budget(budget)
        , m_startedMs(nowMs)
        , m_progressMs(nowMs) {}
    ~TransferState() { wipe(); }
    TransferState(const TransferState &) = delete;
    TransferState &operator=(const TransferState &) = delete;

    /// The most bytes worth reading of the next piece: what is left of the
    /// limit and of the budget (one byte more tells it went past).
    qint64 room() const { return qMax<qint64>(qMin(m_limit - m_data.size(), m_budget.left()), 0); }
    /// The owner's answer: with `incremental`, that pieces follow (`value`
    /// holds at least how many bytes in all), else the data, `after` bytes of
    /// it not read.
    void answered(bool incremental, QByteArrayView value, qint64 after, qint64 nowMs);
    /// One piece sent incrementally; an empty one ends the transfer.
    void piece(QByteArrayView value, qint64 after, qint64 nowMs);
    void refuse() { finish(State::Refused); }
    /// When it is to be given up, unless it ends or progresses before.
    qint64 deadline() const {
        return qMin(m_progressMs + fetch::IdleMs, m_startedMs + fetch::CapMs);
    }
    void expire();

    State state() const { return m_state; }
    bool finished() const { return m_state != State::Asked && m_state != State::Incremental; }
    const QByteArray &data() const { return m_data; }
    /// The data, with what it took of the budget: the caller gives that back.
    QByteArray takeData();
    /// Overwrites what was read and drops it (a secret's).
    void wipe();

private:
    /// Adds `value` to the data; false when that ended the transfer.
    bool take(QByteArrayView value, qint64 after);
    void finish(State state);

    qint64 m_limit;
    fetch::Budget &m_budget;
    qint64 m_taken = 0; ///< of the budget, for m_data
    qint64 m_startedMs, m_progressMs;
    State m_state = State::Asked;
    QByteArray m_data;
};

} // namespace x11
