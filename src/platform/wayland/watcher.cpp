// SPDX-License-Identifier: MIT
#include "platform/wayland/watcher.h"

#include "platform/changequeue.h"
#include "platform/logging.h"
#include "platform/wayland/connection.h"
#include "platform/wayland/pipes.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <map>
#include <unistd.h>

namespace wayland {
namespace {

QByteArray encoded(const QImage &image, const char *format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

} // namespace

struct Watcher::Offer {
    OfferPtr proxy;
    QStringList types;
};

struct Watcher::Change {
    quint64 number = 0;
    QStringList types;
    std::map<QString, std::unique_ptr<PipeReader>> reads;
    QTimer bound;
    QElapsedTimer age;
    bool superseded = false; ///< another change came after this one

    bool complete() const {
        for (const auto &[type, read] : reads) {
            if (read->state() == PipeReader::State::Reading)
                return false;
        }
        return true;
    }
    ClipContent result(const std::shared_ptr<fetch::Budget> &budget) {
        std::map<QString, QByteArray> fetched;
        Reason refused = Reason::None;
        qint64 held = 0;
        for (const auto &[type, read] : reads) {
            // The compositor closes the pipe unwritten when our request
            // comes after the owner was replaced: that is no copy of nothing.
            if (read->state() == PipeReader::State::Done &&
                !(superseded && read->data().isEmpty())) {
                held += read->data().size();
                fetched.emplace(type, read->takeData());
            }
            if (read->state() == PipeReader::State::TooLarge ||
                read->state() == PipeReader::State::CutOff)
                refused = refused != Reason::None ? refused : fetch::refusedFor(type);
        }
        // What was taken of the budget goes back when the content is let go.
        ClipContent content = ClipContent::fromOffer(types, fetched, fetch::hold(budget, held));
        if (refused != Reason::None)
            content.refuse(refused);
        return content;
    }
};

struct Watcher::OwnSource {
    Watcher *owner = nullptr;
    SourcePtr proxy;
    bool selected = false; ///< its selection event came
    ClipContent content;
    std::map<QString, QByteArray> encodings; ///< made when first asked for

    QByteArray dataFor(const QString &type) {
        const QImage image = content.image();
        const QString key = image.isNull() ? QString() : type;
        auto found = encodings.find(key);
        if (found == encodings.end()) {
            const QByteArray bytes = image.isNull() ? content.text().value_or(QString()).toUtf8()
                                     : type == u"image/png" ? encoded(image, "PNG")
                                                            : encoded(image, "BMP");
            found = encodings.emplace(key, bytes).first;
        }
        return found->second;
    }
};

struct Watcher::Callbacks {
    static Watcher *self(void *data) { return static_cast<Watcher *>(data); }
    static void dataOffer(void *data, wl_proxy *, wl_proxy *offer) {
        self(data)->onDataOffer(offer);
    }
    static void selection(void *data, wl_proxy *, wl_proxy *offer) {
        self(data)->onSelection(offer);
    }
    static void finished(void *data, wl_proxy *) { self(data)->onFinished(); }
    static void primarySelection(void *data, wl_proxy *, wl_proxy *offer) {
        self(data)->onPrimarySelection(offer);
    }
    static void offerType(void *data, wl_proxy *, const char *mimeType) {
        static_cast<Offer *>(data)->types << QString::fromUtf8(mimeType);
    }
    static void send(void *data, wl_proxy *, const char *mimeType, int32_t fd) {
        auto *source = static_cast<OwnSource *>(data);
        source->owner->onSend(*source, mimeType, fd);
    }
    static void cancelled(void *data, wl_proxy *) {
        auto *source = static_cast<OwnSource *>(data);
        source->owner->onCancelled(*source);
    }

