// SPDX-License-Identifier: MIT
// What files.cpp shares with the file of each system.
#pragma once

#include "platform/result.h"

namespace files {

/// Tells why the last call on `path` failed, from the system's error number; -1.
int fail(Result *why, const QString &path, int error);
/// One write of the system: what it took, or -1 (errno says why).
qint64 writeSome(int fd, const char *data, qint64 size);

} // namespace files
