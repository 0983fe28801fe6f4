// SPDX-License-Identifier: MIT
#include "platform/files.h"
#include "platform/files_p.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

// Windows has links too, but none that a user makes without being an
// administrator or in developer mode: files are taken as they are named.
namespace files {
namespace {

const wchar_t *native(const QString &path) {
    return reinterpret_cast<const wchar_t *>(path.utf16());
}

int openWith(const QString &path, int flags, Result *why) {
    const int fd = ::_wopen(native(path), flags | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
    return fd < 0 ? fail(why, path, errno) : fd;
}

} // namespace

int openForAppend(const QString &path, Result *why) {
    return openWith(path, _O_WRONLY | _O_APPEND, why);
}

bool openForReading(QFile &file, const QString &path, Result *why) {
    // Opened by its name: only such a file can be mapped here.
    file.setFileName(path);
    if (file.open(QIODevice::ReadOnly))
        return true;
    if (why)
        *why = {QFileInfo::exists(path) ? Reason::NotWritable : Reason::FolderMissing, path,
                file.errorString()};
    return false;
}

int createNew(const QString &path, Result *why) {
    return openWith(path, _O_WRONLY | _O_CREAT | _O_EXCL, why);
}

qint64 writeSome(int fd, const char *data, qint64 size) {
    return ::_write(fd, data, unsigned(size));
}

bool sync(int fd) {
    return ::_commit(fd) == 0;
}

void close(int fd) {
    if (fd >= 0)
        ::_close(fd);
}

int duplicate(int fd) {
    return ::_dup(fd);
}

bool openFilesBlockRenames() {
    return true;
}

bool stillAt(int, const QString &path) {
    // An open file cannot be deleted or replaced here.
    return QFileInfo(path).isFile();
}

bool replace(const QString &from, const QString &to, Result *why) {
    if (::MoveFileExW(native(from), native(to), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    if (why)
        *why = {Reason::CannotCreate, to, QStringLiteral("error %1").arg(::GetLastError())};
    return false;
}

bool remove(const QString &path) {
    return !QFileInfo::exists(path) || QFile::remove(path);
}

bool isLink(const QString &path) {
    return QFileInfo(path).isSymLink();
}

bool keepAlso(const QString &from, const QString &to) {
    QFile::remove(to);
    return QFile::copy(from, to);
}

} // namespace files
