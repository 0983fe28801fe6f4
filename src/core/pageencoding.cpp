// SPDX-License-Identifier: MIT
#include "core/pageencoding.h"

#include <algorithm>
#include <cstdint>

namespace {

/// "&#x1F600;"
void appendReference(char32_t c, QByteArray &out) {
    char digits[8];
    int n = 0;
    do {
        digits[n++] = "0123456789ABCDEF"[c & 0xF];
        c >>= 4;
    } while (c != 0);
    out.append("&#x", 3);
    while (n > 0)
        out.append(digits[--n]);
    out.append(';');
}

bool probe(CodePage936 &codePage, char32_t c) {
    // Not QString::fromUcs4(), which takes U+FEFF for a byte-order mark and drops it.
    const auto one = QChar::fromUcs4(c);
    QByteArray bytes;
    return codePage.appendExact(one, bytes, c == U'?') && !bytes.isEmpty();
}

} // namespace

void PageEncoder::append(QStringView text, QByteArray &out) {
    // A block at a time, so that the text, its bytes and the checks of both
    // stay in the processor's cache. A block never ends inside a pair.
    while (!text.isEmpty()) {
        qsizetype n = std::min(text.size(), Block);
        if (n < text.size() && text[n - 1].isHighSurrogate() && text[n].isLowSurrogate())
            ++n;
        appendBlock(text.first(n), out);
        text = text.sliced(n);
    }
}

void PageEncoder::appendBlock(QStringView text, QByteArray &out) {
    // Most text holds neither markup nor characters outside the code page:
    // that is encoded in one piece and checked afterwards. Written so that
    // the compiler can vectorise it: a 16-bit count holds a block's.
    static_assert(Block < 0xFFFF);
    const char16_t *units = text.utf16();
    std::uint16_t questionMarks = 0;
    std::uint16_t special = 0;
    for (qsizetype i = 0, n = text.size(); i < n; ++i) {
        const char16_t c = units[i];
        questionMarks += c == u'?';
        special |= (c == u'&') | (c == u'<') | (c == u'>') | ((c & 0xF800) == 0xD800) | (c == 0);
    }
    if (special == 0 && m_codePage.appendExact(text, out, questionMarks))
        return;
    appendPiecewise(text, out);
}

bool PageEncoder::encodable(char32_t c) {
    if (c < 0x10000) {
        if (!m_known.test(c)) {
            m_known.set(c);
            m_encodable.set(c, probe(m_codePage, c));
        }
        return m_encodable.test(c);
    }
    auto found = m_wide.constFind(c);
    if (found == m_wide.cend())
        found = m_wide.insert(c, probe(m_codePage, c));
    return *found;
}

void PageEncoder::appendPiecewise(QStringView text, QByteArray &out) {
    qsizetype run = 0;
    const auto flush = [&](qsizetype end) {
        if (end > run)
            m_codePage.append(text.sliced(run, end - run), out);
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const char *entity = c == u'&'   ? "&amp;"
                             : c == u'<' ? "&lt;"
                             : c == u'>' ? "&gt;"
                                         : nullptr;
        char32_t point = c;
        qsizetype width = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            point = QChar::surrogateToUcs4(c, text[i + 1].unicode());
            width = 2;
        } else if (QChar::isSurrogate(c) || c == 0) {
            // Half a pair stands for nothing; a page may hold no NUL.
            point = QChar::ReplacementCharacter;
        }
        if (!entity && point == c && encodable(point))
            continue;
        flush(i);
        if (entity)
            out.append(entity);
        else if (point != QChar::ReplacementCharacter && encodable(point))
            m_codePage.append(text.sliced(i, width), out);
        else
            appendReference(point, out);
        i += width - 1;
        run = i + 1;
    }
    flush(text.size());
}
