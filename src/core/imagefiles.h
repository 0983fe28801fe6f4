// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>

class Clock;
class PictureEntries;

/// Which picture entries a copy run saved.
struct ImageSaveResult {
    QList<int> saved;
    QList<int> failed;
    /// Why the first failure failed, in the user's words.
    QString reason;
    bool ok() const { return failed.isEmpty(); }
};

/// Copies the temp picture files of entries first..last into `folder` as
/// <yyyymmddhhmmss><n>.bmp (the time read for each entry; _2, _3, … before
/// ".bmp" when the name is taken), byte for byte, each whole or not at all.
ImageSaveResult CopyImageFiles(const PictureEntries &pictures, int first, int last,
                               const QString &folder, const Clock &clock);
