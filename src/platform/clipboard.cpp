// SPDX-License-Identifier: MIT
#include "platform/clipboard.h"

#include <QImageReader>
#include <QMimeData>
#include <QUrl>

namespace {

bool isRichText(const QString &mime) {
    return mime == u"text/rtf" || mime == u"text/richtext" || mime == u"application/rtf";
}

bool isLocalFileList(const QMimeData *data) {
    if (data->hasFormat(QStringLiteral("x-special/gnome-copied-files")))
        return true;
    if (!data->hasFormat(QStringLiteral("text/uri-list")))
        return false;
    const QList<QUrl> urls = data->urls();
    if (urls.isEmpty())
        return false;
    for (const QUrl &url : urls) {
        if (!url.isLocalFile())
            return false;
    }
    return true;
}

bool isSecret(const QMimeData *data) {
    static const QString hint = QStringLiteral("x-kde-passwordManagerHint");
    if (data->hasFormat(hint) && data->data(hint).trimmed() == "secret")
        return true;
    // Windows: Qt names registered formats application/x-qt-windows-mime;value="NAME".
    for (const QString &mime : data->formats()) {
        if (mime.contains(u"ExcludeClipboardContentFromMonitorProcessing") ||
            mime.contains(u"Clipboard Viewer Ignore"))
            return true;
        if (mime.contains(u"CanIncludeInClipboardHistory")) {
            const QByteArray value = data->data(mime);
            if (!value.isEmpty() && value.count('\0') == value.size())
                return true;
        }
    }
    return false;
}

} // namespace

bool isPlainTextType(const QString &mime) {
    return mime == u"text/plain" || mime.startsWith(u"text/plain;") || mime == u"UTF8_STRING" ||
           mime == u"STRING" || mime == u"TEXT" || mime == u"COMPOUND_TEXT";
}

const QStringList &readablePictureTypes() {
    static const QStringList types = [] {
        QStringList preferred{QStringLiteral("image/png")};
        for (const char *type : {"image/bmp", "image/x-bmp", "image/tiff", "image/webp"})
            preferred << QString::fromLatin1(type);
        const QList<QByteArray> supported = QImageReader::supportedMimeTypes();
        preferred.removeIf(
            [&](const QString &type) { return !supported.contains(type.toLatin1()); });
        for (const QByteArray &type : supported) {
            if (!preferred.contains(QString::fromLatin1(type)))
                preferred << QString::fromLatin1(type);
        }
        return preferred;
    }();
    return types;
}

ClipOffer clipOfferOf(const QMimeData *data) {
    ClipOffer offer;
    if (!data)
        return offer;
    offer.mimeTypes = data->formats();
    for (const QString &mime : std::as_const(offer.mimeTypes)) {
        if (isPlainTextType(mime))
            offer.kinds |= ClipKind::Text;
        else if (isRichText(mime))
            offer.kinds |= ClipKind::RichText;
        else if (mime == u"image/x-wmf" || mime == u"image/x-emf")
            offer.kinds |= ClipKind::Metafile;
        else if (mime == u"application/x-qt-image" || readablePictureTypes().contains(mime))
            offer.kinds |= ClipKind::Picture;
    }
    if (data->hasImage())
        offer.kinds |= ClipKind::Picture;
    if (isLocalFileList(data)) {
        offer.kinds |= ClipKind::Files;
        offer.kinds &= ~ClipKinds(ClipKind::Text);
    }
    offer.secret = isSecret(data);
    return offer;
}

void allowLargePictures() {
    constexpr int limitMb = 512;
    if (QImageReader::allocationLimit() < limitMb)
        QImageReader::setAllocationLimit(limitMb);
}
