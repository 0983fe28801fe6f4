// SPDX-License-Identifier: MIT
#include "platform/wayland/clipcontent.h"

#include <QBuffer>
#include <QImageReader>
#include <QMimeData>
#include <QStringDecoder>

#include <algorithm>

namespace wayland {
namespace {

const QString utf8Text = QStringLiteral("text/plain;charset=utf-8");

QString charsetOf(const QString &type) {
    const qsizetype at = type.indexOf(u"charset=", 0, Qt::CaseInsensitive);
    if (at < 0)
        return {};
    QString charset = type.mid(at + 8).section(u';', 0, 0).trimmed();
    if (charset.size() >= 2 && charset.startsWith(u'"') && charset.endsWith(u'"'))
        charset = charset.mid(1, charset.size() - 2);
    return charset;
}

/// Text in `type`'s encoding; nothing when the encoding is unknown.
std::optional<QString> decodeText(const QString &type, const QByteArray &bytes) {
    if (type == u"STRING")
        return QString::fromLatin1(bytes); // X11's STRING is Latin-1
    const QString charset = charsetOf(type);
    if (charset.isEmpty() || charset.compare(u"utf-8", Qt::CaseInsensitive) == 0)
        return QString::fromUtf8(bytes);
    const QByteArray name = charset.toLatin1();
    QStringDecoder decoder(name.constData(), QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return std::nullopt;
    return QString(decoder(bytes));
}

QString textTypeToFetch(const QStringList &offered) {
    for (const QString &type :
         {utf8Text, QStringLiteral("UTF8_STRING"), QStringLiteral("text/plain"),
          QStringLiteral("STRING"), QStringLiteral("TEXT")}) {
        if (offered.contains(type))
            return type;
    }
    // Another spelling or charset, when the toolkit can decode it.
    for (const QString &type : offered) {
        if (type.startsWith(u"text/plain;") && decodeText(type, {}))
            return type;
    }
    return {};
}

QString pictureTypeToFetch(const QStringList &offered) {
    for (const QString &type : readablePictureTypes()) {
        if (offered.contains(type))
            return type;
    }
    return {};
}

} // namespace

QStringList typesToFetch(const QStringList &offered) {
    QStringList types;
    if (const QString text = textTypeToFetch(offered); !text.isEmpty())
        types << text;
    if (const QString picture = pictureTypeToFetch(offered); !picture.isEmpty())
        types << picture;
    for (const char *marker :
         {"text/uri-list", "x-special/gnome-copied-files", "x-kde-passwordManagerHint"}) {
        if (offered.contains(QLatin1String(marker)))
            types << QString::fromLatin1(marker);
    }
    return types;
}

ClipContent ClipContent::fromOffer(const QStringList &offered,
                                   const std::map<QString, QByteArray> &fetched) {
    // The offer is read as the X11 path reads one, from a QMimeData that
    // lists every type, with data where it was fetched.
    QMimeData data;
    for (const QString &type : offered) {
        const auto found = fetched.find(type);
        data.setData(type, found != fetched.end() ? found->second : QByteArray());
    }
    ClipContent content;
    content.m_offer = clipOfferOf(&data);

    if (const QString type = textTypeToFetch(offered); !type.isEmpty()) {
        const auto found = fetched.find(type);
        content.m_text = found != fetched.end() ? decodeText(type, found->second) : std::nullopt;
    } else if (std::any_of(offered.begin(), offered.end(), isPlainTextType)) {
        content.m_text = std::nullopt; // text in a form that cannot be read
    }
    if (const QString type = pictureTypeToFetch(offered); !type.isEmpty()) {
        if (const auto found = fetched.find(type); found != fetched.end())
            content.m_pictureBytes = found->second;
    }
    return content;
}

ClipContent ClipContent::ofText(const QString &text, const QStringList &offered) {
    QMimeData data;
    for (const QString &type : offered)
        data.setData(type, {});
    ClipContent content;
    content.m_offer = clipOfferOf(&data);
    content.m_text = text;
    return content;
}

ClipContent ClipContent::ofImage(const QImage &image, const QStringList &offered) {
    ClipContent content = ofText(QString(), offered);
    content.m_image = image;
    return content;
}

QImage ClipContent::image() const {
    if (!m_image.isNull() || m_pictureBytes.isEmpty())
        return m_image;
    QBuffer buffer;
    buffer.setData(m_pictureBytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return reader.read();
}

} // namespace wayland
