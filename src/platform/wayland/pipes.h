// SPDX-License-Identifier: MIT
// Both ends of a clipboard transfer: the data comes and goes through pipes
// that the other program may fill or drain slowly, or never; nothing here
// waits for it.
#pragma once

#include "platform/fetchpolicy.h"

#include <QByteArray>
#include <functional>
#include <memory>

class QSocketNotifier;
class QTimer;

namespace wayland {

/// Makes a pipe for a transfer: the read end does not block, the write end,
/// handed to the other program, does. Returns false when none could be made.
bool makeTransferPipe(int &readEnd, int &writeEnd);

/// Reads a pipe to its end as data comes, at most `WakeBytes` each time the
/// event loop finds it readable, so that a fast endless writer cannot hold
/// the loop.
class PipeReader final {
public:
    /// Failed: the pipe broke or the reader gave up; TooLarge: past its limit;
    /// CutOff: past the budget, which its bytes are taken from while it holds
    /// them.
    enum class State { Reading, Done, Failed, TooLarge, CutOff };
    static constexpr qsizetype WakeBytes = qsizetype(4) << 20;

    /// Takes the pipe's read end. `onProgress` is called when bytes arrived,
    /// `onEnd` once the state has left Reading; both may not destroy the reader.
    PipeReader(int fd, qsizetype limit, std::shared_ptr<fetch::Budget> budget,
               std::function<void()> onProgress, std::function<void()> onEnd);
    ~PipeReader();
    PipeReader(const PipeReader &) = delete;
    PipeReader &operator=(const PipeReader &) = delete;

    State state() const { return m_state; }
    const QByteArray &data() const { return m_data; }
    /// The data, with what it took of the budget: the caller gives that back.
    QByteArray takeData();
    /// Gives up: the data so far is dropped and the pipe closed.
    void abandon();

private:
    void readAvailable();
    void finish(State state);
    void drop();

    int m_fd;
    qsizetype m_limit;
    std::shared_ptr<fetch::Budget> m_budget;
    qint64 m_taken = 0; ///< of the budget, for m_data
    State m_state = State::Reading;
    QByteArray m_data;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::function<void()> m_onProgress, m_onEnd;
};

/// Writes data into a pipe as the reader takes it, then closes the pipe. A
/// reader that takes nothing for half a minute is given up on.
class PipeWriter final {
public:
    PipeWriter(int fd, QByteArray data);
    ~PipeWriter();
    PipeWriter(const PipeWriter &) = delete;
    PipeWriter &operator=(const PipeWriter &) = delete;

    bool finished() const { return m_fd < 0; }

private:
    void writeAvailable();
    void close();

    int m_fd;
    QByteArray m_data;
    qsizetype m_written = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::unique_ptr<QTimer> m_stall;
};

} // namespace wayland
