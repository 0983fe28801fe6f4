// SPDX-License-Identifier: MIT
#pragma once

#include "core/entrylist.h"

#include <QString>

/// The captured pictures (图像00, 图像01 …). Each lives in its temp picture
/// file, named after its caption, in the temp folder; nothing else holds it.
class PictureEntries final : public EntryList {
    Q_OBJECT
public:
    explicit PictureEntries(QString tempFolder, QObject *parent = nullptr);

    /// The temp picture file of entry `row` (or of the number, were it one).
    QString file(int row) const;
    /// The file the next entry is written to.
    QString nextFile() const { return file(next()); }

    /// Lists the picture just written to nextFile() as the next entry and
    /// makes it current.
    void take();
    /// Keeps only the entries of `rows` (ascending), numbered again from 0
    /// with their files renamed to match; the other entries' files go.
    void keepOnly(const QList<int> &rows);
    /// Forgets every entry and deletes their files.
    void clear();

private:
    QString m_tempFolder;
};
