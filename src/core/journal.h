// SPDX-License-Identifier: MIT
#pragma once

#include "core/textentries.h"
#include "platform/disksync.h"

#include <QFile>
#include <QList>
#include <QString>

/// The text entries not saved yet, kept on disk as they change, so that a
/// program that ends without its orderly exit (killed, crashed, cut off by
/// a power cut) loses nothing: the next start takes them back. Pictures need
/// no record here: each has its temp picture file.
///
/// The file only grows: a header, then records, each its body's length, a
/// checksum and the body. A crash can only tear the record being written; a
/// torn or damaged record fails its checksum and is skipped when read, the
/// others stand. Written straight to the system, and through to the disk in
/// the background.
class Journal {
public:
    explicit Journal(QString path);
    ~Journal();
    Journal(const Journal &) = delete;
    Journal &operator=(const Journal &) = delete;

    const QString &path() const { return m_path; }
    /// Bytes written since the journal was last started afresh.
    qint64 size() const { return m_size; }

    /// Entry `row` holds `text` now: taken, or replaced whole.
    void taken(int row, QStringView text);
    /// Entry `row` was edited in place.
    void edited(int row, const TextEdit &edit);
    /// Starts afresh with these entries (all others are gone).
    void restart(const QList<QString> &texts = {});

    struct Contents {
        QList<QString> texts;
        /// Records that could not be read, torn or damaged.
        int damaged = 0;
    };
    /// What a journal left behind holds.
    static Contents read(const QString &path);

private:
    bool open();
    void append(char type, int row, QByteArrayView head, QStringView text);

    QString m_path;
    QFile m_file;
    qint64 m_size = 0;
    DiskSync m_sync;
};
