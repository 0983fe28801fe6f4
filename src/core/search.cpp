// SPDX-License-Identifier: MIT
#include "core/search.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

/// A character as it is compared: lower case, full-width Latin letters and
/// digits as their half-width forms.
inline char16_t fold(char16_t c) {
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
    if (c >= 0xFF10 && c <= 0xFF19)
        return char16_t(c - 0xFF10 + u'0');
    if (c >= 0xFF21 && c <= 0xFF3A)
        return char16_t(c - 0xFF21 + u'a');
    if (c >= 0xFF41 && c <= 0xFF5A)
        return char16_t(c - 0xFF41 + u'a');
    return QChar::toCaseFolded(c);
}

/// Where folded `word` first stands in `text`, or -1: Horspool's search,
/// its shifts taken by the low byte of the folded character, so that a long
/// text is mostly skipped over.
qsizetype find(QStringView text, QStringView word) {
    const qsizetype m = word.size(), n = text.size();
    if (m == 0 || n < m)
        return m == 0 ? 0 : -1;
    std::array<std::uint8_t, 256> shift;
    shift.fill(std::uint8_t(std::min<qsizetype>(m, 255)));
    for (qsizetype i = 0; i + 1 < m; ++i)
        shift[word[i].unicode() & 0xFF] = std::uint8_t(std::min<qsizetype>(m - 1 - i, 255));
    const char16_t *hay = text.utf16();
    const char16_t *needle = word.utf16();
    const char16_t last = needle[m - 1];
    for (qsizetype at = 0; at <= n - m;) {
        const char16_t c = fold(hay[at + m - 1]);
        if (c == last) {
            qsizetype i = m - 2;
            while (i >= 0 && fold(hay[at + i]) == needle[i])
                --i;
            if (i < 0)
                return at;
        }
        at += shift[c & 0xFF];
    }
    return -1;
}

bool isCjk(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x2E80 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) ||
           (u >= 0xFF00 && u <= 0xFFEF) || c.isSurrogate();
}

} // namespace

SearchWords::SearchWords(const QString &typed) {
    // Runs without blanks of any kind (the ideographic space too).
    for (QString word : typed.simplified().split(u' ', Qt::SkipEmptyParts)) {
        std::transform(word.begin(), word.end(), word.begin(),
                       [](QChar c) { return QChar(fold(c.unicode())); });
        m_words << word;
    }
}

bool SearchWords::matches(QStringView text) const {
    return std::all_of(m_words.cbegin(), m_words.cend(),
                       [text](const QString &word) { return find(text, word) >= 0; });
}

qsizetype SearchWords::firstHit(QStringView text) const {
    return m_words.isEmpty() ? -1 : find(text, m_words.first());
}

QString searchableWords(QStringView read) {
    const QString words = read.toString().simplified();
    QString kept;
    kept.reserve(words.size());
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (words[i] == u' ' && i > 0 && i + 1 < words.size() && isCjk(words[i - 1]) &&
            isCjk(words[i + 1]))
            continue;
        kept += words[i];
    }
    return kept;
}
