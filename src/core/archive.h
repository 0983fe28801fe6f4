// SPDX-License-Identifier: MIT
#pragma once

#include "core/archivequery.h"

#include <QObject>
#include <QThread>
#include <atomic>

class TextRecognizer;

/// Everything saved in the data folders, searched as one: the saved text
/// pages and pictures, kept in an index in the cache folder. The index is
/// brought up to date in the background at the lowest priority, whenever the
/// folders change, and the words in saved pictures are read there once the
/// entries' own pictures are. Searches run on a thread of their own, the
/// newest one typed only. Nothing here is ever waited for long: quitting
/// stops both threads between two steps.
class Archive final : public QObject {
    Q_OBJECT
public:
    /// Matches a search gives at a time.
    static constexpr int Page = 50;

    /// Keeps its indexes in `cacheFolder`; reads pictures with `recognizer`.
    Archive(QString cacheFolder, TextRecognizer &recognizer, QObject *parent = nullptr);
    ~Archive() override;

    /// The data folders: their index is opened, or made, and brought up to
    /// date; that of the folders before is deleted.
    void setFolders(const QString &textFolder, const QString &imageFolder);
    /// Looks for `words` afresh; nothing while they are empty.
    void search(const SearchWords &words);
    /// The next matches of the last search.
    void more();
    /// Whether the index is being brought up to date.
    bool indexing() const { return m_indexing; }
    /// Looks at the folders again now.
    void rescan();
    /// While the entries' pictures wait to be read, saved ones are not.
    void setPicturesWaiting(int waiting);

    /// The entry's text as its page has it now; null when it cannot be read.
    static QString textOf(const ArchiveMatch &match);

signals:
    /// Matches of the search `typed`; `appended` to the last ones (更多)
    /// or a new list; `more`: there are more.
    void found(const QList<ArchiveMatch> &matches, bool appended, bool more);
    void indexingChanged(bool indexing);
    /// What is indexed may have changed (files noticed, a picture's words
    /// read): a search made before may find more, or less.
    void changed();

private:
    QString m_cacheFolder;
    QString m_indexFile;
    TextRecognizer &m_recognizer;
    QThread m_indexThread, m_queryThread;
    /// The search last asked for; a search running for an older one stops.
    std::shared_ptr<std::atomic<quint64>> m_latest = std::make_shared<std::atomic<quint64>>(0);
    QObject *m_indexer;
    QObject *m_searcher;
    quint64 m_generation = 0;
    bool m_indexing = false;
};
