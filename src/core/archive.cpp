// SPDX-License-Identifier: MIT
#include "core/archive.h"

#include "core/archiveindex.h"
#include "core/archivepage.h"
#include "platform/logging.h"
#include "platform/textrecognizer.h"

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QImageReader>
#include <QTimer>

namespace {

/// Lives in the indexing thread: keeps the index in line with the folders,
/// then reads the words in saved pictures.
class Indexer final : public QObject {
public:
    explicit Indexer(TextRecognizer &recognizer)
        : m_recognizer(recognizer) { // the members move to the thread with it
        for (QObject *member : std::initializer_list<QObject *>{&m_watcher, &m_settle, &m_later})
            member->setParent(this);
        m_settle.setSingleShot(true);
        m_settle.setInterval(1000); // a save writes, then renames
        connect(&m_settle, &QTimer::timeout, this, &Indexer::update);
        connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle,
                qOverload<>(&QTimer::start));
        m_later.setSingleShot(true);
        m_later.setInterval(2000);
        connect(&m_later, &QTimer::timeout, this, &Indexer::readPicture);
    }

    void setFolders(const QString &file, const QString &old, const QString &text,
                    const QString &image) {
        m_index = std::make_unique<ArchiveIndex>(file);
        if (!old.isEmpty() && old != file)
            ArchiveIndex::remove(old);
        ArchiveIndex::removeUnused(file);
        m_folders[0] = text;
        m_folders[1] = image;
        if (!m_watcher.directories().isEmpty())
            m_watcher.removePaths(m_watcher.directories());
        for (const QString &folder : {text, image}) {
            if (!folder.isEmpty() && QFileInfo(folder).isDir())
                m_watcher.addPath(folder);
        }
        m_opened = false;
        update();
    }

    void update() {
        if (!m_index || stopping)
            return;
        indexing(true);
        if (!m_opened && (m_opened = m_index->open()))
            opened();
        const auto stop = [this] {
            return stopping.load();
        };
        ArchiveIndex::Sync synced =
            m_opened ? m_index->sync(m_folders[0], m_folders[1], stop) : ArchiveIndex::Sync::Failed;
        if (synced == ArchiveIndex::Sync::Failed && !stopping) {
            // Damaged while in use: made afresh, once a run.
            qCWarning(lcFiles) << "archive index failed: made afresh";
            if (!m_rebuilt && (m_rebuilt = true) && (m_opened = m_index->rebuild())) {
                opened();
                synced = m_index->sync(m_folders[0], m_folders[1], stop);
            }
        }
        indexing(false);
        changed();
        if (synced == ArchiveIndex::Sync::Done)
            readPicture();
    }

    void readPicture() {
        if (stopping || !m_opened || !m_recognizer.available())
            return;
        if (picturesWaiting > 0) {
            m_later.start();
            return;
        }
        const QString file = m_index->pictureToRead(m_folders[1]);
        if (file.isEmpty())
            return;
        QImageReader reader(file);
        QString words = searchableWords(m_recognizer.read(reader.read()));
        if (stopping)
            return;
        m_index->setPictureWords(file, words);
        if (!words.isEmpty())
            changed();
        QTimer::singleShot(0, this, &Indexer::readPicture);
    }

    std::atomic<bool> stopping = false;
    std::atomic<int> picturesWaiting = 0;
    /// Told, from this thread, when indexing starts and ends.
    std::function<void(bool)> indexing;
    /// Told, from this thread, when what the index holds may have changed.
    std::function<void()> changed;
    /// Told the index file and the folders when the index is opened or made afresh.
    std::function<void(const QStringList &)> indexOpened;

private:
    void opened() { indexOpened({m_index->file(), m_folders[0], m_folders[1]}); }

    TextRecognizer &m_recognizer;
    std::unique_ptr<ArchiveIndex> m_index;
    QString m_folders[2];
    QFileSystemWatcher m_watcher;
    QTimer m_settle, m_later;
    bool m_opened = false;
    bool m_rebuilt = false;
};

/// Lives in the search thread: runs the newest search asked for.
class Searcher final : public QObject {
public:
    explicit Searcher(std::shared_ptr<std::atomic<quint64>> latest)
        : m_latest(std::move(latest)) {}

    void setIndex(const QStringList &index) {
        m_query = std::make_unique<ArchiveQuery>(index.at(0), index.at(1), index.at(2));
    }

