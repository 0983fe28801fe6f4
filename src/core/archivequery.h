// SPDX-License-Identifier: MIT
#pragma once

#include "core/search.h"

#include <QDateTime>
#include <QHash>
#include <QMetaType>
#include <QSet>
#include <functional>

/// An entry of the archive a search found.
struct ArchiveMatch {
    /// The saved page or picture.
    QString file;
    /// The entry's place in its page, from 0; -1 for a picture.
    int number = -1;
    /// The time its name tells.
    QDateTime saved;
    bool picture() const { return number < 0; }
};

/// Finds the entries of the archive that hold every word typed, newest
/// first, a text saved in several pages once. Words of three characters or
/// more are looked up in the trigram index, by all their trigrams; when all
/// are shorter, the
/// entries are read through, newest first. Shorter words are common or
/// rare: rows are read through for some milliseconds as they are; when that was not
/// enough, each short word narrows the rest to the rows holding a trigram
/// that begins with it (every text ends in two blanks, so each of its words
/// begins one). Each candidate is checked with the rules of the entries' own
/// search. Used from one thread.
class ArchiveQuery {
public:
    /// Reads the index in `indexFile`; the files are in the folders given.
    ArchiveQuery(QString indexFile, QString textFolder, QString imageFolder);
    ~ArchiveQuery();
    ArchiveQuery(const ArchiveQuery &) = delete;
    ArchiveQuery &operator=(const ArchiveQuery &) = delete;

    const QString &indexFile() const { return m_indexFile; }
    /// A new search; nothing while `words` is empty.
    void start(const SearchWords &words);
    /// Up to `count` more matches. `cancelled` is asked now and then: when it
    /// says so, what was found is given back as it is.
    QList<ArchiveMatch> next(int count, const std::function<bool()> &cancelled = {});
    /// Nothing more to find.
    bool atEnd() const { return m_atEnd; }

private:
    QString m_indexFile, m_connection;
    QString m_folders[2];
    SearchWords m_words;
    qint64 m_cursor = 0;
    bool m_atEnd = true;
    /// The short words narrow the search too.
    bool m_narrowed = false;
    QSet<qint64> m_seen;
    struct File {
        bool picture;
        QString name;
        qint64 saved;
    };
    QHash<qint64, File> m_files;
};

Q_DECLARE_METATYPE(ArchiveMatch)
