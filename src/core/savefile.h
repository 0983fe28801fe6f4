// SPDX-License-Identifier: MIT
#pragma once

#include "platform/result.h"

#include <QString>
#include <QStringView>
#include <functional>

class QSaveFile;

/// Writes out what the file still holds back and commits it; false, with
/// nothing left behind, when any of it failed. QSaveFile::commit() alone lets
/// a failed write of the buffered rest pass (a full disk), which would put
/// a short file in place.
bool commitWhole(QSaveFile &file);

/// Whether `folder` is there to take new files: Reason::None, or why not.
Reason folderProblem(const QString &folder);

/// <folder>/<stem><extension> when no file has that name, else the first free
/// one of <stem>_2<extension>, <stem>_3<extension>, …; empty when none is.
/// Data files never replace one another.
QString freeDataFileName(const QString &folder, const QString &stem, QStringView extension);

/// Writes a new data file under the first free name of freeDataFileName(),
/// readable by the user alone, whole or not at all: `writeBody` fills it and
/// says why it failed, if it did; `beforeCommit`, when given, hears the
/// file's name before the file appears under it. On success the result's
/// subject is the file written; on failure the folder, and the failure is
/// logged.
Result writeNewDataFile(const QString &folder, const QString &stem, QStringView extension,
                        const std::function<Reason(QSaveFile &)> &writeBody,
                        const std::function<void(const QString &)> &beforeCommit = {});
