// SPDX-License-Identifier: MIT
#include "platform/wayland/dataclipboard.h"

#include "platform/limits.h"
#include "platform/logging.h"
#include "platform/wayland/connection.h"
#include "platform/wayland/pipes.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <map>
#include <unistd.h>

using namespace wayland;

namespace {

// Transfers past these are given up: text and pictures past the entry
// limits, markers that are more than a word or a list of paths.
constexpr qsizetype markerLimit = qsizetype(16) * 1024 * 1024;
// How long an owner may keep a change waiting without sending anything, and
// how long one that keeps sending gets at most.
constexpr int fetchBoundMs = 5000;
constexpr qint64 fetchCapMs = 60'000;
// Changes waiting to be reported; past this the oldest still fetching is
// given up, so that a flood of copies cannot use up the file descriptors.
constexpr size_t pendingLimit = 64;

// UTF-8 under every name; not STRING, which X11 programs read as Latin-1.
const QStringList ownTextTypes{QStringLiteral("text/plain;charset=utf-8"),
                               QStringLiteral("text/plain"), QStringLiteral("UTF8_STRING")};
const QStringList ownPictureTypes{QStringLiteral("image/png"), QStringLiteral("image/bmp")};

QByteArray encoded(const QImage &image, const char *format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

} // namespace

struct DataControlClipboard::Offer {
    OfferPtr proxy;
    QStringList types;
};

struct DataControlClipboard::Change {
    quint64 queued = 0; ///< its number in the queue
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
    ClipContent result() const {
        std::map<QString, QByteArray> fetched;
        Reason refused = Reason::None;
        for (const auto &[type, read] : reads) {
            // The compositor closes the pipe unwritten when our request
            // comes after the owner was replaced: that is no copy of nothing.
            if (read->state() == PipeReader::State::Done && !(superseded && read->data().isEmpty()))
                fetched.emplace(type, read->data());
            if (read->state() == PipeReader::State::TooLarge)
                refused = isPlainTextType(type) ? Reason::TextTooLarge : Reason::PictureTooLarge;
        }
        ClipContent content = ClipContent::fromOffer(types, fetched);
        if (refused != Reason::None)
            content.refuse(refused);
        return content;
    }
};

struct DataControlClipboard::OwnSource {
    DataControlClipboard *owner = nullptr;
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

struct DataControlClipboard::Events {
    static DataControlClipboard *self(void *data) {
        return static_cast<DataControlClipboard *>(data);
    }
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

DataControlClipboard::DataControlClipboard(std::shared_ptr<Connection> connection)
    : m_connection(std::move(connection))
    , m_budget(std::make_shared<TransferBudget>()) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(0);
    connect(&m_settle, &QTimer::timeout, this, &DataControlClipboard::settle);
}

DataControlClipboard::~DataControlClipboard() {
    // Every object of the connection goes before the connection itself.
    m_fetching.clear();
    m_writers.clear();
    m_sources.clear();
    m_newOffers.clear();
    m_selected.reset();
    m_device.reset();
    m_connection.reset();
}

bool DataControlClipboard::start(Result *whyNot) {
    m_device.reset(
        getDataDevice(m_connection->protocol(), m_connection->manager(), m_connection->seat()));
    addListener(m_device.get(), &Events::deviceListener, this);
    // The compositor answers with the content found now: fetched, not reported.
    if (!m_connection->roundtrip() || !m_failure.ok()) {
        if (whyNot)
            *whyNot = m_failure.ok() ? m_connection->failure() : m_failure;
        return false;
    }
    m_started = true;
    m_connection->startDispatching([this] { fail(m_connection->failure()); });
    return true;
}

void DataControlClipboard::fail(const Result &why) {
    if (!m_failure.ok())
        return;
    m_failure = why;
    qCWarning(lcWayland) << "no longer hearing changes:" << why;
    // Told from the event loop, never from inside the connection's handlers.
    if (m_started)
        QMetaObject::invokeMethod(
            this, [this] { emit listeningLost(m_failure); }, Qt::QueuedConnection);
}

void DataControlClipboard::setText(const QString &text) {
    own(ClipContent::ofText(text, ownTextTypes));
}

void DataControlClipboard::setImage(const QImage &image) {
    if (!image.isNull())
        own(ClipContent::ofImage(image, ownPictureTypes));
}

void DataControlClipboard::clear() {
    if (!connected())
        return;
    setSelection(m_device.get(), nullptr);
    m_connection->flush();
    m_current = ClipContent();
}

bool DataControlClipboard::connected() const {
    return m_device && m_failure.ok();
}

void DataControlClipboard::own(const ClipContent &content) {
    if (!connected())
        return;
    auto source = std::make_unique<OwnSource>();
    source->content = content;
    source->owner = this;
    source->proxy.reset(createDataSource(m_connection->protocol(), m_connection->manager()));
    addListener(source->proxy.get(), &Events::sourceListener, source.get());
    for (const QString &type : content.offer().mimeTypes)
        offerType(source->proxy.get(), type.toUtf8().constData());
    setSelection(m_device.get(), source->proxy.get());
    m_connection->flush();
    // As on X11, our own copy reads back at once, and is reported when the
    // compositor has made it the clipboard's content.
    m_current = content;
    m_sources.push_back(std::move(source));
}

void DataControlClipboard::onDataOffer(wl_proxy *proxy) {
    auto offer = std::make_unique<Offer>();
    offer->proxy.reset(proxy);
    addListener(proxy, &Events::offerListener, offer.get());
    m_newOffers.push_back(std::move(offer));
}

void DataControlClipboard::onPrimarySelection(wl_proxy *proxy) {
    // Text selected with the mouse is no copy: its offer goes unread.
    std::erase_if(m_newOffers, [proxy](const std::unique_ptr<Offer> &offer) {
        return offer->proxy.get() == proxy;
    });
}

void DataControlClipboard::onSelection(wl_proxy *proxy) {
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
    if (m_fetching.size() >= pendingLimit)
        expire(*m_fetching.front());
    const quint64 queued = m_queue.add(ChangeQueue::now(), !m_started);
    if (!offer) {
        m_queue.complete(queued, ClipContent()); // cleared, or its owner went away
    } else if (mine) {
        mine->selected = true;
        m_queue.complete(queued, mine->content); // not read back through the compositor
    } else {
        fetch(queued, offer->proxy.get(), offer->types);
    }
    // The previous offer goes; this one stays until the next change.
    m_selected = std::move(offer);
}

void DataControlClipboard::fetch(quint64 queued, wl_proxy *offer, const QStringList &types) {
    Change &change = *m_fetching.emplace_back(std::make_unique<Change>());
    change.queued = queued;
    change.types = types;
    Change *pending = &change;
    for (const QString &type : typesToFetch(types)) {
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
        const bool marker = type == u"text/uri-list" || type.startsWith(u"x-");
        auto onProgress = [pending] {
            if (pending->age.elapsed() < fetchCapMs)
                pending->bound.start();
        };
        auto onEnd = [this, pending] {
            if (pending->complete())
                scheduleSettle();
        };
        const qsizetype limit = marker                  ? markerLimit
                                : isPlainTextType(type) ? limits::TextTransfer
                                                        : limits::PictureTransfer;
        change.reads.emplace(type,
                             std::make_unique<PipeReader>(readEnd, limit, m_budget,
                                                          std::move(onProgress), std::move(onEnd)));
    }
    m_connection->flush();
    if (change.reads.empty()) {
        scheduleSettle();
        return;
    }
    change.age.start();
    change.bound.setSingleShot(true);
    change.bound.setInterval(fetchBoundMs);
    connect(&change.bound, &QTimer::timeout, this, [this, pending] { expire(*pending); });
    change.bound.start();
}

void DataControlClipboard::expire(Change &change) {
    // What did not come in time reads as not to be had.
    qCWarning(lcWayland) << "owner of a copy offering" << change.types
                         << "did not hand it over in time";
    for (auto &[type, read] : change.reads)
        read->abandon();
    change.bound.stop();
    scheduleSettle();
}

void DataControlClipboard::scheduleSettle() {
    // Settled from the event loop, never from inside a transfer's or the
    // connection's handlers, which settling ends.
    if (!m_settle.isActive())
        m_settle.start();
}

void DataControlClipboard::settle() {
    // The compositor announces a replacement before it closes the pipes of
    // requests that came too late: read it before judging empty transfers.
    m_connection->readEvents();
    std::erase_if(m_fetching, [this](const std::unique_ptr<Change> &change) {
        if (!change->complete())
            return false;
        m_queue.complete(change->queued, change->result());
        return true;
    });
}

void DataControlClipboard::onFinished() {
    fail({Reason::CompositorEndedAccess, qEnvironmentVariable("WAYLAND_DISPLAY"), {}});
    m_device.reset();
}

void DataControlClipboard::onSend(OwnSource &source, const char *mimeType, int fd) {
    m_writers.remove_if(
        [](const std::unique_ptr<PipeWriter> &writer) { return writer->finished(); });
    const QString type = QString::fromUtf8(mimeType);
    if (!source.content.offer().mimeTypes.contains(type)) {
        ::close(fd); // a type never offered: nothing
        return;
    }
    m_writers.push_back(std::make_unique<PipeWriter>(fd, source.dataFor(type)));
}

void DataControlClipboard::onCancelled(OwnSource &source) {
    // Another copy replaced ours; transfers already begun go on.
    m_sources.remove_if(
        [&source](const std::unique_ptr<OwnSource> &own) { return own.get() == &source; });
}

std::unique_ptr<Clipboard> makeDataControlClipboard(std::shared_ptr<Connection> connection,
                                                    Result *whyNot) {
    if (!connection)
        return nullptr;
    std::unique_ptr<DataControlClipboard> clipboard(
        new DataControlClipboard(std::move(connection)));
    if (!clipboard->start(whyNot))
        return nullptr;
    return clipboard;
}
