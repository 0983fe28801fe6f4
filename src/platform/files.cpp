// SPDX-License-Identifier: MIT
#include "platform/files.h"

#include "platform/files_p.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace files {

int fail(Result *why, const QString &path, int error) {
    if (!why)
        return -1;
    Reason reason = Reason::CannotCreate;
    if (error == ENOSPC || error == EFBIG
#ifdef EDQUOT
        || error == EDQUOT
#endif
    )
        reason = Reason::WriteFailed;
    else if (error == EACCES || error == EPERM || error == EROFS)
        reason = Reason::NotWritable;
    else if (error == ENOENT)
        reason = Reason::FolderMissing;
    *why = {reason, path, QString::fromLocal8Bit(std::strerror(error))};
    return -1;
}

bool writeAll(int fd, const QString &path, const char *data, qint64 size, Result *why) {
    while (size > 0) {
        const qint64 written = writeSome(fd, data, std::min<qint64>(size, 1 << 30));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            fail(why, path, written == 0 ? ENOSPC : errno);
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

} // namespace files
