// SPDX-License-Identifier: MIT
#pragma once

#include "platform/result.h"

#include <QList>
#include <QString>

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
};

/// Copies the temp picture files of entries first..last into `folder` as
/// <yyyymmddhhmmss><n>.bmp (the time read for each entry; _2, _3, … before
/// ".bmp" when the name is taken), byte for byte, each whole or not at all.
ImageSaveResult CopyImageFiles(const PictureEntries &pictures, int first, int last,
                               const QString &folder, const Clock &clock);
