// SPDX-License-Identifier: MIT
#include "core/archivequery.h"

#include "platform/logging.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <limits>

namespace {

/// How long rows are read through before the short words narrow the search.
constexpr qint64 ReadThroughNs = 8'000'000;
/// Trigrams a short word may begin to narrow the search; one that begins
/// more is common, and left to the check of each row.
constexpr int MaxTerms = 300;

} // namespace

ArchiveQuery::ArchiveQuery(QString indexFile, QString textFolder, QString imageFolder)
    : m_indexFile(std::move(indexFile))
    , m_connection(u"orlo-archive-query-%1"_qs.arg(quintptr(this)))
    , m_folders{std::move(textFolder), std::move(imageFolder)} {
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_qs, m_connection);
    db.setDatabaseName(m_indexFile);
    db.setConnectOptions(u"QSQLITE_OPEN_READONLY"_qs);
}

ArchiveQuery::~ArchiveQuery() {
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
}

void ArchiveQuery::start(const SearchWords &words) {
    m_words = words;
    m_cursor = std::numeric_limits<qint64>::max();
    m_atEnd = words.isEmpty();
    m_narrowed = false;
    m_seen.clear();
    m_files.clear();
}

QList<ArchiveMatch> ArchiveQuery::next(int count, const std::function<bool()> &cancelled) {
    QList<ArchiveMatch> found;
    if (m_atEnd)
        return found;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.isOpen() && !db.open()) {
        m_atEnd = true;
        return found;
    }
    // The longer words narrow it down, each a string of its own to the index;
    // the shorter ones, after a while, by the trigrams they begin.
    const auto quoted = [](QString term) {
        return u'"' + term.replace(u'"', u"\"\""_qs) + u'"';
    };
    QStringList terms;
    bool shortWords = false;
    for (const QString &word : m_words.words()) {
        // The index knows which rows hold a trigram (of characters, not
        // UTF-16 units): a long word, all of its own.
        const QList<uint> points = word.toUcs4();
        if (points.size() >= 3) {
            QStringList trigrams;
            for (qsizetype at = 0; at + 3 <= points.size(); ++at) {
                const QString trigram = QString::fromUcs4(
                    reinterpret_cast<const char32_t *>(points.constData() + at), 3);
                if (!trigrams.contains(trigram))
                    trigrams << trigram;
            }
            for (const QString &trigram : trigrams)
                terms << quoted(trigram);
            continue;
        }
        shortWords = true;
        if (!m_narrowed)
            continue;
        QSqlQuery begun(db);
        begun.prepare(u"SELECT term FROM terms WHERE term >= ? AND term < ? LIMIT ?"_qs);
        begun.addBindValue(word);
        begun.addBindValue(word + QChar::fromUcs4(0x10FFFF).operator QStringView().toString());
        begun.addBindValue(MaxTerms + 1);
        QStringList begins;
        if (begun.exec()) {
            while (begun.next())
                begins << quoted(begun.value(0).toString());
        }
        if (begins.isEmpty()) { // in no text
            m_atEnd = true;
            return found;
        }
        if (begins.size() <= MaxTerms)
            terms << u'(' + begins.join(u" OR "_qs) + u')';
    }
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (terms.isEmpty()) {
        query.prepare(u"SELECT id, file, hash, number, folded FROM items WHERE id < ?"
                      " ORDER BY id DESC"_qs);
    } else {
        query.prepare(u"SELECT i.id, i.file, i.hash, i.number, i.folded FROM grams"
                      " JOIN items i ON i.id = grams.rowid WHERE grams MATCH ?"
                      " AND grams.rowid < ? ORDER BY grams.rowid DESC"_qs);
        query.addBindValue(terms.join(u" AND "_qs));
    }
    query.addBindValue(m_cursor);
    if (!query.exec()) {
        qCWarning(lcFiles) << "archive not searched:" << query.lastError().text();
        m_atEnd = true;
        return found;
    }
    QElapsedTimer reading;
    reading.start();
    QSqlQuery fileQuery(db);
    fileQuery.prepare(u"SELECT picture, name, saved FROM files WHERE id = ?"_qs);
    for (int rows = 0;; ++rows) {
        if ((rows & 1023) == 1023 && cancelled && cancelled())
            return found;
        if (shortWords && !m_narrowed && (rows & 63) == 63 &&
            reading.nsecsElapsed() > ReadThroughNs) {
            m_narrowed = true; // not common enough: narrowed from here on
            query.finish();
            found += next(count - int(found.size()), cancelled);
            return found;
        }
        if (!query.next()) {
            m_atEnd = true;
            break;
        }
        m_cursor = query.value(0).toLongLong();
        if (!m_words.matches(query.value(4).toString()))
            continue;
        const qint64 hash = query.value(2).toLongLong();
        if (m_seen.contains(hash))
            continue;
        const qint64 fileId = query.value(1).toLongLong();
        auto file = m_files.constFind(fileId);
        if (file == m_files.cend()) {
            fileQuery.addBindValue(fileId);
            if (!fileQuery.exec() || !fileQuery.next())
                continue;
            file =
                m_files.insert(fileId, {fileQuery.value(0).toBool(), fileQuery.value(1).toString(),
                                        fileQuery.value(2).toLongLong()});
        }
        m_seen.insert(hash);
        found.append({m_folders[file->picture] + u'/' + file->name, query.value(3).toInt(),
                      QDateTime::fromSecsSinceEpoch(file->saved, Qt::UTC)});
        if (found.size() == count)
            break;
    }
    return found;
}
