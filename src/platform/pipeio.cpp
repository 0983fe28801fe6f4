// SPDX-License-Identifier: MIT
#include "platform/pipeio.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <ctime>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

ssize_t writeNoSignal(int fd, const char *data, size_t size) {
    sigset_t pipeOnly, previous;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    const bool wasPending = sigismember(&pending, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeOnly, &previous);
    const ssize_t written = ::write(fd, data, size);
    const int error = errno;
    // The signal is raised whenever the reader went during the write, also
    // when part of it went through first and the count of that is returned:
    // taken back here whatever write() returned.
    if (!wasPending) {
        sigpending(&pending);
        const timespec none{0, 0};
        while (sigismember(&pending, SIGPIPE) && sigtimedwait(&pipeOnly, nullptr, &none) < 0 &&
               errno == EINTR) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    errno = error;
    return written;
}

namespace {

/// Moves all of `size` bytes by repeated steps (a read or a write of what is
/// left, as the system calls go); whether all went before a step failed or
/// moved nothing.
template <typename Step> bool whole(char *data, size_t size, Step step) {
    while (size > 0) {
        const ssize_t moved = step(data, size);
        if (moved < 0 && errno == EINTR)
            continue;
        if (moved <= 0)
            return false;
        data += moved;
        size -= size_t(moved);
    }
    return true;
}

} // namespace

bool writeAllNoSignal(int fd, const char *data, size_t size) {
    return whole(const_cast<char *>(data), size,
                 [fd](const char *at, size_t left) { return writeNoSignal(fd, at, left); });
}

bool readAll(int fd, void *to, size_t size, QDeadlineTimer deadline) {
    return whole(static_cast<char *>(to), size, [&](char *at, size_t left) -> ssize_t {
        pollfd ready{fd, POLLIN, 0};
        const int polled = ::poll(&ready, 1, int(qMin<qint64>(deadline.remainingTime(), INT_MAX)));
        return polled <= 0 ? polled : ::read(fd, at, left);
    });
}
