// SPDX-License-Identifier: MIT
#include "core/journal.h"

#include "platform/logging.h"
#include "platform/system.h"

#include <QSaveFile>
#include <QtEndian>
#include <cstring>

namespace {

constexpr char Magic[] = "ORLOJRN1";
constexpr qsizetype MagicSize = 8;
/// The length and the checksum before each body.
constexpr qsizetype PrefixSize = 12;
/// A body: its kind, the entry's row, then what the kind holds.
enum Kind : char { Taken = 'T', Edited = 'E' };

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

QByteArrayView bytesOf(QStringView text) {
    return {reinterpret_cast<const char *>(text.utf16()), text.size() * 2};
}

template <typename T> void put(QByteArray &out, T value) {
    const T little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char *>(&little), sizeof little);
}

template <typename T> T take(const char *&at) {
    const T value = qFromLittleEndian<T>(at);
    at += sizeof(T);
    return value;
}

/// Writes one record; the bytes written.
qint64 writeRecord(QIODevice &file, char type, int row, QByteArrayView head, QStringView text) {
    QByteArray start;
    put<quint32>(start, quint32(1 + 4 + head.size() + text.size() * 2));
    Checksum sum;
    QByteArray body(1, type);
    put<qint32>(body, row);
    body.append(head);
    sum.add(body.constData(), body.size());
    const QByteArrayView textBytes = bytesOf(text);
    sum.add(textBytes.data(), textBytes.size());
    put<quint64>(start, sum.value());
    start.append(body);
    return file.write(start) + file.write(textBytes.data(), textBytes.size());
}

} // namespace

Journal::Journal(QString path)
    : m_path(std::move(path))
    , m_file(m_path) {}

Journal::~Journal() = default;

bool Journal::open() {
    if (m_file.isOpen())
        return true;
    // Written straight to the system: a killed program loses none of it.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        qCWarning(lcJournal) << "not opened:" << m_path << m_file.errorString();
        return false;
    }
    makeOwnerOnly(m_file);
    m_size = m_file.write(Magic, MagicSize);
    return m_size == MagicSize;
}

void Journal::append(char type, int row, QByteArrayView head, QStringView text) {
    if (!open())
        return;
    // A failed write (a full disk) leaves a torn record that reading skips;
    // the entry itself lives on in memory.
    const qint64 written = writeRecord(m_file, type, row, head, text);
    if (written < PrefixSize + 5 + head.size() + text.size() * 2)
        qCWarning(lcJournal) << "record of entry" << row
                             << "not written whole:" << m_file.errorString();
    m_size += std::max<qint64>(written, 0);
    m_sync.request(m_file.handle());
}

void Journal::taken(int row, QStringView text) {
    append(Taken, row, {}, text);
}

void Journal::edited(int row, const TextEdit &edit) {
    QByteArray head;
    put<qint64>(head, edit.position);
    put<qint64>(head, edit.removed);
    put<qint64>(head, edit.lengthBefore);
    append(Edited, row, head, edit.added);
}

void Journal::restart(const QList<QString> &texts) {
    m_file.close();
    m_sync.settle();
    m_size = 0;
    if (texts.isEmpty()) {
        // Emptied, where it cannot go (someone else has it open).
        if (QFile::exists(m_path) && !QFile::remove(m_path) &&
            m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            m_file.close();
        return;
    }
    // A snapshot replaces the file in one step: the old one or the new one.
    QSaveFile snapshot(m_path);
    if (!snapshot.open(QIODevice::WriteOnly)) {
        qCWarning(lcJournal) << "not restarted:" << m_path << snapshot.errorString();
        return;
    }
    makeOwnerOnly(snapshot);
    qint64 size = snapshot.write(Magic, MagicSize);
    for (int row = 0; row < texts.size(); ++row)
        size += writeRecord(snapshot, Taken, row, {}, texts.at(row));
    if (snapshot.commit())
        m_size = size;
    else
        qCWarning(lcJournal) << "not restarted:" << m_path << snapshot.errorString();
    // When the file could not be replaced, the records go on after the old
    // ones, which hold the same entries.
    if (m_file.open(QIODevice::Append | QIODevice::Unbuffered) && m_size == 0)
        m_size = m_file.size();
}

Journal::Contents Journal::read(const QString &path) {
    Contents contents;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return contents;
    const QByteArray all = file.readAll();
    if (!all.startsWith(QByteArrayView(Magic, MagicSize))) {
        contents.damaged += all.isEmpty() ? 0 : 1;
        return contents;
    }
    QList<bool> known; // whether a row holds what its records say
    const char *at = all.constData() + MagicSize;
    const char *end = all.constData() + all.size();
    while (at < end) {
        if (end - at < PrefixSize) {
            ++contents.damaged;
            break;
        }
        const quint32 length = take<quint32>(at);
        const quint64 checksum = take<quint64>(at);
        if (length < 5 || length > quint64(end - at)) {
            ++contents.damaged; // torn, or a length that cannot be trusted
            break;
        }
        Checksum sum;
        sum.add(at, length);
        const char *body = at;
        at += length;
        if (sum.value() != checksum) {
            ++contents.damaged;
            continue;
        }
        const char kind = *body++;
        const qint32 row = take<qint32>(body);
        if (row < 0 || row > 1'000'000)
            continue;
        if (row >= contents.texts.size()) {
            contents.texts.resize(row + 1);
            known.resize(row + 1);
        }
        const auto textFrom = [&](const char *from) {
            return QString(reinterpret_cast<const QChar *>(from), (at - from) / 2);
        };
        if (kind == Taken) {
            contents.texts[row] = textFrom(body);
            known[row] = true;
        } else if (kind == Edited && at - body >= 24) {
            const qint64 position = take<qint64>(body);
            const qint64 removed = take<qint64>(body);
            const qint64 lengthBefore = take<qint64>(body);
            QString &text = contents.texts[row];
            // An edit of a text that is not what it was made on (a damaged
            // record before it) would garble it: the text stays as it was.
            if (known[row] && text.size() == lengthBefore && position >= 0 && removed >= 0 &&
                position + removed <= text.size())
                text.replace(position, removed, textFrom(body));
        }
    }
    // Rows without a whole record are gone.
    QList<QString> texts;
    for (int row = 0; row < contents.texts.size(); ++row) {
        if (known[row])
            texts.append(contents.texts.at(row));
    }
    contents.texts = texts;
    return contents;
}
