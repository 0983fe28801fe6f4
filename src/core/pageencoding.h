// SPDX-License-Identifier: MIT
#pragma once

#include "platform/codepage936.h"

#include <QByteArray>
#include <QHash>
#include <QStringView>
#include <bitset>

/// Turns entry text into the bytes of an HTML page in code page 936: the
/// markup characters are escaped, and a character the code page lacks becomes
/// a numeric character reference ("&#x1F600;"), so nothing is lost and no
/// byte is foreign. Half a surrogate pair stands for nothing and becomes
/// "&#xFFFD;", and so does a NUL, which no page may hold.
class PageEncoder {
public:
    bool valid() const { return m_codePage.isValid(); }
    /// Appends the encoded text to `out`.
    void append(QStringView text, QByteArray &out);
    /// Appends text known to be in the code page and free of markup.
    void appendPlain(QStringView text, QByteArray &out) { m_codePage.append(text, out); }

private:
    /// Characters encoded and checked in one piece. Fuzzing builds use short
    /// blocks, so that block ends fall everywhere in short inputs.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    static constexpr qsizetype Block = 7;
#else
    static constexpr qsizetype Block = 8 * 1024;
#endif
    void appendBlock(QStringView text, QByteArray &out);
    bool encodable(char32_t c);
    void appendPiecewise(QStringView text, QByteArray &out);

    CodePage936 m_codePage;
    std::bitset<0x10000> m_known;
    std::bitset<0x10000> m_encodable;
    QHash<char32_t, bool> m_wide;
};
