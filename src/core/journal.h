// SPDX-License-Identifier: MIT
#pragma once

#include "core/textentries.h"
#include "platform/disksync.h"
#include "platform/result.h"

#include <QList>
#include <QString>
#include <optional>

/// The entries not saved yet, kept on disk as they change, so that a program
/// that ends without its orderly exit (killed, crashed, cut off by a power
/// cut) loses nothing: the next start replays the journal and has the same
/// entries in the same rows, the same newest entry and the same next row.
///
/// The file only grows: a header, then records in the order things happened
/// (a text taken or edited, a picture taken, a save about to be committed,
/// entries discarded, a picture file renamed). Each record starts with a
/// marker and its length twice, then a checksum of its body: a torn or
/// damaged record is skipped and the reader finds the next one, so a damaged
/// record costs only itself. Written straight to the system, through to the
/// disk in the background; started afresh in one step (a new file renamed
/// over the old one), never cut short.
class Journal {
public:
    /// The kinds of entries, as records name them.
    enum class Kind : char { Texts = 'T', Pictures = 'P' };

    explicit Journal(QString path, const Disk &disk = systemDisk());
    ~Journal();
    Journal(const Journal &) = delete;
    Journal &operator=(const Journal &) = delete;

    const QString &path() const { return m_path; }
    /// Bytes written since the journal was last started afresh.
    qint64 size() const { return m_size; }

    // Each record is written whole or the journal counts as broken: later
    // records fail too (a record missing in between would make the journal
    // lie) until it is started afresh.
    Result textTaken(int row, QStringView text);
    Result textEdited(int row, const TextEdit &edit);
    Result pictureTaken(int row);
    /// Entries about to be saved into `target` (a row, or -1 for all of the
    /// kind): once `target` exists they are saved, whether or not their
    /// discarding made it to the journal.
    Result saving(Kind kind, int row, const QString &target);
    /// Every entry of the kind goes.
    Result discarded(Kind kind);
    /// A picture's file was renamed from one row's name to another's.
    Result pictureMoved(int from, int to);

    /// What the entries are now, oldest first.
    struct State {
        QList<std::pair<int, QString>> texts;
        QList<int> pictures;
        bool isEmpty() const { return texts.isEmpty() && pictures.isEmpty(); }
    };
    /// Starts afresh with `state`: a new file, written and synced, takes the
    /// old one's place in one step; with nothing to keep the file goes. When
    /// that fails the old file stays as it was.
    Result restart(const State &state);
    /// Starts afresh as restart() does, to take less room; the old file, when
    /// it says the same as `state`, goes on taking records if that fails.
    Result compact(const State &state);
    /// The orderly end: nothing is kept.
    void remove();

private:
    Result append(const QByteArray &body, QStringView text = {});
    Result open();
    void closeFile();

    QString m_path;
    int m_fd = -1;
    qint64 m_size = 0;
    bool m_broken = false;
    DiskSync m_sync;
};