    /// The matches of search `generation`: the first ones or, `appended`, more.
    QList<ArchiveMatch> run(quint64 generation, const SearchWords &words, bool appended, bool &more,
                            bool &current) {
        const auto stale = [this, generation] {
            return m_latest->load() != generation;
        };
        current = !stale() && m_query;
        if (!current)
            return {};
        if (!appended) {
            m_query->start(words);
            m_pending.clear();
        }
        QList<ArchiveMatch> found = std::exchange(m_pending, {});
        found += m_query->next(Archive::Page + 1 - int(found.size()), stale);
        current = !stale();
        more = found.size() > Archive::Page;
        if (more)
            m_pending << found.takeLast();
        return found;
    }

private:
    std::shared_ptr<std::atomic<quint64>> m_latest;
    std::unique_ptr<ArchiveQuery> m_query;
    QList<ArchiveMatch> m_pending;
};

} // namespace

Archive::Archive(QString cacheFolder, TextRecognizer &recognizer, QObject *parent)
    : QObject(parent)
    , m_cacheFolder(std::move(cacheFolder))
    , m_recognizer(recognizer)
    , m_indexer(new Indexer(recognizer))
    , m_searcher(new Searcher(m_latest)) {
    auto *indexer = static_cast<Indexer *>(m_indexer);
    indexer->indexing = [this](bool on) {
        QMetaObject::invokeMethod(
            this,
            [this, on] {
                if (std::exchange(m_indexing, on) != on)
                    emit indexingChanged(on);
            },
            Qt::QueuedConnection);
    };
    indexer->changed = [this] {
        QMetaObject::invokeMethod(
            this, [this] { emit changed(); }, Qt::QueuedConnection);
    };
    indexer->indexOpened = [searcher =
                                static_cast<Searcher *>(m_searcher)](const QStringList &index) {
        QMetaObject::invokeMethod(
            searcher, [searcher, index] { searcher->setIndex(index); }, Qt::QueuedConnection);
    };
    m_indexer->moveToThread(&m_indexThread);
    m_searcher->moveToThread(&m_queryThread);
    connect(&m_indexThread, &QThread::finished, m_indexer, &QObject::deleteLater);
    connect(&m_queryThread, &QThread::finished, m_searcher, &QObject::deleteLater);
    m_indexThread.start(QThread::IdlePriority);
    m_queryThread.start();
}

Archive::~Archive() {
    // Both threads stop between two steps; a picture being read is let go.
    static_cast<Indexer *>(m_indexer)->stopping = true;
    m_recognizer.interrupt();
    m_latest->store(~quint64(0));
    m_indexThread.quit();
    m_indexThread.wait(); // it tells the searches of the index it opens
    m_queryThread.quit();
    m_queryThread.wait();
}

void Archive::setFolders(const QString &textFolder, const QString &imageFolder) {
    const QString file = ArchiveIndex::fileFor(m_cacheFolder, textFolder, imageFolder);
    if (file == m_indexFile)
        return;
    QMetaObject::invokeMethod(
        m_indexer,
        [indexer = static_cast<Indexer *>(m_indexer), file, old = m_indexFile, textFolder,
         imageFolder] { indexer->setFolders(file, old, textFolder, imageFolder); },
        Qt::QueuedConnection);
    m_indexFile = file;
}

void Archive::rescan() {
    QMetaObject::invokeMethod(
        m_indexer, [i = static_cast<Indexer *>(m_indexer)] { i->update(); }, Qt::QueuedConnection);
}

void Archive::setPicturesWaiting(int waiting) {
    static_cast<Indexer *>(m_indexer)->picturesWaiting = waiting;
}

void Archive::search(const SearchWords &words) {
    m_generation = ++*m_latest;
    if (words.isEmpty()) {
        emit found({}, false, false);
        return;
    }
    QMetaObject::invokeMethod(
        m_searcher,
        [this, s = static_cast<Searcher *>(m_searcher), g = m_generation, words] {
            bool more = false, current = false;
            const QList<ArchiveMatch> matches = s->run(g, words, false, more, current);
            if (current)
                QMetaObject::invokeMethod(this, [=, this] {
                    if (g == m_generation)
                        emit found(matches, false, more);
                });
        },
        Qt::QueuedConnection);
}

void Archive::more() {
    QMetaObject::invokeMethod(
        m_searcher,
        [this, s = static_cast<Searcher *>(m_searcher), g = m_generation] {
            bool more = false, current = false;
            const QList<ArchiveMatch> matches = s->run(g, {}, true, more, current);
            if (current)
                QMetaObject::invokeMethod(this, [=, this] {
                    if (g == m_generation)
                        emit found(matches, true, more);
                });
        },
        Qt::QueuedConnection);
}

QString Archive::textOf(const ArchiveMatch &match) {
    QFile file(match.file);
    if (match.picture() || !file.open(QIODevice::ReadOnly))
        return {};
    return readTextPage(file.readAll()).entries.value(match.number);
}
