// SPDX-License-Identifier: MIT
// Writing into and reading from pipes whose other end may go (Unix).
#pragma once

#include <QDeadlineTimer>

#include <sys/types.h>

/// write() that turns a reader gone away into EPIPE instead of the SIGPIPE
/// that would end the program, without changing how the rest of the program
/// sees SIGPIPE.
ssize_t writeNoSignal(int fd, const char *data, size_t size);

/// Writes all of `size` bytes unless the reader goes; whether it did.
bool writeAllNoSignal(int fd, const char *data, size_t size);

/// Reads all of `size` bytes unless the writer goes or the deadline passes;
/// whether it did.
bool readAll(int fd, void *to, size_t size, QDeadlineTimer deadline = QDeadlineTimer::Forever);
