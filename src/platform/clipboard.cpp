// SPDX-License-Identifier: MIT
#include "platform/clipboard.h"

#include <QImageReader>
#include <QMimeData>
#include <QUrl>

namespace {

bool isRichText(const QString &mime) {
    return mime == u"text/rtf" || mime == u"text/richtext" || mime == u"application/rtf";
}

bool isLocalFileList(const QStringList &types, const OfferData &data) {
    if (types.contains(u"x-special/gnome-copied-files"))
        return true;
    if (!types.contains(u"text/uri-list"))
        return false;
    // As the toolkit reads the list: a URL a line, comments left out.
    bool any = false;
    for (const QByteArray &line : data(QStringLiteral("text/uri-list")).split('\n')) {
        const QByteArray url = line.trimmed();
        if (url.isEmpty() || url.startsWith('#'))
            continue;
        if (!QUrl(QString::fromUtf8(url)).isLocalFile())
            return false;
        any = true;
    }
    return any;
}

bool isSecret(const QStringList &types, const OfferData &data) {
    static const QString hint = QStringLiteral("x-kde-passwordManagerHint");
    if (types.contains(hint) && data(hint).trimmed() == "secret")
        return true;
    // Windows: Qt names registered formats application/x-qt-windows-mime;value="NAME".
    for (const QString &mime : types) {
        if (mime.contains(u"ExcludeClipboardContentFromMonitorProcessing") ||
            mime.contains(u"Clipboard Viewer Ignore"))
            return true;
        if (mime.contains(u"CanIncludeInClipboardHistory")) {
            const QByteArray value = data(mime);
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
    if (!data)
        return {};
    return clipOfferOf(data->formats(), [data](const QString &type) { return data->data(type); });
}

ClipOffer clipOfferOf(const QStringList &types, const OfferData &data) {
    ClipOffer offer;
    offer.mimeTypes = types;
    for (const QString &mime : types) {
        if (isPlainTextType(mime))
            offer.kinds |= ClipKind::Text;
        else if (isRichText(mime))
            offer.kinds |= ClipKind::RichText;
        else if (mime == u"image/x-wmf" || mime == u"image/x-emf")
            offer.kinds |= ClipKind::Metafile;
        else if (mime == u"application/x-qt-image" || readablePictureTypes().contains(mime))
            offer.kinds |= ClipKind::Picture;
    }
    if (isLocalFileList(types, data)) {
        offer.kinds |= ClipKind::Files;
        offer.kinds &= ~ClipKinds(ClipKind::Text);
    }
    offer.secret = isSecret(types, data);
    return offer;
}

void allowLargePictures() {
    constexpr int limitMb = 512;
    if (QImageReader::allocationLimit() < limitMb)
        QImageReader::setAllocationLimit(limitMb);
}
