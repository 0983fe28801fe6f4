// SPDX-License-Identifier: MIT
#pragma once

#include "platform/clipcontent.h"

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <thread>
#include <xcb/xcb.h>

namespace x11 {

class Connection;
class Transfer;

/// Hears every change of the X11 clipboard, on a connection and a thread of
/// its own, and fetches what each one holds at once, before its owner can be
/// replaced: the text and the list of types (TARGETS) asked for together,
/// then the best picture and the markers the list names. A busy window
/// thread costs no copy; an owner that never answers costs its own change
/// one time bound and no other change anything. What it asks for, how much
/// and how long it waits are the fetch policy's (platform/fetchpolicy.h).
///
/// What it hears is told through `Events`, called on its thread.
class Watcher final {
public:
    struct Events {
        /// A change made at `madeMs` (ChangeQueue::now()); `own`: the owner is a
        /// window of this program's, whose content is known without asking.
        std::function<void(quint64 change, qint64 madeMs, bool own)> changed;
        /// What another program's change held, or what could be had of it.
        std::function<void(quint64 change, ClipContent content)> fetched;
        /// The connection broke: nothing is heard from now on.
        std::function<void(const Result &why)> lost;
    };

    /// Starts listening on `connection`. Windows whose ids have this
    /// program's X connection's `ownBase` under `ownMask` are ours.
    Watcher(std::unique_ptr<Connection> connection, uint32_t ownBase, uint32_t ownMask,
            Events events);
    ~Watcher(); ///< stops the thread
    Watcher(const Watcher &) = delete;
    Watcher &operator=(const Watcher &) = delete;

private:
    struct Fetch;
    void run();
    void handle(const xcb_generic_event_t *event);
    void ownerChanged(xcb_window_t owner, xcb_timestamp_t time);
    void progress(Fetch &fetch);
    void startTransfer(Fetch &fetch, const QString &type);
    void finish(Fetch &fetch);
    void expireDue();

    std::unique_ptr<Connection> m_connection;
    uint32_t m_ownBase, m_ownMask;
    Events m_events;
    std::deque<std::unique_ptr<Fetch>> m_fetches; ///< oldest first
    quint64 m_changes = 0;
    std::shared_ptr<fetch::Budget> m_budget;
    int m_wake[2] = {-1, -1}; ///< written to stop the thread
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};

} // namespace x11
