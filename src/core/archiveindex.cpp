// SPDX-License-Identifier: MIT
#include "core/archiveindex.h"

#include "core/archivepage.h"
#include "core/search.h"
#include "platform/logging.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

namespace {

/// Raised whenever the schema or what goes into it changes.
constexpr int Version = 3;
/// Places for entries saved in the same second.
constexpr qint64 PerSecond = 65536;
/// Files written in one transaction at most, and the time one may take.
constexpr int BatchFiles = 32;
constexpr qint64 BatchMs = 250;

const char *const Schema[] = {
    "CREATE TABLE files(id INTEGER PRIMARY KEY, picture INTEGER NOT NULL, name TEXT NOT NULL,"
    " size INTEGER NOT NULL, mtime INTEGER NOT NULL, saved INTEGER NOT NULL,"
    " read INTEGER NOT NULL, UNIQUE(picture, name))",
    "CREATE TABLE items(id INTEGER PRIMARY KEY, file INTEGER NOT NULL, number INTEGER NOT NULL,"
    " hash INTEGER NOT NULL, folded TEXT NOT NULL)",
    "CREATE INDEX items_by_file ON items(file)",
    "CREATE VIRTUAL TABLE grams USING fts5(folded, content='items', content_rowid='id',"
    " tokenize='trigram case_sensitive 1', detail=none)",
    "CREATE VIRTUAL TABLE terms USING fts5vocab(grams, 'row')",
    "CREATE TRIGGER items_added AFTER INSERT ON items BEGIN"
    " INSERT INTO grams(rowid, folded) VALUES(new.id, new.folded); END",
    "CREATE TRIGGER items_removed AFTER DELETE ON items BEGIN"
    " INSERT INTO grams(grams, rowid, folded) VALUES('delete', old.id, old.folded); END",
    "CREATE TABLE IF NOT EXISTS words(name TEXT PRIMARY KEY, size INTEGER NOT NULL,"
    " mtime INTEGER NOT NULL, words TEXT NOT NULL)",
};

struct OnDisk {
    qint64 size, mtime;
};

/// The files of `folder` named as the program names them, by name.
QHash<QString, OnDisk> listFolder(const QString &folder, bool picture) {
    QHash<QString, OnDisk> files;
    if (folder.isEmpty())
        return files;
    const QDir dir(folder, picture ? u"*.bmp"_qs : u"*.htm"_qs, QDir::NoSort,
                   QDir::Files | QDir::Readable);
    for (const QFileInfo &info : dir.entryInfoList()) {
        if (savedAt(info.fileName(), picture).isValid())
            files.insert(info.fileName(), {info.size(), info.lastModified().toMSecsSinceEpoch()});
    }
    return files;
}

void makePrivate(const QString &file) {
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
}

} // namespace

QString ArchiveIndex::fileFor(const QString &cacheFolder, const QString &textFolder,
                              const QString &imageFolder) {
    const auto canonical = [](const QString &folder) {
        const QString path = QFileInfo(folder).canonicalFilePath();
        return path.isEmpty() ? QDir::cleanPath(folder) : path;
    };
    const QByteArray pair = (canonical(textFolder) + u'\n' + canonical(imageFolder)).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(pair, QCryptographicHash::Sha1).toHex();
    return cacheFolder + u"/archive-"_qs + QString::fromLatin1(hash.first(16)) + u".sqlite"_qs;
}

void ArchiveIndex::remove(const QString &file) {
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(file + QLatin1String(suffix));
}

void ArchiveIndex::removeUnused(const QString &file) {
    const QFileInfo kept(file);
    const QDateTime monthAgo = QDateTime::currentDateTimeUtc().addDays(-30);
    for (const QFileInfo &index :
         QDir(kept.path(), u"archive-*.sqlite"_qs, QDir::NoSort, QDir::Files).entryInfoList()) {
        if (index.fileName() != kept.fileName() && index.lastModified() < monthAgo)
            remove(index.filePath());
    }
}

ArchiveIndex::ArchiveIndex(QString file)
    : m_file(std::move(file))
    , m_connection(u"orlo-archive-%1"_qs.arg(quintptr(this))) {}

ArchiveIndex::~ArchiveIndex() {
    if (QSqlDatabase::contains(m_connection)) {
        database().close();
        QSqlDatabase::removeDatabase(m_connection);
    }
}

QSqlDatabase ArchiveIndex::database() const {
    return QSqlDatabase::database(m_connection, false);
}

bool ArchiveIndex::exec(QSqlQuery &query) {
    if (query.exec())
        return true;
    qCWarning(lcFiles) << "archive index:" << query.lastError().text();
    return false;
}

