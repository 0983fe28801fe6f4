// SPDX-License-Identifier: MIT
// Both ends of a clipboard transfer: the data comes and goes through pipes
// that the other program may fill or drain slowly, or never; nothing here
// waits for it.
#pragma once

#include <QByteArray>
#include <functional>
#include <memory>

class QSocketNotifier;
class QTimer;

namespace wayland {

/// Makes a pipe for a transfer: the read end does not block, the write end,
/// handed to the other program, does. Returns false when none could be made.
bool makeTransferPipe(int &readEnd, int &writeEnd);

/// Reads a pipe to its end as data comes.
class PipeReader final {
public:
    enum class State { Reading, Done, Failed };

    /// Takes the pipe's read end. `onProgress` is called when bytes arrived,
    /// `onEnd` once the state has left Reading; both may not destroy the reader.
    PipeReader(int fd, qsizetype limit, std::function<void()> onProgress,
               std::function<void()> onEnd);
    ~PipeReader();
    PipeReader(const PipeReader &) = delete;
    PipeReader &operator=(const PipeReader &) = delete;

    State state() const { return m_state; }
    const QByteArray &data() const { return m_data; }
    /// Gives up: the data so far is dropped and the pipe closed.
    void abandon();

private:
    void readAvailable();
    void finish(State state);

    int m_fd;
    qsizetype m_limit;
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
