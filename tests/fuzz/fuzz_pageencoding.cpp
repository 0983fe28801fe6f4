// SPDX-License-Identifier: MIT
// Any text, encoded for a data file, gives pure code page 936 bytes without
// raw markup, from which every character can be read back.
#include "core/pageencoding.h"

#include <QString>
#include <QStringDecoder>
#include <cstdlib>

namespace {

/// Reads the page text back: decodes the bytes and resolves the references
/// and the three escapes the encoder writes.
QString readBack(const QByteArray &bytes) {
    QStringDecoder decoder("GBK");
    const QString decoded = decoder.decode(bytes);
    if (decoder.hasError())
        std::abort();
    QString text;
    for (qsizetype i = 0; i < decoded.size(); ++i) {
        if (decoded.at(i) != u'&') {
            text.append(decoded.at(i));
            continue;
        }
        const qsizetype end = decoded.indexOf(u';', i);
        if (end < 0)
            std::abort();
        const QStringView entity = QStringView(decoded).sliced(i + 1, end - i - 1);
        if (entity == u"amp")
            text.append(u'&');
        else if (entity == u"lt")
            text.append(u'<');
        else if (entity == u"gt")
            text.append(u'>');
        else if (entity.startsWith(u"#x")) {
            bool ok = false;
            const char32_t point = char32_t(entity.sliced(2).toUInt(&ok, 16));
            if (!ok)
                std::abort();
            text.append(QChar::fromUcs4(point));
        } else {
            std::abort();
        }
        i = end;
    }
    return text;
}

/// The text as the page must give it back: half surrogate pairs and NULs stand for nothing.
QString expected(QStringView text) {
    QString result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            result.append(c);
            result.append(text.at(++i));
        } else {
            result.append(c.isSurrogate() || c.isNull() ? QChar(QChar::ReplacementCharacter) : c);
        }
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // Taken as they come: QString::fromUtf16() would drop a leading byte-order mark.
    const QString text(reinterpret_cast<const QChar *>(data), qsizetype(size / 2));
    PageEncoder encoder;
    QByteArray bytes;
    encoder.append(text, bytes);
    if (bytes.contains('<') || bytes.contains('>'))
        std::abort();
    if (readBack(bytes) != expected(text))
        std::abort();
    return 0;
}