bool ArchiveIndex::open() {
    QDir().mkpath(QFileInfo(m_file).path());
    QFile::setPermissions(QFileInfo(m_file).path(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!QFileInfo::exists(m_file)) {
        QFile made(m_file); // before SQLite, which gives its files the same permissions
        made.open(QIODevice::WriteOnly);
    }
    makePrivate(m_file);
    { // in use: see removeUnused()
        QFile used(m_file);
        if (used.open(QIODevice::ReadWrite))
            used.setFileTime(QDateTime::currentDateTimeUtc(), QFileDevice::FileModificationTime);
    }
    if (!QSqlDatabase::contains(m_connection))
        QSqlDatabase::addDatabase(u"QSQLITE"_qs, m_connection).setDatabaseName(m_file);
    QSqlDatabase db = database();
    if (!db.isOpen() && !db.open()) {
        qCWarning(lcFiles) << "archive index not opened:" << db.lastError().text();
        return false;
    }
    QSqlQuery query(db);
    const bool read = query.exec(u"PRAGMA user_version"_qs) && query.next();
    const int version = read ? query.value(0).toInt() : -1;
    query.finish();
    if (version == Version && query.exec(u"SELECT count(*) FROM files WHERE id = 0"_qs)) {
        query.finish();
        return query.exec(u"PRAGMA journal_mode=WAL"_qs);
    }
    if (version != 0)
        qCWarning(lcFiles) << "archive index made afresh: version" << version;
    return rebuild();
}

bool ArchiveIndex::rebuild() {
    // The words read in pictures took hours: kept, where they can still be read.
    struct Words {
        QString name;
        qint64 size, mtime;
        QString words;
    };
    QList<Words> kept;
    {
        QSqlQuery query(database());
        if (query.exec(u"SELECT name, size, mtime, words FROM words"_qs)) {
            while (query.next())
                kept.append({query.value(0).toString(), query.value(1).toLongLong(),
                             query.value(2).toLongLong(), query.value(3).toString()});
        }
    }
    database().close();
    remove(m_file);
    QFile made(m_file);
    made.open(QIODevice::WriteOnly);
    made.close();
    makePrivate(m_file);
    if (!database().open() || !create())
        return false;
    QSqlDatabase db = database();
    db.transaction();
    QSqlQuery insert(db);
    insert.prepare(u"INSERT INTO words VALUES(?, ?, ?, ?)"_qs);
    for (const Words &words : kept) {
        insert.addBindValue(words.name);
        insert.addBindValue(words.size);
        insert.addBindValue(words.mtime);
        insert.addBindValue(words.words);
        exec(insert);
    }
    return db.commit();
}

bool ArchiveIndex::create() {
    QSqlQuery query(database());
    if (!query.exec(u"PRAGMA journal_mode=WAL"_qs))
        return false;
    for (const char *statement : Schema) {
        if (!query.exec(QString::fromLatin1(statement))) {
            qCWarning(lcFiles) << "archive index not made:" << query.lastError().text();
            return false;
        }
    }
    return query.exec(u"PRAGMA user_version = %1"_qs.arg(Version));
}

ArchiveIndex::Sync ArchiveIndex::sync(const QString &textFolder, const QString &imageFolder,
                                      const std::function<bool()> &stop,
                                      const std::function<void(int)> &progress) {
    struct Known {
        qint64 id, size, mtime;
    };
    QHash<QString, Known> known[2];
    QSqlDatabase db = database();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(u"SELECT id, picture, name, size, mtime FROM files"_qs))
        return Sync::Failed;
    while (query.next())
        known[query.value(1).toInt()].insert(
            query.value(2).toString(), {query.value(0).toLongLong(), query.value(3).toLongLong(),
                                        query.value(4).toLongLong()});
    query.finish();

    struct ToRead {
        QString name;
        bool picture;
        OnDisk disk;
    };
    QList<ToRead> toRead;
    QList<qint64> gone;
    const QString folders[2] = {textFolder, imageFolder};
    for (const bool picture : {false, true}) {
        const QHash<QString, OnDisk> onDisk = listFolder(folders[picture], picture);
        for (auto it = known[picture].cbegin(); it != known[picture].cend(); ++it) {
            const auto found = onDisk.constFind(it.key());
            if (found == onDisk.cend() || found->size != it->size || found->mtime != it->mtime)
                gone << it->id;
        }
        for (auto it = onDisk.cbegin(); it != onDisk.cend(); ++it) {
            const auto found = known[picture].constFind(it.key());
            if (found == known[picture].cend() || found->size != it->size ||
                found->mtime != it->mtime)
                toRead.append({it.key(), picture, *it});
        }
    }
    // The newest first: names sort as their save times.
    std::sort(toRead.begin(), toRead.end(),
              [](const ToRead &a, const ToRead &b) { return a.name.first(14) > b.name.first(14); });

    if (!db.transaction())
        return Sync::Failed;
    QSqlQuery drop(db);
    for (const qint64 id : gone) {
        drop.prepare(u"DELETE FROM items WHERE file = ?"_qs);
        drop.addBindValue(id);
        if (!exec(drop))
            return db.rollback(), Sync::Failed;
        drop.prepare(u"DELETE FROM files WHERE id = ?"_qs);
        drop.addBindValue(id);
        if (!exec(drop))
            return db.rollback(), Sync::Failed;
    }
    QElapsedTimer batch;
    batch.start();
    int inBatch = 0;
    for (qsizetype i = 0; i < toRead.size(); ++i) {
        const ToRead &file = toRead.at(i);
        if (!add(folders[file.picture] + u'/' + file.name, file.picture, file.disk.size,
                 file.disk.mtime))
            return db.rollback(), Sync::Failed;
        const bool stopped = stop && stop();
        if (!stopped && ++inBatch < BatchFiles && batch.elapsed() < BatchMs &&
            i + 1 < toRead.size())
            continue;
        if (!db.commit())
            return Sync::Failed;
        if (progress)
            progress(int(toRead.size() - i - 1));
        if (stopped)
            return Sync::Stopped;
        inBatch = 0;
        batch.restart();
        db.transaction();
    }
    return db.commit() ? Sync::Done : Sync::Failed;
}

