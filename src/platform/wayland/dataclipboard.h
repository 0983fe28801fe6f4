// SPDX-License-Identifier: MIT
#pragma once

#include "platform/watchedclipboard.h"
#include "platform/wayland/protocol.h"

#include <QTimer>

#include <list>
#include <memory>
#include <vector>

namespace wayland {
class Connection;
class PipeWriter;
struct TransferBudget;
} // namespace wayland

/// The clipboard of a Wayland session through the data-control protocol that
/// compositors offer clipboard managers: unlike the toolkit's clipboard it
/// sees every copy, with no window and without the focus.
///
/// Each change is fetched as it comes (the text, the best picture, the small
/// markers that decide its kinds) while its owner still has the clipboard,
/// and reported by changed() once fetched, or once its owner has kept us
/// waiting too long; changes are reported in the order they were made, a
/// slow one holding the others back a second at most. Our own copies are
/// told apart without a marker: a selection that comes while a source we
/// set is alive, offering its types, is that source's.
class DataControlClipboard final : public WatchedClipboard {
    Q_OBJECT
public:
    ~DataControlClipboard() override;

    void setText(const QString &text) override;
    void setImage(const QImage &image) override;
    void clear() override;
    QString name() const override { return QStringLiteral("Wayland 数据控制"); }

private:
    friend std::unique_ptr<Clipboard>
    makeDataControlClipboard(std::shared_ptr<wayland::Connection> connection, Result *whyNot);
    struct Offer;
    struct Change;
    struct OwnSource;
    struct Events;

    explicit DataControlClipboard(std::shared_ptr<wayland::Connection> connection);
    bool start(Result *whyNot);

    void onDataOffer(wl_proxy *offer);
    void onSelection(wl_proxy *offer);
    void onPrimarySelection(wl_proxy *offer);
    void onFinished();
    void onSend(OwnSource &source, const char *mimeType, int fd);
    void onCancelled(OwnSource &source);

    void fetch(quint64 queued, wl_proxy *offer, const QStringList &types);
    void expire(Change &change);
    /// Hands the changes whose transfers ended to the queue.
    void settle();
    /// From now on nothing is heard: `why` is what listening() says.
    void fail(const Result &why);
    void own(const ClipContent &content);
    void scheduleSettle();
    bool connected() const;

    std::shared_ptr<wayland::Connection> m_connection;
    wayland::DevicePtr m_device;
    std::vector<std::unique_ptr<Offer>> m_newOffers; ///< introduced, not selected yet
    std::unique_ptr<Offer> m_selected;               ///< the clipboard's offer now
    std::list<std::unique_ptr<Change>> m_fetching;   ///< oldest first
    std::list<std::unique_ptr<OwnSource>> m_sources; ///< ours, until replaced
    std::list<std::unique_ptr<wayland::PipeWriter>> m_writers;
    std::shared_ptr<wayland::TransferBudget> m_budget;
    bool m_started = false;
    QTimer m_settle; ///< settles from the event loop
};

/// The data-control clipboard on `connection`, the only owner of it from
/// now on; nothing, and why, when there is no connection or the compositor
/// does not let it listen.
std::unique_ptr<Clipboard> makeDataControlClipboard(std::shared_ptr<wayland::Connection> connection,
                                                    Result *whyNot);
