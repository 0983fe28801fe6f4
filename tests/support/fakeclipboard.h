// SPDX-License-Identifier: MIT
#pragma once

#include "platform/clipboard.h"

#include <QMimeData>
#include <memory>

/// A clipboard held in memory: another program's copy is offer(), the
/// program's own copies land here too.
class FakeClipboard final : public Clipboard {
    Q_OBJECT
public:
    using Clipboard::Clipboard;

    /// Replaces the content (ownership taken) and tells listeners.
    void offer(QMimeData *data);
    /// One format of bytes, as another program offers it.
    void offer(const QString &mime, const QByteArray &bytes);
    /// Text as another program's copy gives it; a null text as an empty one.
    void offerText(const QString &text);
    void offerImage(const QImage &image);

    ClipOffer offer() const override {
        ClipOffer offer = clipOfferOf(m_data.get());
        offer.refused = refused;
        return offer;
    }
    /// Null text under text/plain stands for an owner that did not answer.
    std::optional<QString> readText() const override;
    QImage readImage() const override;
    void setText(const QString &text) override { offerText(text); }
    void setImage(const QImage &image) override { offerImage(image); }
    void clear() override { offer(new QMimeData); }
    Result listening() const override { return failure; }
    QString name() const override { return QStringLiteral("fake"); }

    Result failure;                ///< what listening() says
    Reason refused = Reason::None; ///< what offer() says was cut off

private:
    template <typename Fill> void offerWith(Fill fill) {
        auto *data = new QMimeData;
        fill(*data);
        offer(data);
    }
    std::unique_ptr<QMimeData> m_data = std::make_unique<QMimeData>();
};