bool ArchiveIndex::add(const QString &path, bool picture, qint64 size, qint64 mtime) {
    const QString name = QFileInfo(path).fileName();
    const qint64 saved = savedAt(name, picture).toSecsSinceEpoch();
    QStringList texts;
    bool read = true;
    if (picture) {
        QSqlQuery words(database());
        words.prepare(u"SELECT words FROM words WHERE name = ? AND size = ? AND mtime = ?"_qs);
        words.addBindValue(name);
        words.addBindValue(size);
        words.addBindValue(mtime);
        read = exec(words) && words.next();
        if (read)
            texts << words.value(0).toString();
    } else {
        QFile file(path);
        const TextPage page =
            file.open(QIODevice::ReadOnly) ? readTextPage(file.readAll()) : TextPage{{}, false};
        if (!page.readable)
            qCWarning(lcFiles) << "saved page not read:" << name;
        texts = page.entries;
    }
    QSqlQuery insert(database());
    insert.prepare(u"INSERT INTO files(picture, name, size, mtime, saved, read)"
                   " VALUES(?, ?, ?, ?, ?, ?)"_qs);
    for (const QVariant &value : {QVariant(picture), QVariant(name), QVariant(size),
                                  QVariant(mtime), QVariant(saved), QVariant(read)})
        insert.addBindValue(value);
    return exec(insert) && insertItems(insert.lastInsertId().toLongLong(), saved, texts, picture);
}

bool ArchiveIndex::insertItems(qint64 file, qint64 saved, const QStringList &texts, bool picture) {
    if (texts.isEmpty())
        return true;
    QSqlQuery query(database());
    const qint64 base = saved * PerSecond;
    query.prepare(u"SELECT max(id) FROM items WHERE id >= ? AND id < ?"_qs);
    query.addBindValue(base);
    query.addBindValue(base + PerSecond);
    if (!exec(query) || !query.next())
        return false;
    qint64 next = query.value(0).isNull() ? base : query.value(0).toLongLong() + 1;
    // More than a second's places: the rest go after everything else.
    const bool placed = next + texts.size() <= base + PerSecond;
    query.prepare(u"INSERT INTO items(id, file, number, hash, folded) VALUES(?, ?, ?, ?, ?)"_qs);
    for (qsizetype number = 0; number < texts.size(); ++number) {
        const QString &text = texts.at(number);
        if (text.isEmpty())
            continue;
        query.addBindValue(placed ? QVariant(next++) : QVariant());
        query.addBindValue(file);
        query.addBindValue(picture ? -1 : number);
        // A text saved again is one match; pictures are never the same.
        query.addBindValue(picture ? -file : qint64(qHash(text, 0)));
        // Two blanks after the text: a word of one or two characters anywhere
        // in it begins a trigram, which the index can find (see ArchiveQuery).
        query.addBindValue(foldedForSearch(text) + u"  "_qs);
        if (!exec(query))
            return false;
    }
    return true;
}

QString ArchiveIndex::pictureToRead(const QString &imageFolder) {
    QSqlQuery query(database());
    if (!query.exec(u"SELECT name FROM files WHERE picture = 1 AND read = 0"
                    " ORDER BY saved DESC, name DESC LIMIT 1"_qs) ||
        !query.next())
        return {};
    return imageFolder + u'/' + query.value(0).toString();
}

void ArchiveIndex::setPictureWords(const QString &file, const QString &words) {
    const QString name = QFileInfo(file).fileName();
    QSqlDatabase db = database();
    QSqlQuery query(db);
    query.prepare(u"SELECT id, size, mtime, saved FROM files WHERE picture = 1 AND name = ?"_qs);
    query.addBindValue(name);
    if (!exec(query) || !query.next())
        return; // gone meanwhile
    const qint64 id = query.value(0).toLongLong(), size = query.value(1).toLongLong(),
                 mtime = query.value(2).toLongLong(), saved = query.value(3).toLongLong();
    db.transaction();
    query.prepare(u"INSERT OR REPLACE INTO words VALUES(?, ?, ?, ?)"_qs);
    for (const QVariant &value : {QVariant(name), QVariant(size), QVariant(mtime), QVariant(words)})
        query.addBindValue(value);
    exec(query);
    query.prepare(u"UPDATE files SET read = 1 WHERE id = ?"_qs);
    query.addBindValue(id);
    exec(query);
    insertItems(id, saved, {words}, true);
    db.commit();
}
