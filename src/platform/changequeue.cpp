// SPDX-License-Identifier: MIT
#include "platform/changequeue.h"

#include <chrono>

ChangeQueue::ChangeQueue(Deliver deliver, int holdMs, QObject *parent)
    : QObject(parent)
    , m_deliver(std::move(deliver))
    , m_holdMs(holdMs) {
    m_release.setSingleShot(true);
    connect(&m_release, &QTimer::timeout, this, &ChangeQueue::deliver);
}

qint64 ChangeQueue::now() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

quint64 ChangeQueue::add(qint64 madeMs, bool quiet) {
    m_changes.push_back({++m_count, madeMs, quiet, std::nullopt});
    schedule();
    return m_count;
}

void ChangeQueue::complete(quint64 change, ClipContent content) {
    for (Change &waiting : m_changes) {
        if (waiting.number == change) {
            content.setWaited(now() - waiting.madeMs);
            waiting.content = std::move(content);
        }
    }
    schedule();
}

void ChangeQueue::schedule() {
    if (m_scheduled)
        return;
    m_scheduled = true;
    QMetaObject::invokeMethod(this, &ChangeQueue::deliver, Qt::QueuedConnection);
}

void ChangeQueue::deliver() {
    m_scheduled = false;
    // A receiver that runs the event loop (a message box) must not get the
    // next change inside this one: the outer pass goes on once it returns.
    if (m_delivering)
        return;
    m_delivering = true;
    for (bool handed = true; handed;) {
        handed = false;
        const qint64 now = ChangeQueue::now();
        qint64 releaseAt = -1; // when a change still fetched stops holding the others
        for (auto at = m_changes.begin(); at != m_changes.end(); ++at) {
            if (!at->content) {
                if (now - at->madeMs < m_holdMs) {
                    releaseAt = at->madeMs + m_holdMs;
                    break; // holds every later one
                }
                continue; // held its share: the later ones go past
            }
            Change change = std::move(*at);
            m_changes.erase(at);
            m_deliver(std::move(*change.content), change.quiet);
            handed = true;
            break; // the list may have changed meanwhile: look again from the start
        }
        if (!handed && releaseAt >= 0)
            m_release.start(int(qMax<qint64>(releaseAt - now, 1)));
    }
    m_delivering = false;
}
