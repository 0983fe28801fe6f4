// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>

class Clock;
class PictureEntries;

/// Which picture entries a copy run saved.
struct ImageSaveResult {
    QList<int> saved;
    /// Not copied for the image data folder's sake (missing, read-only,
    /// full): they can be saved again later.
    QList<int> failed;
    /// Without a temp picture file: nobody can save them.
    QList<int> gone;
    /// Why `failed` failed, in the user's words.
    QString reason;
    /// What to tell after "系统错误!": the folder and why, the entries that
    /// failed, those whose file is gone; empty when all were saved.
    QString problem;
    bool ok() const { return failed.isEmpty() && gone.isEmpty(); }
};

/// Copies the temp picture files of entries first..last into `folder` as
/// <yyyymmddhhmmss><n>.bmp (the time read for each entry; _2, _3, … before
/// ".bmp" when the name is taken), byte for byte, each whole or not at all.
/// However many fail, the problem names the folder and the reason once.
ImageSaveResult CopyImageFiles(const PictureEntries &pictures, int first, int last,
                               const QString &folder, const Clock &clock);
