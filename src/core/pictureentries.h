// SPDX-License-Identifier: MIT
#pragma once

#include "core/entrylist.h"

#include <QImage>

class PicturePreviews;
#include <QString>

/// The captured pictures (图像00, 图像01 …). Each lives in its temp picture
/// file, named after its caption, in the temp folder; the store writes,
/// renames and deletes the files.
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
    /// The words read in entry `row`'s picture: null while not read yet.
    QString words(int row) const { return exists(row) ? m_words.value(row) : QString(); }
    QString searchText(int row) const override { return words(row); }
    /// The thumbnail and size of entry `row`'s picture, made on a thread the
    /// first time it is asked for: null until then (the tip role's change
    /// tells when it is there).
    QString preview(int row) const override;
    /// The words read in the picture of entry `row`, as it is now.
    void setWords(int row, const QString &words);

    /// Lists `written`, just written to nextFile(), as the next entry and
    /// makes it current.
    void take(const QImage &written = {});
    /// Holds `count` entries whose files are in place, the next going to row
    /// `next`; none by default.
    void restore(int count = 0, int next = 0);

private:
    QString m_tempFolder;
    PicturePreviews *m_previews;
    /// The newest picture, while its file holds just what it shows.
    QImage m_newest;
    int m_newestRow = -1;
    QList<QString> m_words;
};
