// SPDX-License-Identifier: MIT
#include "platform/x11/watcher.h"

#include "platform/changequeue.h"
#include "platform/fetchpolicy.h"
#include "platform/limits.h"
#include "platform/logging.h"
#include "platform/system.h"
#include "platform/x11/connection.h"
#include "platform/x11/transfer.h"

#include <QSet>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <optional>
#include <poll.h>
#include <unistd.h>
#include <xcb/xfixes.h>

namespace x11 {
namespace {

const QString utf8String = QStringLiteral("UTF8_STRING");
// A list of types: 4 bytes each.
constexpr qint64 targetsLimit = qint64(16) << 20;

/// The atoms of a TARGETS answer looked at: each once, the first
/// fetch::TypesLookedAt of them.
std::vector<xcb_atom_t> atomList(const QByteArray &list) {
    std::vector<xcb_atom_t> atoms;
    QSet<xcb_atom_t> seen;
    for (qsizetype at = 0; at + 4 <= list.size() && atoms.size() < fetch::TypesLookedAt; at += 4) {
        xcb_atom_t atom;
        std::memcpy(&atom, list.constData() + at, sizeof atom);
        if (atom != XCB_NONE && !seen.contains(atom)) {
            seen.insert(atom);
            atoms.push_back(atom);
        }
    }
    return atoms;
}

} // namespace

struct Watcher::Fetch {
    quint64 change;
    xcb_timestamp_t time;
    std::unique_ptr<Transfer> targets;
    std::map<QString, std::unique_ptr<Transfer>> reads; ///< by type
    /// Asked for before the list said it is not offered. Read to the end all
    /// the same: an owner may hand over what it has under any name asked
    /// for, in pieces, and answer nothing else until the last.
    std::vector<std::unique_ptr<Transfer>> unwanted;
    std::optional<QStringList> offered; ///< once TARGETS is answered
    QStringList wanted;                 ///< the types to fetch
    bool secret = false;

