// SPDX-License-Identifier: MIT
#pragma once

#include "core/entrylist.h"

#include <QImage>
#include <QString>

/// The captured pictures (图像00, 图像01 …). Each lives in its temp picture
/// file, named after its caption, in the temp folder.
class PictureEntries final : public EntryList {
    Q_OBJECT
public:
    explicit PictureEntries(QString tempFolder, QObject *parent = nullptr);

    /// The temp picture file of entry `row` (or of the number, were it one).
    QString file(int row) const;
    /// The file the next entry is written to.
    QString nextFile() const { return file(next()); }
    /// The picture of entry `row` as its file gives it; a null image when the
    /// file cannot be read. The picture just taken is known without reading.
    QImage picture(int row) const;

    /// Lists `written`, just written to nextFile(), as the next entry and
    /// makes it current.
    void take(const QImage &written = {});
    /// Keeps only the entries of `rows` (ascending), numbered again from 0
    /// with their files renamed to match; the other entries' files go.
    void keepOnly(const QList<int> &rows);
    /// Forgets every entry and deletes their files.
    void clear();

private:
    QString m_tempFolder;
    /// The newest picture, while its file holds just what it shows.
    QImage m_newest;
    int m_newestRow = -1;
};
