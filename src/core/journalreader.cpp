// SPDX-License-Identifier: MIT
#include "core/journalreader.h"

#include "core/journalformat.h"
#include "platform/limits.h"

#include <QByteArrayMatcher>

using namespace journal;

namespace {

/// The longest body a record of ours can have: a text entry at its limit,
/// or a saved file's path.
constexpr quint32 MaxBody = quint32(limits::TextLength) * 2 + 64 * 1024;
/// Rows are 16-bit numbers.
constexpr qint32 MaxRow = 32767;

QString textOf(const char *from, const char *to) {
    return QString(reinterpret_cast<const QChar *>(from), (to - from) / 2);
}

class Replayer {
public:
    Replayer(JournalReplay &replay, std::function<bool(const QString &)> exists)
        : m_replay(replay)
        , m_exists(std::move(exists)) {}

    /// One whole record; false when its fields make no sense.
    bool apply(const char *at, const char *end) {
        const char kind = *at++;
        if (end - at < 4)
            return false;
        const qint32 row = take<qint32>(at);
        if (row < -1 || row > MaxRow || (row < 0 && kind != Discarded && kind != Saving))
            return false;
        switch (kind) {
        case TextTaken:
            return takeText(row, textOf(at, end));
        case TextEdited:
            return end - at >= 24 && editText(row, at, end);
        case PictureTaken:
            picture(row) = JournalReplay::Picture::Live;
            m_replay.newestPicture = row;
            return true;
        case Saving:
            return end - at >= 1 && saving(row, *at, textOf(at + 1, end));
        case Discarded:
            return end - at == 1 && discard(*at);
        case PictureMoved:
            return end - at == 4 && move(row, take<qint32>(at));
        default:
            return false;
        }
    }

private:
    JournalReplay::Picture &picture(int row) {
        if (row >= m_replay.pictures.size())
            m_replay.pictures.resize(row + 1);
        return m_replay.pictures[row];
    }
    std::optional<QString> &text(int row) {
        if (row >= m_replay.texts.size())
            m_replay.texts.resize(row + 1);
        return m_replay.texts[row];
    }
    bool takeText(int row, QString taken) {
        std::optional<QString> &slot = text(row);
        const qint64 total = m_total - (slot ? slot->size() : 0) + taken.size();
        // More than the entries can hold was never written by the program.
        if (total > limits::AllTexts)
            return false;
        m_total = total;
        slot = std::move(taken);
        m_replay.newestText = row;
        return true;
    }
    bool editText(int row, const char *at, const char *end) {
        const qint64 position = take<qint64>(at);
        const qint64 removed = take<qint64>(at);
        const qint64 lengthBefore = take<qint64>(at);
        std::optional<QString> &slot = text(row);
        // An edit of a text that is not what it was made on (a damaged
        // record before it) would garble it: the text stays as it was.
        if (!slot || slot->size() != lengthBefore || position < 0 || removed < 0 ||
            position > slot->size() || removed > slot->size() - position)
            return true;
        const QString added = textOf(at, end);
        m_total += added.size() - removed;
        slot->replace(position, removed, added);
        return true;
    }
    bool saving(int row, char kind, const QString &target) {
        if (!m_exists(target))
            return true; // not committed: the entries stay
        if (kind == 'T')
            return discard(kind);
        if (row < 0)
            return false;
        picture(row) = JournalReplay::Picture::Saved;
        return true;
    }
    bool discard(char kind) {
        if (kind == 'T') {
            m_replay.texts.clear();
            m_replay.newestText = -1;
            m_total = 0;
            return true;
        }
        for (JournalReplay::Picture &state : m_replay.pictures) {
            if (state == JournalReplay::Picture::Live)
                state = JournalReplay::Picture::Discarded;
        }
        m_replay.newestPicture = -1;
        return kind == 'P';
    }
    bool move(int from, int to) {
        if (to < 0 || to > MaxRow)
            return false;
        picture(to) = std::exchange(picture(from), JournalReplay::Picture::None);
        m_replay.moves.append({from, to});
        if (m_replay.newestPicture == from)
            m_replay.newestPicture = to;
        return true;
    }

    JournalReplay &m_replay;
    std::function<bool(const QString &)> m_exists; // its own: a caller's may be a temporary
    qint64 m_total = 0;
};

/// The version before this one: records without markers; the first damaged
/// length ends the reading, and rows without a whole record are left out.
void replayLegacy(const char *at, const char *end, JournalReplay &replay) {
    replay.legacy = true;
    QList<std::optional<QString>> texts;
    Replayer replayer(replay, [](const QString &) { return false; });
    while (at < end) {
        if (end - at < 12) {
            ++replay.damaged;
            break;
        }
        const quint32 length = take<quint32>(at);
        const quint64 checksum = take<quint64>(at);
        if (length < 5 || length > quint64(end - at) || length > MaxBody) {
            ++replay.damaged;
            break;
        }
        Checksum sum;
        sum.add(at, length);
        const char *body = at;
        at += length;
        const char kind = *body;
        if (sum.value() != checksum || (kind != TextTaken && kind != TextEdited) ||
            !replayer.apply(body, at))
            ++replay.damaged;
    }
    replay.texts.removeIf([](const std::optional<QString> &text) { return !text; });
    replay.newestText = int(replay.texts.size()) - 1;
}

} // namespace

JournalReplay replayJournal(QByteArrayView bytes,
                            const std::function<bool(const QString &)> &exists) {
    JournalReplay replay;
    const char *start = bytes.data();
    const char *end = start + bytes.size();
    if (bytes.startsWith(QByteArrayView(LegacyMagic, MagicSize))) {
        replayLegacy(start + MagicSize, end, replay);
        return replay;
    }
    if (!bytes.startsWith(QByteArrayView(Magic, MagicSize))) {
        replay.damaged += bytes.isEmpty() ? 0 : 1;
        return replay;
    }
    static const QByteArrayMatcher marker(QByteArray(Marker, MarkerSize));
    Replayer replayer(replay, exists);
    qsizetype at = MagicSize;
    bool lost = false; // in a stretch that could not be read
    while (at < bytes.size()) {
        const char *record = start + at;
        bool whole = end - record >= PrefixSize && std::memcmp(record, Marker, MarkerSize) == 0;
        quint32 length = 0;
        if (whole) {
            const char *field = record + MarkerSize;
            length = take<quint32>(field);
            const quint32 check = take<quint32>(field);
            const quint64 checksum = take<quint64>(field);
            whole = check == ~length && length >= 5 && length <= MaxBody &&
                    length <= quint64(end - field);
            if (whole) {
                Checksum sum;
                sum.add(field, length);
                whole = sum.value() == checksum && replayer.apply(field, field + length);
            }
        }
        if (whole) {
            at += PrefixSize + length;
            lost = false;
            continue;
        }
        // Counted once for each stretch; the next marker may start a whole record.
        replay.damaged += lost ? 0 : 1;
        lost = true;
        const qsizetype next = marker.indexIn(bytes.data(), bytes.size(), at + 1);
        at = next < 0 ? bytes.size() : next;
    }
    return replay;
}
