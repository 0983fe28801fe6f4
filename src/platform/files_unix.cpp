// SPDX-License-Identifier: MIT
#include "platform/files.h"
#include "platform/files_p.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {
namespace {

QByteArray native(const QString &path) {
    return QFile::encodeName(path);
}

/// Opens `path` without following a link, and only when it is a regular file.
int openRegular(const QString &path, int flags, Result *why) {
    const int fd = ::open(native(path).constData(), flags | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return fail(why, path, errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return fail(why, path, EISDIR);
    }
    return fd;
}

} // namespace

int openForAppend(const QString &path, Result *why) {
    return openRegular(path, O_WRONLY | O_APPEND, why);
}

bool openForReading(QFile &file, const QString &path, Result *why) {
    const int fd = openRegular(path, O_RDONLY, why);
    return fd >= 0 && file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
}

int createNew(const QString &path, Result *why) {
    const int fd = ::open(native(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    return fd < 0 ? fail(why, path, errno) : fd;
}

qint64 writeSome(int fd, const char *data, qint64 size) {
    return ::write(fd, data, size_t(size));
}

bool sync(int fd) {
    return ::fdatasync(fd) == 0;
}

void close(int fd) {
    if (fd >= 0)
        ::close(fd);
}

int duplicate(int fd) {
    return ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
}

bool openFilesBlockRenames() {
    return false;
}

bool stillAt(int fd, const QString &path) {
    struct stat open {
    }, named{};
    return ::fstat(fd, &open) == 0 && ::lstat(native(path).constData(), &named) == 0 &&
           S_ISREG(named.st_mode) && open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

bool replace(const QString &from, const QString &to, Result *why) {
    if (::rename(native(from).constData(), native(to).constData()) == 0)
        return true;
    fail(why, to, errno);
    return false;
}

bool remove(const QString &path) {
    struct stat info {};
    if (::lstat(native(path).constData(), &info) != 0)
        return errno == ENOENT;
    return !S_ISDIR(info.st_mode) && ::unlink(native(path).constData()) == 0;
}

bool isLink(const QString &path) {
    struct stat info {};
    return ::lstat(native(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool keepAlso(const QString &from, const QString &to) {
    ::unlink(native(to).constData());
    return ::link(native(from).constData(), native(to).constData()) == 0 || QFile::copy(from, to);
}

} // namespace files
