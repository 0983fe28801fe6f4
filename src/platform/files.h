// SPDX-License-Identifier: MIT
// Files the program writes, renames and deletes in its own folders, handled
// so that nobody can steer it into another file: links are never followed,
// new files are made exclusively, and a file replaced is replaced whole by a
// rename. Descriptors are the system's; -1 stands for none.
#pragma once

#include "platform/result.h"

#include <QString>

class QFile;

namespace files {

/// Opens an existing regular file for appending; -1 when it is missing, a
/// link or cannot be opened (`why` says why: the reason, the path, the
/// system's words).
int openForAppend(const QString &path, Result *why = nullptr);
/// Opens `file` on an existing regular file for reading (and mapping); false
/// when it is missing, a link or cannot be read.
bool openForReading(QFile &file, const QString &path, Result *why = nullptr);
/// Makes a new file, readable by the user alone, that did not exist (not
/// even as a link); -1 when it could not be made.
int createNew(const QString &path, Result *why = nullptr);
/// Writes all of `data`; false (and why) when the disk or the file refused
/// any of it. `path` names the file in what is told.
bool writeAll(int fd, const QString &path, const char *data, qint64 size, Result *why = nullptr);
/// Writes the file's data through to the disk.
bool sync(int fd);
void close(int fd);
/// A second descriptor of the open file `fd`, or -1.
int duplicate(int fd);
/// Whether a file that is open cannot be renamed over or deleted (Windows).
bool openFilesBlockRenames();
/// Whether `path` still names the regular file open at `fd` (it was not
/// deleted, moved away or replaced since it was opened).
bool stillAt(int fd, const QString &path);

/// Puts `from` in the place of `to` in one step, replacing what `to` named
/// (a link there is replaced, not followed).
bool replace(const QString &from, const QString &to, Result *why = nullptr);
/// Removes `path` when it is a regular file (or a link, which goes itself);
/// true when nothing is left there.
bool remove(const QString &path);
/// Whether `path` is a link (to anything, or dangling).
bool isLink(const QString &path);
/// Keeps the file at `from` also under the name `to`, without copying where
/// the system allows (a second name for the same file).
bool keepAlso(const QString &from, const QString &to);

} // namespace files
