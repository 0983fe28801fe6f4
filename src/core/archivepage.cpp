// SPDX-License-Identifier: MIT
#include "core/archivepage.h"

#include "platform/codepage936.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace {

constexpr char16_t Head[] =
    u"<html><head><meta http-equiv=\"Content-Language\" content=\"zh-cn\">"
    u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
    u"<title>Orlo粘贴板数据文件</title></head><body><p><font size=\"3\" face=\"宋体\">\r\n";
constexpr char16_t EntryEnd[] = u"<br><br>\r\n";
constexpr char16_t Tail[] = u"</font></p></body></html>\r\n";

/// The length of the reference or escape at `at` ("&amp;", "&#x4E2D;"), or 0.
qsizetype escapeAt(QStringView text, qsizetype at) {
    for (QStringView named : {u"&amp;", u"&lt;", u"&gt;"}) {
        if (text.sliced(at).startsWith(named))
            return named.size();
    }
    if (!text.sliced(at).startsWith(u"&#x"))
        return 0;
    const auto hexDigit = [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
    };
    qsizetype end = at + 3;
    while (end < text.size() && end - at < 10 && hexDigit(text[end]))
        ++end;
    if (end == at + 3 || end == text.size() || text[end] != u';')
        return 0;
    // A character, not half of one nor past the last.
    const uint point = text.sliced(at + 3, end - at - 3).toUInt(nullptr, 16);
    return point <= 0x10FFFF && !QChar::isSurrogate(point) ? end + 1 - at : 0;
}

/// Whether every "&" stands for an escape and no "<" is in the entries.
bool escaped(const QStringList &entries) {
    for (const QString &entry : entries) {
        if (entry.contains(u'<'))
            return false;
        for (qsizetype at = entry.indexOf(u'&'); at >= 0; at = entry.indexOf(u'&', at + 1)) {
            if (escapeAt(entry, at) == 0)
                return false;
        }
    }
    return true;
}

QString unescaped(const QString &entry) {
    if (!entry.contains(u'&'))
        return entry;
    QString text;
    text.reserve(entry.size());
    for (qsizetype at = 0; at < entry.size(); ++at) {
        const qsizetype length = entry[at] == u'&' ? escapeAt(entry, at) : 0;
        if (length == 0) {
            text += entry[at];
            continue;
        }
        const QStringView escape = QStringView(entry).sliced(at, length);
        if (escape == u"&amp;")
            text += u'&';
        else if (escape == u"&lt;")
            text += u'<';
        else if (escape == u"&gt;")
            text += u'>';
        else
            text += QStringView(QChar::fromUcs4(escape.sliced(3, length - 4).toUInt(nullptr, 16)));
        at += length - 1;
    }
    return text;
}

} // namespace

QDateTime savedAt(const QString &fileName, bool picture) {
    static const QRegularExpression text(u"^(\\d{14})(_\\d+)?\\.htm$"_qs,
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression image(u"^(\\d{14})\\d+(_\\d+)?\\.bmp$"_qs,
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = (picture ? image : text).match(fileName);
    if (!match.hasMatch())
        return {};
    // The digits as the clock showed them, whatever the zone.
    const QString digits = match.captured(1);
    return {QDate::fromString(digits.first(8), u"yyyyMMdd"_qs),
            QTime::fromString(digits.sliced(8), u"HHmmss"_qs), Qt::UTC};
}

TextPage readTextPage(QByteArrayView bytes) {
    QString text;
    if (CodePage936::decode(bytes, text) && text.startsWith(Head) && text.endsWith(Tail)) {
        const QStringView body = QStringView(text).sliced(
            std::size(Head) - 1, text.size() - (std::size(Head) - 1) - (std::size(Tail) - 1));
        if (body.isEmpty())
            return {};
        if (body.endsWith(EntryEnd)) {
            QStringList entries = body.chopped(std::size(EntryEnd) - 1)
                                      .toString()
                                      .split(QString::fromUtf16(EntryEnd));
            if (escaped(entries)) {
                for (QString &entry : entries)
                    entry = unescaped(entry);
            }
            return {entries};
        }
    }
    // Not a page as the program writes it: plain text, where it can be read.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    text = utf8.decode(bytes);
    if (!utf8.hasError() || CodePage936::decode(bytes, text))
        return {{text}};
    return {{}, false};
}
