// SPDX-License-Identifier: MIT
#include "platform/qtclipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

QClipboard *board() {
    return QGuiApplication::clipboard();
}

} // namespace

QtClipboard::QtClipboard(QObject *parent)
    : Clipboard(parent) {
    allowLargePictures();
    if (QClipboard *cb = board()) {
        connect(cb, &QClipboard::dataChanged, this, &Clipboard::changed);
    }
}

QSet<int> QtClipboard::formats() const {
    QClipboard *cb = board();
    return clipboardFormats(cb ? cb->mimeData() : nullptr);
}

bool QtClipboard::isSecret() const {
    QClipboard *cb = board();
    return isSecretContent(cb ? cb->mimeData() : nullptr);
}

QString QtClipboard::getText() const {
    QClipboard *cb = board();
    const QMimeData *data = cb ? cb->mimeData() : nullptr;
    return data && data->hasText() ? data->text() : QString();
}

QImage QtClipboard::getImage() const {
    QClipboard *cb = board();
    const QMimeData *data = cb ? cb->mimeData() : nullptr;
    if (!data || !data->hasImage())
        return {};
    return qvariant_cast<QImage>(data->imageData());
}

void QtClipboard::setText(const QString &text) {
    if (QClipboard *cb = board())
        cb->setText(text);
}

void QtClipboard::setImage(const QImage &image) {
    if (QClipboard *cb = board(); cb && !image.isNull())
        cb->setImage(image);
}

void QtClipboard::clear() {
    if (QClipboard *cb = board())
        cb->clear();
}

QString QtClipboard::listenError() const {
    if (!board())
        return QStringLiteral("no clipboard");
    return {};
}
