// SPDX-License-Identifier: MIT
#include "platform/fakeclipboard.h"

#include <QBuffer>
#include <QImageReader>

void FakeClipboard::offer(QMimeData *data) {
    setMimeData(data);
    emit changed();
}

void FakeClipboard::offerText(const QString &text) {
    auto *data = new QMimeData;
    data->setText(text.isNull() ? QStringLiteral("") : text);
    offer(data);
}

void FakeClipboard::offerImage(const QImage &image) {
    auto *data = new QMimeData;
    data->setImageData(image);
    offer(data);
}

std::optional<QString> FakeClipboard::readText() const {
    if (!m_data || !m_data->hasText())
        return QString();
    QString text = m_data->text();
    if (text.isNull() && m_data->hasFormat(QStringLiteral("text/plain")))
        return std::nullopt;
    return text;
}

QImage FakeClipboard::getImage() const {
    if (!m_data)
        return {};
    const QVariant direct = m_data->imageData();
    if (direct.canConvert<QImage>()) {
        QImage image = qvariant_cast<QImage>(direct);
        if (!image.isNull())
            return image;
    }
    // Encoded pictures (image/png …) are decoded the way the toolkit does it.
    for (const QString &mime : m_data->formats()) {
        if (!mime.startsWith(u"image/"))
            continue;
        QByteArray bytes = m_data->data(mime);
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer);
        QImage image = reader.read();
        if (!image.isNull())
            return image;
    }
    return {};
}

void FakeClipboard::setText(const QString &text) {
    offerText(text);
}

void FakeClipboard::setImage(const QImage &image) {
    offerImage(image);
}

void FakeClipboard::clear() {
    offer(new QMimeData);
}
