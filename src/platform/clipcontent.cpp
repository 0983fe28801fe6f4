// SPDX-License-Identifier: MIT
#include "platform/clipcontent.h"

#include "platform/fetchpolicy.h"
#include "platform/limits.h"

#include <QBuffer>
#include <QImageReader>
#include <QStringDecoder>

#include <algorithm>

using namespace Qt::StringLiterals;

QString charsetOf(const QString &type) {
    const qsizetype at = type.indexOf(u"charset=", 0, Qt::CaseInsensitive);
    if (at < 0)
        return {};
    QString charset = type.mid(at + 8).section(u';', 0, 0).trimmed();
    if (charset.size() >= 2 && charset.startsWith(u'"') && charset.endsWith(u'"'))
        charset = charset.mid(1, charset.size() - 2);
    return charset;
}

namespace {

/// COMPOUND_TEXT where it is simple: Latin-1 throughout, or UTF-8 between
/// the escapes that announce it.
std::optional<QString> decodeCompoundText(const QByteArray &bytes) {
    static const QByteArray toUtf8("\x1b%G"), fromUtf8("\x1b%@");
    QString text;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const qsizetype escape = bytes.indexOf('\x1b', at);
        text += QString::fromLatin1(bytes.mid(at, escape < 0 ? -1 : escape - at));
        if (escape < 0)
            break;
        if (bytes.mid(escape, 3) != toUtf8)
            return std::nullopt; // another character set
        const qsizetype end = bytes.indexOf(fromUtf8, escape + 3);
        text += QString::fromUtf8(bytes.mid(escape + 3, end < 0 ? -1 : end - escape - 3));
        at = end < 0 ? bytes.size() : end + 3;
    }
    return text;
}

} // namespace

std::optional<QString> decodeText(const QString &type, const QByteArray &bytes) {
    if (type == u"STRING")
        return QString::fromLatin1(bytes); // X11's STRING is Latin-1
    if (type == u"COMPOUND_TEXT")
        return decodeCompoundText(bytes);
    const QString charset = charsetOf(type);
    if (charset.isEmpty() || charset.compare(u"utf-8", Qt::CaseInsensitive) == 0)
        return QString::fromUtf8(bytes);
    const QByteArray name = charset.toLatin1();
    QStringDecoder decoder(name.constData(), QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return std::nullopt;
    return QString(decoder(bytes));
}

ClipContent ClipContent::fromOffer(const QStringList &offered,
                                   const std::map<QString, QByteArray> &fetched, fetch::Hold hold) {
    ClipContent content;
    content.m_hold = std::move(hold);
    for (const auto &[type, bytes] : fetched)
        content.m_bytes += bytes.size();
    content.m_offer = clipOfferOf(offered, [&fetched](const QString &type) {
        const auto found = fetched.find(type);
        return found != fetched.end() ? found->second : QByteArray();
    });
    if (content.m_offer.secret)
        return content; // kept nowhere, not even here

    if (const QString type = fetch::textTypeToFetch(offered); !type.isEmpty()) {
        const auto found = fetched.find(type);
        content.m_text = found != fetched.end() ? decodeText(type, found->second) : std::nullopt;
        // Too long for an entry: not kept until the next change either.
        if (content.m_text && content.m_text->size() > limits::TextLength) {
            content.m_text = std::nullopt;
            content.refuse(Reason::TextTooLarge);
        }
    } else if (std::any_of(offered.begin(), offered.end(), isPlainTextType)) {
        content.m_text = std::nullopt; // text in a form that cannot be read
    }
    for (const QString &type : readablePictureTypes()) {
        if (const auto found = fetched.find(type); found != fetched.end()) {
            content.m_pictureBytes = found->second;
            break;
        }
    }
    return content;
}

ClipContent ClipContent::ofText(const QString &text, const QStringList &offered) {
    ClipContent content;
    content.m_offer = clipOfferOf(offered, [](const QString &) { return QByteArray(); });
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
