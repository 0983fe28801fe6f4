// SPDX-License-Identifier: MIT
#pragma once

#include "platform/clipcontent.h"

#include <QObject>
#include <QTimer>
#include <deque>
#include <functional>
#include <optional>

/// The clipboard's changes in the order they were made, handed on in that
/// order once each one's content is had. A change still being fetched holds
/// the later ones back for at most `holdMs` from the moment it was made;
/// after that they go past it, and it goes when it is complete. So a slow or
/// endless owner costs every other copy a second at most.
///
/// Changes are handed on from the event loop, one at a time, never from
/// inside the caller of complete().
class ChangeQueue final : public QObject {
public:
    /// `content` is what the change left; `quiet` ones are not changes
    /// (what was there at start).
    using Deliver = std::function<void(ClipContent content, bool quiet)>;

    explicit ChangeQueue(Deliver deliver, int holdMs = 1000, QObject *parent = nullptr);

    /// A change made at `madeMs` (now()'s clock) whose content is yet to
    /// come; its number.
    quint64 add(qint64 madeMs, bool quiet = false);
    /// Its content has come (or what could be had of it).
    void complete(quint64 change, ClipContent content);
    /// Changes not handed on yet.
    size_t waiting() const { return m_changes.size(); }
    /// Milliseconds on a clock that every thread reads alike.
    static qint64 now();

private:
    struct Change {
        quint64 number;
        qint64 madeMs;
        bool quiet;
        std::optional<ClipContent> content;
    };
    void schedule();
    void deliver();

    Deliver m_deliver;
    int m_holdMs;
    std::deque<Change> m_changes; ///< oldest first
    quint64 m_count = 0;
    QTimer m_release; ///< when the oldest change still fetched stops holding others
    bool m_scheduled = false;
    bool m_delivering = false;
};
