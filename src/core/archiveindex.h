// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <functional>

class QSqlDatabase;
class QSqlQuery;

/// The index of the archive: every entry of the saved text pages and the
/// words read in the saved pictures, folded for search, in an SQLite database
/// with a trigram full-text table. It is a cache of the data folders, kept in
/// the user's cache folder and readable by the user alone: missing, of an
/// older make, or damaged, it is made afresh from the files, keeping the
/// words read in pictures. Files are told apart by name, size and time.
///
/// Schema: files(id, picture, name, size, mtime, saved, read) one row a
/// file; items(id, file, number, hash, folded) one row an entry (number -1
/// for a picture's words), id = save time in seconds × 65536 + place, so
/// that the newest come first in id order; grams, the trigram index of
/// items.folded (which rows hold a trigram, not where: a third of the size),
/// and terms, its trigrams; words(name, size, mtime, words)
/// what was read in pictures.
/// Used from one thread.
class ArchiveIndex {
public:
    /// The index of the folder pair, in `cacheFolder`.
    static QString fileFor(const QString &cacheFolder, const QString &textFolder,
                           const QString &imageFolder);
    /// Removes an index and the files SQLite keeps beside it.
    static void remove(const QString &file);
    /// Removes the indexes beside `file` untouched for a month: their
    /// folders are no longer used (moved, deleted, or a test's).
    static void removeUnused(const QString &file);

    explicit ArchiveIndex(QString file);
    ~ArchiveIndex();
    ArchiveIndex(const ArchiveIndex &) = delete;
    ArchiveIndex &operator=(const ArchiveIndex &) = delete;

    const QString &file() const { return m_file; }
    /// Opens the index, made afresh when it cannot be used as it is.
    bool open();
    /// Made afresh: everything but the words read in pictures is forgotten.
    bool rebuild();

    enum class Sync { Done, Stopped, Failed };
    /// Brings the index in line with the folders: what is gone is dropped,
    /// what is new or changed read, the newest first. `stop` is asked between
    /// files; `progress` hears how many files are left after each batch.
    Sync sync(const QString &textFolder, const QString &imageFolder,
              const std::function<bool()> &stop, const std::function<void(int)> &progress = {});
    /// The newest saved picture whose words were not read yet, or empty.
    QString pictureToRead(const QString &imageFolder);
    /// Keeps the words read in the saved picture `file`.
    void setPictureWords(const QString &file, const QString &words);

private:
    QSqlDatabase database() const;
    bool create();
    /// Reads `path` into the index as a new row of files.
    bool add(const QString &path, bool picture, qint64 size, qint64 mtime);
    bool insertItems(qint64 file, qint64 saved, const QStringList &texts, bool picture);
    bool exec(QSqlQuery &query);

    QString m_file;
    QString m_connection;
};
