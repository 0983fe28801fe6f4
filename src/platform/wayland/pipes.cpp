// SPDX-License-Identifier: MIT
#include "platform/wayland/pipes.h"

#include "platform/logging.h"
#include "platform/pipeio.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace wayland {
namespace {

void setNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

} // namespace

bool makeTransferPipe(int &readEnd, int &writeEnd) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return false;
    // O_NONBLOCK belongs to each end's open file: the other program keeps
    // the blocking writes it expects.
    setNonBlocking(fds[0]);
    readEnd = fds[0];
    writeEnd = fds[1];
    return true;
}

PipeReader::PipeReader(int fd, qsizetype limit, std::shared_ptr<fetch::Budget> budget,
                       std::function<void()> onProgress, std::function<void()> onEnd)
    : m_fd(fd)
    , m_limit(limit)
    , m_budget(std::move(budget))
    , m_notifier(std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read))
    , m_onProgress(std::move(onProgress))
    , m_onEnd(std::move(onEnd)) {
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { readAvailable(); });
}

PipeReader::~PipeReader() {
    drop();
    m_notifier.reset();
    if (m_fd >= 0)
        ::close(m_fd);
}

void PipeReader::abandon() {
    if (m_state != State::Reading)
        return;
    m_onEnd = nullptr; // given up by the one who would be told
    finish(State::Failed);
}

QByteArray PipeReader::takeData() {
    m_taken = 0;
    return std::move(m_data);
}

void PipeReader::drop() {
    m_data.clear();
    m_budget->giveBack(std::exchange(m_taken, 0));
}

void PipeReader::readAvailable() {
    constexpr qsizetype chunk = 256 * 1024;
    bool progressed = false;
    for (qsizetype thisTime = 0; thisTime < WakeBytes;) {
        if (m_data.size() > m_limit) {
            finish(State::TooLarge);
            return;
        }
        const qsizetype before = m_data.size();
        m_data.resize(before + chunk);
        const ssize_t got = ::read(m_fd, m_data.data() + before, size_t(chunk));
        m_data.resize(before + qMax<qsizetype>(got, 0));
        if (got > 0) {
            progressed = true;
            thisTime += got;
            if (!m_budget->take(got)) {
                m_data.resize(before);
                finish(State::CutOff);
                return;
            }
            m_taken += got;
            continue;
        }
        if (got == 0) {
            finish(State::Done);
            return;
        }
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            break;
        finish(State::Failed);
        return;
    }
    if (progressed && m_onProgress)
        m_onProgress();
}

void PipeReader::finish(State state) {
    if (state != State::Done) {
        if (state != State::Failed)
            qCWarning(lcWayland) << "a transfer was cut off after" << m_data.size() << "bytes"
                                 << (state == State::TooLarge ? "(its limit)" : "(the budget)");
        drop();
    } else {
        m_data.squeeze();
    }
    m_notifier->setEnabled(false);
    ::close(m_fd);
    m_fd = -1;
    m_state = state;
    if (m_onEnd)
        m_onEnd();
}

PipeWriter::PipeWriter(int fd, QByteArray data)
    : m_fd(fd)
    , m_data(std::move(data)) {
    setNonBlocking(m_fd);
    writeAvailable();
    if (finished())
        return;
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Write);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { writeAvailable(); });
    m_stall = std::make_unique<QTimer>();
    m_stall->setSingleShot(true);
    // A reader that takes nothing for this long is given up on.
    m_stall->setInterval(30'000);
    QObject::connect(m_stall.get(), &QTimer::timeout, m_stall.get(), [this] { close(); });
    m_stall->start();
}

PipeWriter::~PipeWriter() {
    m_notifier.reset();
    m_stall.reset();
    if (m_fd >= 0)
        ::close(m_fd);
}

void PipeWriter::writeAvailable() {
    const qsizetype before = m_written;
    while (m_written < m_data.size()) {
        const ssize_t put =
            writeNoSignal(m_fd, m_data.constData() + m_written, size_t(m_data.size() - m_written));
        if (put > 0) {
            m_written += put;
            continue;
        }
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (m_stall && m_written > before)
                m_stall->start();
            return;
        }
        break; // the reader went away
    }
    close();
}

void PipeWriter::close() {
    if (m_fd < 0)
        return;
    if (m_notifier)
        m_notifier->setEnabled(false);
    if (m_stall)
        m_stall->stop();
    ::close(m_fd);
    m_fd = -1;
    m_data = QByteArray();
}

} // namespace wayland
