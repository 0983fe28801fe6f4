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

/// The code units that fold to `c`, four at most (repeats fill the rest).
std::array<char16_t, 4> foldingTo(char16_t c) {
    std::array<char16_t, 4> units{c, c, c, c};
    if (c >= u'a' && c <= u'z')
        units = {c, char16_t(c - 32), char16_t(c - u'a' + 0xFF41), char16_t(c - u'a' + 0xFF21)};
    else if (c >= u'0' && c <= u'9')
        units = {c, char16_t(c - u'0' + 0xFF10), c, c};
    else if (c >= 0x80)
        units = {c, char16_t(QChar::toUpper(c)), char16_t(QChar::toTitleCase(c)),
                 char16_t(QChar::toLower(c))};
    return units;
}

/// Where folded `word` first stands in `text`, or -1. Its first character is
/// looked for a block at a time, in a loop the compiler turns into vector
/// instructions; only where it stands is the rest compared.
qsizetype find(QStringView text, QStringView word) {
    const qsizetype m = word.size(), n = text.size();
    if (m == 0 || n < m)
        return m == 0 ? 0 : -1;
    constexpr qsizetype Block = 64;
    const std::array<char16_t, 4> first = foldingTo(word[0].unicode());
    const char16_t *hay = text.utf16();
    const char16_t *needle = word.utf16();
    const auto matchesAt = [&](qsizetype at) {
        for (qsizetype i = 1; i < m; ++i) {
            if (fold(hay[at + i]) != needle[i])
                return false;
        }
        return true;
    };
    const qsizetype last = n - m; // the last place a match can start
    for (qsizetype block = 0; block <= last; block += Block) {
        const qsizetype end = std::min(block + Block, last + 1);
        std::uint16_t any = 0;
        for (qsizetype at = block; at < end; ++at) {
            const char16_t c = hay[at];
            any |= (c == first[0]) | (c == first[1]) | (c == first[2]) | (c == first[3]);
        }
        if (!any)
            continue;
        for (qsizetype at = block; at < end; ++at) {
            const char16_t c = hay[at];
            if ((c == first[0] || c == first[1] || c == first[2] || c == first[3]) && matchesAt(at))
                return at;
        }
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
    for (const QString &word : typed.simplified().split(u' ', Qt::SkipEmptyParts))
        m_words << foldedForSearch(word);
}

QString foldedForSearch(QStringView text) {
    QString folded(text.size(), Qt::Uninitialized);
    std::transform(text.begin(), text.end(), folded.begin(),
                   [](QChar c) { return QChar(fold(c.unicode())); });
    return folded;
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
