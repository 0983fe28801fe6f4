// SPDX-License-Identifier: MIT
#pragma once

#include "platform/clipcontent.h"
#include "platform/wayland/protocol.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <list>
#include <memory>
#include <vector>

namespace wayland {

class Connection;
class PipeWriter;

/// The clipboard of a Wayland session through the data-control protocol that
/// compositors offer clipboard managers: unlike the toolkit's clipboard it
/// sees every copy, with no window and without the focus. Lives on a thread
/// of its own with an event loop (its connection, offers, pipes and our own
/// sources alike), so a busy window thread costs no copy.
///
/// Each change is fetched as it comes (the text, the best picture, the
/// markers that decide its kinds, as the fetch policy says) while its owner
/// still has the clipboard, and told once fetched, or once its owner has
/// kept us waiting too long. Our own copies are told apart without a marker:
/// a selection that comes while a source we set is alive, offering its
/// types, is that source's.
class Watcher final : public QObject {
public:
    /// Told on its thread.
    struct Events {
        /// A change made at `madeMs` (ChangeQueue::now()); `quiet`: what was
        /// there at start, not a change.
        std::function<void(quint64 change, qint64 madeMs, bool quiet)> changed;
        /// What the change held, or what could be had of it.
        std::function<void(quint64 change, ClipContent content)> fetched;
        /// Nothing is heard from now on.
        std::function<void(const Result &why)> lost;
    };

    Watcher(std::shared_ptr<Connection> connection, Events events);
    ~Watcher() override;

    /// Listens, on the thread it is to live on; false, and why, when the
    /// compositor does not let it.
    bool start(Result *whyNot);
    /// Makes `content` the clipboard's, ours to hand over when asked.
    void own(const ClipContent &content);
    void clear();

private:
    struct Offer;
    struct Change;
    struct OwnSource;
    struct Callbacks;

    void onDataOffer(wl_proxy *offer);
    void onSelection(wl_proxy *offer);
    void onPrimarySelection(wl_proxy *offer);
    void onFinished();
    void onSend(OwnSource &source, const char *mimeType, int fd);
    void onCancelled(OwnSource &source);

    void fetch(quint64 change, wl_proxy *offer, const QStringList &types);
    void expire(Change &change);
    /// Tells the changes whose transfers ended.
    void settle();
    void scheduleSettle();
    void fail(const Result &why);
    bool connected() const;

    std::shared_ptr<Connection> m_connection;
    Events m_events;
    DevicePtr m_device;
    std::vector<std::unique_ptr<Offer>> m_newOffers; ///< introduced, not selected yet
    std::unique_ptr<Offer> m_selected;               ///< the clipboard's offer now
    std::list<std::unique_ptr<Change>> m_fetching;   ///< oldest first
    std::list<std::unique_ptr<OwnSource>> m_sources; ///< ours, until replaced
    std::list<std::unique_ptr<PipeWriter>> m_writers;
    std::shared_ptr<fetch::Budget> m_budget;
    quint64 m_changes = 0;
    bool m_started = false;
    Result m_failure;
    QTimer m_settle; ///< settles from the event loop
};

} // namespace wayland
