// SPDX-License-Identifier: MIT
#include "platform/x11/transferstate.h"

#include "platform/logging.h"

#include <cstring>

namespace x11 {

void TransferState::answered(bool incremental, QByteArrayView value, qint64 after, qint64 nowMs) {
    m_progressMs = nowMs;
    if (!incremental) {
        if (take(value, after))
            finish(State::Done);
        return;
    }
    // What it announces is a lower bound of the size: past the limit, it is not read.
    quint32 announced = 0;
    if (value.size() >= 4)
        std::memcpy(&announced, value.data(), 4);
    if (announced > m_limit)
        finish(State::TooLarge);
    else
        m_state = State::Incremental;
}

void TransferState::piece(QByteArrayView value, qint64 after, qint64 nowMs) {
    if (value.isEmpty() && after == 0)
        finish(State::Done);
    else if (take(value, after) && nowMs - m_startedMs < fetch::CapMs)
        m_progressMs = nowMs;
}

bool TransferState::take(QByteArrayView value, qint64 after) {
    const qint64 room = qMin(m_limit - m_data.size(), m_budget.left());
    if (after > 0 || value.size() > room) {
        const qint64 total = m_data.size() + value.size() + after;
        finish(total > m_limit ? State::TooLarge : State::CutOff);
        return false;
    }
    if (!value.isEmpty() && !m_budget.take(value.size())) {
        finish(State::CutOff); // another transfer took the room meanwhile
        return false;
    }
    m_taken += value.size();
    m_data.append(value);
    return true;
}

void TransferState::expire() {
    if (!finished())
        finish(State::TimedOut);
}

void TransferState::wipe() {
    m_data.fill('\0');
    m_data.clear();
    m_budget.giveBack(std::exchange(m_taken, 0));
}

QByteArray TransferState::takeData() {
    m_taken = 0;
    return std::move(m_data);
}

void TransferState::finish(State state) {
    m_state = state;
    if (state == State::TooLarge || state == State::CutOff)
        qCWarning(lcX11) << "a transfer was cut off"
                         << (state == State::TooLarge ? "at its limit of" : "by the budget, at")
                         << m_limit << "bytes";
    if (state != State::Done)
        wipe();
    else
        m_data.squeeze();
}

} // namespace x11
