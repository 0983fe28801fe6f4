// SPDX-License-Identifier: MIT
#include "fakeclipboard.h"

#include <QBuffer>
#include <QImageReader>

void FakeClipboard::offer(QMimeData *data) {
    m_data.reset(data);
    emit changed();
}

void FakeClipboard::offer(const QString &mime, const QByteArray &bytes) {
    offerWith([&](QMimeData &data) { data.setData(mime, bytes); });
}

void FakeClipboard::offerText(const QString &text) {
    offerWith([&](QMimeData &data) { data.setText(text.isNull() ? QStringLiteral("") : text); });
}

void FakeClipboard::offerImage(const QImage &image) {
    offerWith([&](QMimeData &data) { data.setImageData(image); });
}

std::optional<QString> FakeClipboard::readText() const {
    if (!m_data->hasText())
        return QString();
    QString text = m_data->text();
    if (text.isNull() && m_data->hasFormat(QStringLiteral("text/plain")))
        return std::nullopt;
    return text;
}

QImage FakeClipboard::readImage() const {
    QImage image = qvariant_cast<QImage>(m_data->imageData());
    // Encoded pictures (image/png …) are decoded the way the toolkit does it.
    for (const QString &mime : m_data->formats()) {
        QByteArray bytes = m_data->data(mime);
        QBuffer buffer(&bytes);
        if (image.isNull() && mime.startsWith(u"image/"))
            image = QImageReader(&buffer).read();
    }
    return image;
}