    std::vector<Transfer *> transfers() const {
        std::vector<Transfer *> all{targets.get()};
        for (const auto &[type, read] : reads)
            all.push_back(read.get());
        for (const auto &read : unwanted)
            all.push_back(read.get());
        return all;
    }
    bool busy() const {
        const std::vector<Transfer *> all = transfers();
        return std::any_of(all.begin() + 1, all.end(),
                           [](const Transfer *read) { return !read->finished(); });
    }
};

Watcher::Watcher(std::unique_ptr<Connection> connection, uint32_t ownBase, uint32_t ownMask,
                 Events events)
    : m_connection(std::move(connection))
    , m_ownBase(ownBase)
    , m_ownMask(ownMask)
    , m_events(std::move(events))
    , m_budget(std::make_shared<fetch::Budget>()) {
    if (::pipe2(m_wake, O_CLOEXEC) != 0)
        qCWarning(lcX11) << "no pipe to stop the watcher with: it looks for the stop in turns";
    m_connection->listenToClipboard();
    m_thread = std::thread([this] {
        nameThisThread("orlo-x11");
        run();
    });
}

Watcher::~Watcher() {
    m_stop = true;
    if (m_wake[1] >= 0)
        (void)!::write(m_wake[1], "x", 1);
    m_thread.join();
    m_fetches.clear();
    for (int fd : m_wake) {
        if (fd >= 0)
            ::close(fd);
    }
}

void Watcher::run() {
    xcb_connection_t *xcb = m_connection->xcb();
    while (!m_stop) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(xcb)) {
            handle(event);
            std::free(event);
        }
        if (const int error = xcb_connection_has_error(xcb)) {
            m_events.lost({Reason::XServerLost, QString::fromLocal8Bit(qgetenv("DISPLAY")),
                           QStringLiteral("xcb error %1").arg(error)});
            return;
        }
        expireDue();
        // Replies read meanwhile may have brought events along.
        if (xcb_generic_event_t *event = xcb_poll_for_queued_event(xcb)) {
            handle(event);
            std::free(event);
            continue;
        }
        xcb_flush(xcb);
        qint64 due = -1;
        for (const auto &fetch : m_fetches) {
            for (const Transfer *transfer : fetch->transfers()) {
                if (!transfer->finished())
                    due = due < 0 ? transfer->deadline() : qMin(due, transfer->deadline());
            }
        }
        // Without the wake-up pipe the stop is looked for in turns.
        const qint64 longest = m_wake[0] >= 0 ? 60'000 : 100;
        const int timeout =
            int(due < 0 ? longest : std::clamp<qint64>(due - ChangeQueue::now(), 0, longest));
        pollfd fds[2] = {{xcb_get_file_descriptor(xcb), POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        if (::poll(fds, m_wake[0] >= 0 ? 2 : 1, timeout) > 0 && (fds[1].revents & POLLIN))
            return;
    }
}

void Watcher::handle(const xcb_generic_event_t *event) {
    const uint8_t type = event->response_type & 0x7f;
    const qint64 now = ChangeQueue::now();
    if (type == m_connection->xfixesEvent() + XCB_XFIXES_SELECTION_NOTIFY) {
        const auto *notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t *>(event);
        if (notify->selection == m_connection->clipboard)
            ownerChanged(notify->owner, notify->selection_timestamp);
        return;
    }
    for (const auto &fetch : m_fetches) {
        for (Transfer *transfer : fetch->transfers()) {
            const bool concerned =
                type == XCB_SELECTION_NOTIFY
                    ? transfer->selectionNotify(
                          *reinterpret_cast<const xcb_selection_notify_event_t *>(event), now)
                : type == XCB_PROPERTY_NOTIFY
                    ? transfer->propertyNotify(
                          *reinterpret_cast<const xcb_property_notify_event_t *>(event), now)
                    : false;
            if (concerned) {
                progress(*fetch);
                return;
            }
        }
    }
}

void Watcher::ownerChanged(xcb_window_t owner, xcb_timestamp_t time) {
    const quint64 change = ++m_changes;
    const bool own = owner != XCB_NONE && (owner & ~m_ownMask) == m_ownBase;
    m_events.changed(change, ChangeQueue::now(), own);
    if (own)
        return;
    if (owner == XCB_NONE) {
        m_events.fetched(change, ClipContent()); // emptied, or its owner went away
        return;
    }
    if (m_fetches.size() >= fetch::ChangesAtOnce) {
        qCWarning(lcX11) << "too many copies being fetched at once: the oldest is given up";
        for (Transfer *transfer : m_fetches.front()->transfers())
            transfer->expire();
        progress(*m_fetches.front());
    }
    auto fetch = std::make_unique<Fetch>();
    fetch->change = change;
    fetch->time = time;
    // The list of types and, in the same breath, the text most copies are.
    // The list first: an owner busy sending a large text in pieces may not
    // answer anything else meanwhile (xclip does not).
    fetch->targets = std::make_unique<Transfer>(*m_connection, m_connection->targets, time,
                                                targetsLimit, *m_budget, ChangeQueue::now());
    startTransfer(*fetch, utf8String);
    m_fetches.push_back(std::move(fetch));
}

void Watcher::startTransfer(Fetch &fetch, const QString &type) {
    if (fetch.reads.count(type))
        return;
    fetch.reads.emplace(type, std::make_unique<Transfer>(
                                  *m_connection, m_connection->atom(type.toUtf8()), fetch.time,
                                  fetch::limitFor(type), *m_budget, ChangeQueue::now()));
}

void Watcher::progress(Fetch &fetch) {
    const bool listed = !fetch.offered && fetch.targets->finished();
    if (listed) {
        if (fetch.targets->state() == Transfer::State::Done) {
            fetch.offered = m_connection->names(atomList(fetch.targets->data()));
            fetch.targets->wipe();
        } else {
            // No list (an owner of old, or one that does not answer): the
            // text, when it came, is all that is known.
            const auto text = fetch.reads.find(utf8String);
            const bool had =
                text != fetch.reads.end() && text->second->state() == Transfer::State::Done;
            fetch.offered = had ? QStringList{utf8String} : QStringList();
            if (!had)
                qCWarning(lcX11) << "the owner of a copy did not list its types";
        }
        fetch.wanted = fetch::typesToFetch(*fetch.offered);
        for (auto read = fetch.reads.begin(); read != fetch.reads.end();) {
            if (fetch.wanted.contains(read->first)) {
                ++read;
                continue;
            }
            fetch.unwanted.push_back(std::move(read->second));
            read = fetch.reads.erase(read);
        }
        for (const QString &type : std::as_const(fetch.wanted)) {
            if (!readablePictureTypes().contains(type))
                startTransfer(fetch, type);
        }
    }
    // Some markers say it by their name alone, others by their value.
    std::map<QString, QByteArray> markers;
    for (const auto &[type, read] : fetch.reads) {
        if (read->state() == Transfer::State::Done && fetch::isMarker(type))
            markers.emplace(type, read->data());
    }
    if (fetch.offered && !fetch.secret && (listed || !markers.empty()))
        fetch.secret = fetch::marksSecret(*fetch.offered, markers);
    if (fetch.secret) {
        // What was had of it goes at once; the rest is not asked for.
        for (Transfer *transfer : fetch.transfers())
            transfer->wipe();
        fetch.reads.clear();
    }
    if (!fetch.offered || fetch.busy())
        return;
    // The picture once the rest is had, for the same reason as above.
    for (const QString &type : std::as_const(fetch.wanted)) {
        if (fetch.secret || fetch.reads.count(type))
            continue;
        // What an owner handed over under another name may be just this.
        for (auto &read : fetch.unwanted) {
            if (read->state() == Transfer::State::Done &&
                m_connection->names({read->type()}).value(0) == type) {
                fetch.reads.emplace(type, std::move(read));
                std::erase(fetch.unwanted, nullptr);
                break;
            }
        }
        if (!fetch.reads.count(type)) {
            startTransfer(fetch, type);
            return;
        }
    }
    finish(fetch);
}

void Watcher::finish(Fetch &fetch) {
    std::map<QString, QByteArray> fetched;
    Reason refused = Reason::None;
    qint64 held = 0;
    for (auto &[type, read] : fetch.reads) {
        if (read->state() == Transfer::State::TooLarge || read->state() == Transfer::State::CutOff)
            refused = refused != Reason::None ? refused : fetch::refusedFor(type);
        if (read->state() != Transfer::State::Done)
            continue;
        // TEXT comes in the encoding the owner chose, told by the data's type.
        const QString given = m_connection->names({read->type()}).value(0);
        held += read->data().size();
        QByteArray data = read->takeData();
        if (type == u"TEXT" && given != type && isPlainTextType(given))
            data = decodeText(given, data).value_or(QString()).toUtf8();
        fetched.emplace(type, std::move(data));
    }
    if (fetch.secret)
        fetched = {{QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret")}};
    // What was taken of the budget goes back when the content is let go.
    ClipContent content =
        ClipContent::fromOffer(*fetch.offered, fetched, fetch::hold(m_budget, held));
    if (refused != Reason::None)
        content.refuse(refused);
    const quint64 change = fetch.change;
    std::erase_if(m_fetches, [&](const auto &waiting) { return waiting.get() == &fetch; });
    m_events.fetched(change, std::move(content));
}

void Watcher::expireDue() {
    const qint64 now = ChangeQueue::now();
    for (size_t i = 0; i < m_fetches.size(); ++i) {
        Fetch &fetch = *m_fetches[i];
        bool expired = false;
        for (Transfer *transfer : fetch.transfers()) {
            if (!transfer->finished() && transfer->deadline() <= now) {
                transfer->expire();
                expired = true;
            }
        }
        if (!expired)
            continue;
        qCWarning(lcX11) << "the owner of a copy did not hand it over in time"
                         << (fetch.targets->finished() ? "" : "(its list of types)");
        const size_t before = m_fetches.size();
        progress(fetch);
        if (m_fetches.size() < before)
            --i; // it went
    }
}

} // namespace x11
