// SPDX-License-Identifier: MIT
#include "platform/clipboard.h"

#include <QImageReader>
#include <QMimeData>
#include <QUrl>

namespace {

bool isPlainText(const QString &mime) {
    return mime == u"text/plain" || mime.startsWith(u"text/plain;") || mime == u"UTF8_STRING" ||
           mime == u"STRING" || mime == u"TEXT" || mime == u"COMPOUND_TEXT";
}

bool isRichText(const QString &mime) {
    return mime == u"text/rtf" || mime == u"text/richtext" || mime == u"application/rtf";
}

bool isReadableImage(const QString &mime) {
    static const QList<QByteArray> readable = QImageReader::supportedMimeTypes();
    return mime == u"application/x-qt-image" || readable.contains(mime.toLatin1());
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

} // namespace

QSet<int> clipboardFormats(const QMimeData *data) {
    QSet<int> result;
    if (!data)
        return result;
    for (const QString &mime : data->formats()) {
        if (isPlainText(mime))
            result.insert(ClipFormat::Text);
        else if (isRichText(mime))
            result.insert(ClipFormat::RichText);
        else if (mime == u"image/x-wmf")
            result.insert(ClipFormat::MetafilePicture);
        else if (mime == u"image/x-emf")
            result.insert(ClipFormat::EnhancedMetafile);
        else if (isReadableImage(mime))
            result.insert(ClipFormat::Bitmap);
    }
    if (data->hasImage())
        result.insert(ClipFormat::Bitmap);
    if (isLocalFileList(data)) {
        result.insert(ClipFormat::FileList);
        result.remove(ClipFormat::Text);
    }
    return result;
}

bool isSecretContent(const QMimeData *data) {
    if (!data)
        return false;
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

void allowLargePictures() {
    constexpr int limitMb = 512;
    if (QImageReader::allocationLimit() < limitMb)
        QImageReader::setAllocationLimit(limitMb);
}
