// SPDX-License-Identifier: MIT
#pragma once

#include "platform/result.h"

#include <QList>
#include <QString>
#include <functional>

class Clock;
class PictureEntries;

/// Which picture entries a copy run saved.
struct ImageSaveResult {
    QList<int> saved;
    /// Not copied for the image data folder's sake (missing, read-only,
    /// full) or their file's (unreadable): they can be saved again later.
    QList<int> failed;
    /// Without a temp picture file: nobody can save them.
    QList<int> gone;
    /// Why the first of `failed` failed, and the folder.
    Result failure;
    bool ok() const { return failed.isEmpty() && gone.isEmpty(); }
    /// Counts in how the copy of entry `row` went.
    void add(int row, const Result &copied);
};

/// Copies the temp picture file of entry `row` into `folder` as
/// <yyyymmddhhmmss><row>.bmp (_2, _3, … before ".bmp" when the name is
/// taken), byte for byte, whole or not at all; a temp file that is a link is
/// no picture of ours. `beforeCommit` hears the copy's name before it
/// appears under it.
Result copyImageFile(const PictureEntries &pictures, int row, const QString &folder,
                     const Clock &clock,
                     const std::function<void(const QString &)> &beforeCommit = {});
