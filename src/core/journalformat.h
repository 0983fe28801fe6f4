// SPDX-License-Identifier: MIT
// The journal's file format, shared by its writer and its reader.
//
//   file    = Magic, record*
//   record  = Marker, length (u32), ~length (u32), checksum of body (u64), body
//   body    = kind (1 byte), fields, little-endian; texts as UTF-16
//
// The version before this one wrote "ORLOJRN1" and records of length,
// checksum and body only; its journals are still read.
#pragma once

#include <QByteArray>
#include <QtEndian>
#include <cstring>

namespace journal {

inline constexpr char Magic[] = "ORLOJRN2";
inline constexpr char LegacyMagic[] = "ORLOJRN1";
inline constexpr qsizetype MagicSize = 8;
inline constexpr char Marker[] = "\xA7OJR";
inline constexpr qsizetype MarkerSize = 4;
inline constexpr qsizetype PrefixSize = MarkerSize + 4 + 4 + 8;

enum Record : char {
    TextTaken = 'T',
    TextEdited = 'E',
    PictureTaken = 'P',
    Saving = 'S',
    Discarded = 'D',
    PictureMoved = 'M',
};

/// A 64-bit checksum, eight bytes a step: fast on megabytes, and it tells a
/// torn or damaged record from a whole one. The same bytes give the same sum
/// however they are handed in.
class Checksum {
public:
    void add(const char *data, qsizetype size) {
        m_total += quint64(size);
        for (; size > 0 && m_filled > 0; --size)
            takeByte(*data++);
        for (; size >= 8; data += 8, size -= 8) {
            quint64 word;
            std::memcpy(&word, data, 8);
            mix(word);
        }
        for (; size > 0; --size)
            takeByte(*data++);
    }
    quint64 value() const {
        Checksum last = *this;
        last.mix(last.m_word ^ (last.m_total << 3));
        return last.m_hash ^ (last.m_hash >> 29);
    }

private:
    void takeByte(char byte) {
        m_word |= quint64(quint8(byte)) << (8 * m_filled);
        if (++m_filled == 8) {
            mix(m_word);
            m_word = 0;
            m_filled = 0;
        }
    }
    void mix(quint64 word) {
        m_hash = (m_hash ^ word) * 0x9E3779B97F4A7C15ULL;
        m_hash ^= m_hash >> 32;
    }
    quint64 m_hash = 0x243F6A8885A308D3ULL;
    quint64 m_word = 0;
    quint64 m_total = 0;
    int m_filled = 0;
};

template <typename T> void put(QByteArray &out, T value) {
    const T little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char *>(&little), sizeof little);
}

template <typename T> T take(const char *&at) {
    const T value = qFromLittleEndian<T>(at);
    at += sizeof(T);
    return value;
}

inline QByteArrayView bytesOf(QStringView text) {
    return {reinterpret_cast<const char *>(text.utf16()), text.size() * 2};
}

/// The prefix of a record whose body is `body` followed by `text`.
inline QByteArray prefixOf(QByteArrayView body, QStringView text) {
    const QByteArrayView textBytes = bytesOf(text);
    const quint32 length = quint32(body.size() + textBytes.size());
    Checksum sum;
    sum.add(body.data(), body.size());
    sum.add(textBytes.data(), textBytes.size());
    QByteArray prefix(Marker, MarkerSize);
    put<quint32>(prefix, length);
    put<quint32>(prefix, ~length);
    put<quint64>(prefix, sum.value());
    return prefix;
}

} // namespace journal