    static constexpr DeviceListener deviceListener{&dataOffer, &selection, &finished,
                                                   &primarySelection};
    static constexpr OfferListener offerListener{&offerType};
    static constexpr SourceListener sourceListener{&send, &cancelled};
};

Watcher::Watcher(std::shared_ptr<Connection> connection, Events events)
    : m_connection(std::move(connection))
    , m_events(std::move(events))
    , m_budget(std::make_shared<fetch::Budget>()) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(0);
    connect(&m_settle, &QTimer::timeout, this, &Watcher::settle);
}

Watcher::~Watcher() {
    // Every object of the connection goes before the connection itself.
    m_fetching.clear();
    m_writers.clear();
    m_sources.clear();
    m_newOffers.clear();
    m_selected.reset();
    m_device.reset();
    m_connection.reset();
}

bool Watcher::start(Result *whyNot) {
    m_device.reset(
        getDataDevice(m_connection->protocol(), m_connection->manager(), m_connection->seat()));
    addListener(m_device.get(), &Callbacks::deviceListener, this);
    // The compositor answers with the content found now: fetched, not told as a change.
    if (!m_connection->roundtrip() || !m_failure.ok()) {
        if (whyNot)
            *whyNot = m_failure.ok() ? m_connection->failure() : m_failure;
        return false;
    }
    m_started = true;
    m_connection->startDispatching([this] { fail(m_connection->failure()); });
    return true;
}

void Watcher::fail(const Result &why) {
    if (!m_failure.ok())
        return;
    m_failure = why;
    qCWarning(lcWayland) << "no longer hearing changes:" << why;
    if (m_started)
        m_events.lost(why);
}

void Watcher::clear() {
    if (!connected())
        return;
    setSelection(m_device.get(), nullptr);
    m_connection->flush();
}

bool Watcher::connected() const {
    return m_device && m_failure.ok();
}

void Watcher::own(const ClipContent &content) {
    if (!connected())
        return;
    auto source = std::make_unique<OwnSource>();
    source->content = content;
    source->owner = this;
    source->proxy.reset(createDataSource(m_connection->protocol(), m_connection->manager()));
    addListener(source->proxy.get(), &Callbacks::sourceListener, source.get());
    for (const QString &type : content.offer().mimeTypes)
        offerType(source->proxy.get(), type.toUtf8().constData());
    setSelection(m_device.get(), source->proxy.get());
    m_connection->flush();
    m_sources.push_back(std::move(source));
}

void Watcher::onDataOffer(wl_proxy *proxy) {
    auto offer = std::make_unique<Offer>();
    offer->proxy.reset(proxy);
    addListener(proxy, &Callbacks::offerListener, offer.get());
    m_newOffers.push_back(std::move(offer));
}

void Watcher::onPrimarySelection(wl_proxy *proxy) {
    // Text selected with the mouse is no copy: its offer goes unread.
    std::erase_if(m_newOffers, [proxy](const std::unique_ptr<Offer> &offer) {
        return offer->proxy.get() == proxy;
    });
}

void Watcher::onSelection(wl_proxy *proxy) {
    std::unique_ptr<Offer> offer;
    for (std::unique_ptr<Offer> &introduced : m_newOffers) {
        if (proxy && introduced->proxy.get() == proxy)
            offer = std::move(introduced);
    }
    m_newOffers.clear(); // introduced but never selected

    // A source of ours that is alive and has not had its selection yet is
    // this one when it offers the same types: a later copy of another
    // program's would have cancelled it first.
    OwnSource *mine = nullptr;
    for (const std::unique_ptr<OwnSource> &source : m_sources) {
        if (offer && !mine && !source->selected &&
            QSet(offer->types.cbegin(), offer->types.cend()) ==
                QSet(source->content.offer().mimeTypes.cbegin(),
                     source->content.offer().mimeTypes.cend()))
            mine = source.get();
    }
    for (const std::unique_ptr<Change> &waiting : m_fetching)
        waiting->superseded = true;
    if (m_fetching.size() >= fetch::ChangesAtOnce) {
        qCWarning(lcWayland) << "too many copies being fetched at once: the oldest is given up";
        expire(*m_fetching.front());
    }
    const quint64 change = ++m_changes;
    m_events.changed(change, ChangeQueue::now(), !m_started);
    if (!offer) {
        m_events.fetched(change, ClipContent()); // cleared, or its owner went away
    } else if (mine) {
        mine->selected = true;
        m_events.fetched(change, mine->content); // not read back through the compositor
    } else {
        fetch(change, offer->proxy.get(), fetch::lookedAt(offer->types));
    }
    // The previous offer goes; this one stays until the next change.
    m_selected = std::move(offer);
}

void Watcher::fetch(quint64 number, wl_proxy *offer, const QStringList &types) {
    Change &change = *m_fetching.emplace_back(std::make_unique<Change>());
    change.number = number;
    change.types = types;
    Change *pending = &change;
    for (const QString &type : fetch::typesToFetch(types)) {
        int readEnd = -1;
        int writeEnd = -1;
        if (!makeTransferPipe(readEnd, writeEnd)) {
            qCWarning(lcWayland) << "no pipe for a transfer of" << type;
            continue; // not fetched: reads as offered but not to be had
        }
        // The request holds a copy of the write end until it is sent; the
        // owner sees the end of the data only once no copy is left open here.
        receive(offer, type.toUtf8().constData(), writeEnd);
        ::close(writeEnd);
        auto onProgress = [pending] {
            if (pending->age.elapsed() < fetch::CapMs)
                pending->bound.start();
        };
        auto onEnd = [this, pending] {
            if (pending->complete())
                scheduleSettle();
        };
        change.reads.emplace(type,
                             std::make_unique<PipeReader>(readEnd, fetch::limitFor(type), m_budget,
                                                          std::move(onProgress), std::move(onEnd)));
    }
    m_connection->flush();
    if (change.reads.empty()) {
        scheduleSettle();
        return;
    }
    change.age.start();
    change.bound.setSingleShot(true);
    change.bound.setInterval(int(fetch::IdleMs));
    connect(&change.bound, &QTimer::timeout, this, [this, pending] { expire(*pending); });
    change.bound.start();
}

void Watcher::expire(Change &change) {
    // What did not come in time reads as not to be had.
    qCWarning(lcWayland) << "owner of a copy offering" << change.types
                         << "did not hand it over in time";
    for (auto &[type, read] : change.reads)
        read->abandon();
    change.bound.stop();
    scheduleSettle();
}

void Watcher::scheduleSettle() {
    // Settled from the event loop, never from inside a transfer's or the
    // connection's handlers, which settling ends.
    if (!m_settle.isActive())
        m_settle.start();
}

void Watcher::settle() {
    // The compositor announces a replacement before it closes the pipes of
    // requests that came too late: read it before judging empty transfers.
    m_connection->readEvents();
    std::erase_if(m_fetching, [this](const std::unique_ptr<Change> &change) {
        if (!change->complete())
            return false;
        m_events.fetched(change->number, change->result(m_budget));
        return true;
    });
}

void Watcher::onFinished() {
    fail({Reason::CompositorEndedAccess, qEnvironmentVariable("WAYLAND_DISPLAY"), {}});
    m_device.reset();
}

void Watcher::onSend(OwnSource &source, const char *mimeType, int fd) {
    m_writers.remove_if(
        [](const std::unique_ptr<PipeWriter> &writer) { return writer->finished(); });
    const QString type = QString::fromUtf8(mimeType);
    if (!source.content.offer().mimeTypes.contains(type)) {
        ::close(fd); // a type never offered: nothing
        return;
    }
    m_writers.push_back(std::make_unique<PipeWriter>(fd, source.dataFor(type)));
}

void Watcher::onCancelled(OwnSource &source) {
    // Another copy replaced ours; transfers already begun go on.
    m_sources.remove_if(
        [&source](const std::unique_ptr<OwnSource> &own) { return own.get() == &source; });
}

} // namespace wayland
