// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QHash>
#include <QStringEncoder>
#include <QStringView>
#include <bitset>

/// The code page of the data files.
inline constexpr char DataFileCodec[] = "GBK";

/// Appends `text` in code page 936 to `out`, without any check.
void appendEncoded(QStringEncoder &encoder, QStringView text, QByteArray &out);

/// Turns entry text into the bytes of an HTML page in code page 936: the
/// markup characters are escaped, and a character the code page lacks becomes
/// a numeric character reference ("&#x1F600;"), so nothing is lost and no
/// byte is foreign. Half a surrogate pair stands for nothing and becomes
/// "&#xFFFD;".
class PageEncoder {
public:
    PageEncoder();
    bool valid() const { return m_runs.isValid(); }
    /// Appends the encoded text to `out`.
    void append(QStringView text, QByteArray &out);

private:
    /// Characters encoded and checked in one piece. Fuzzing builds use short
    /// blocks, so that block ends fall everywhere in short inputs.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    static constexpr qsizetype Block = 7;
#else
    static constexpr qsizetype Block = 8 * 1024;
#endif
    void appendBlock(QStringView text, QByteArray &out);
    static bool appendChecked(QStringEncoder &encoder, QStringView text, qsizetype questionMarks,
                              QByteArray &out);
    bool encodable(char32_t c);
    static bool probe(char32_t c);
    void appendPiecewise(QStringView text, QByteArray &out);

    /// Only ever given characters known to be encodable.
    QStringEncoder m_runs;
    /// Given blocks that may hold characters outside the code page; its
    /// state is reset after each such block.
    QStringEncoder m_checked;
    std::bitset<0x10000> m_known;
    std::bitset<0x10000> m_encodable;
    QHash<char32_t, bool> m_wide;
};
