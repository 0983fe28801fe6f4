// SPDX-License-Identifier: MIT
#pragma once

#include "platform/changequeue.h"
#include "platform/clipboard.h"
#include "platform/logging.h"

#include <map>

/// The debug line of a change handed on: the back end, the types offered,
/// the bytes fetched and how long that took; never the content.
inline void traceChange(const QString &backEnd, const ClipContent &content, bool quiet) {
    qCDebug(lcCapture).nospace().noquote()
        << backEnd << (quiet ? ": content at start, " : ": change, ") << content.offer().mimeTypes
        << ", " << content.bytes() << " bytes fetched in " << content.waitedMs() << " ms";
}

/// A clipboard whose changes the program hears and fetches itself, on a
/// connection and a thread of its own (a watcher), and hands on in the order
/// they were made (ChangeQueue). The readers answer at once from what the
/// change being handed on left.
class WatchedClipboard : public Clipboard {
public:
    ClipOffer offer() const final { return m_current.offer(); }
    std::optional<QString> readText() const final { return m_current.text(); }
    QImage readImage() const final { return m_current.image(); }
    Result listening() const final { return m_failure; }

protected:
    WatchedClipboard()
        : m_queue([this](ClipContent content, bool quiet) {
            traceChange(name(), content, quiet);
            m_current = std::move(content);
            if (!quiet)
                emit changed();
        }) {}

    /// The watcher heard its change number `change`, made at `madeMs`.
    /// Called on this object's thread, in the order the watcher told them.
    void heard(quint64 change, qint64 madeMs, bool quiet = false) {
        m_changes.emplace(change, m_queue.add(madeMs, quiet));
    }
    /// What the watcher's change `change` held.
    void fetched(quint64 change, ClipContent content) {
        const auto found = m_changes.find(change);
        if (found == m_changes.end())
            return;
        m_queue.complete(found->second, std::move(content));
        m_changes.erase(found);
    }
    /// The watcher hears no more.
    void lost(const Result &why) {
        m_failure = why;
        emit listeningLost(why);
    }
    /// fetched() and lost(), told from the watcher's thread: handled on this
    /// one, in the order told.
    void fetchedLater(quint64 change, ClipContent content) {
        QMetaObject::invokeMethod(
            this, [this, change, content = std::move(content)] { fetched(change, content); },
            Qt::QueuedConnection);
    }
    void lostLater(const Result &why) {
        QMetaObject::invokeMethod(
            this, [this, why] { lost(why); }, Qt::QueuedConnection);
    }

    ChangeQueue m_queue;
    std::map<quint64, quint64> m_changes; ///< the watcher's numbers, in the queue
    /// What the readers answer: the change handed on last, or our own copy.
    ClipContent m_current;
    /// Why changes are no longer heard.
    Result m_failure;
};
