// SPDX-License-Identifier: MIT
#pragma once

#include "platform/clipboard.h"

#include <QMimeData>
#include <memory>

/// A clipboard held in memory, for tests: set its content, then emit changed().
class FakeClipboard final : public Clipboard {
    Q_OBJECT
public:
    explicit FakeClipboard(QObject *parent = nullptr)
        : Clipboard(parent) {
        allowLargePictures();
    }

    /// Replaces the content (ownership taken) without telling listeners.
    void setMimeData(QMimeData *data) { m_data.reset(data); }
    const QMimeData *mimeData() const { return m_data.get(); }
    /// Replaces the content and tells listeners, as another program's copy does.
    void offer(QMimeData *data);
    /// Offers the text as another program's copy does; a null text is
    /// offered as an empty one, as text read from another program always is.
    void offerText(const QString &text);
    void offerImage(const QImage &image);

    QSet<int> formats() const override { return clipboardFormats(m_data.get()); }
    bool isSecret() const override { return isSecretContent(m_data.get()); }
    /// Null text under text/plain stands for an owner that did not answer.
    std::optional<QString> readText() const override;
    QImage getImage() const override;
    void setText(const QString &text) override;
    void setImage(const QImage &image) override;
    void clear() override;
    QString listenError() const override { return m_listenError; }

    QString m_listenError;

private:
    std::unique_ptr<QMimeData> m_data = std::make_unique<QMimeData>();
};
