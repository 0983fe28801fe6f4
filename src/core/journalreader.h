// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

/// What a journal left behind says the entries were, replayed record by
/// record in the order things happened.
struct JournalReplay {
    enum class Picture : quint8 { None, Live, Saved, Discarded };

    /// The texts by row; nothing where no whole record says what it held.
    QList<std::optional<QString>> texts;
    /// The row taken last, or -1.
    int newestText = -1;
    QList<Picture> pictures;
    int newestPicture = -1;
    /// Picture files renamed, from one row's name to another's, in order.
    QList<std::pair<int, int>> moves;
    /// Records and stretches that could not be read.
    int damaged = 0;
    /// Written by the version before this one, which kept no picture
    /// records: its texts come numbered anew, its pictures by their files.
    bool legacy = false;
};

/// Replays a journal's bytes. `exists` tells whether a file that a save was
/// about to commit is there: the entries it took are saved then.
JournalReplay replayJournal(QByteArrayView bytes,
                            const std::function<bool(const QString &)> &exists);
