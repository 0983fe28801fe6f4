// SPDX-License-Identifier: MIT
#include "core/journal.h"

#include "core/journalformat.h"
#include "platform/files.h"
#include "platform/logging.h"

#include <QFileInfo>

using namespace journal;

namespace {

QByteArray bodyOf(Record record, int row) {
    QByteArray body(1, record);
    put<qint32>(body, row);
    return body;
}

/// Writes one record; false (and why) when any of it did not go.
bool writeRecord(int fd, const QString &path, const QByteArray &body, QStringView text, Result *why,
                 qint64 *size) {
    const QByteArray prefix = prefixOf(body, text);
    const QByteArrayView textBytes = bytesOf(text);
    if (!files::writeAll(fd, path, prefix.constData(), prefix.size(), why) ||
        !files::writeAll(fd, path, body.constData(), body.size(), why) ||
        !files::writeAll(fd, path, textBytes.data(), textBytes.size(), why))
        return false;
    *size += prefix.size() + body.size() + textBytes.size();
    return true;
}

} // namespace

Journal::Journal(QString path, const Disk &disk)
    : m_path(std::move(path))
    , m_sync(disk) {}

Journal::~Journal() {
    closeFile();
}

void Journal::closeFile() {
    m_sync.settle();
    files::close(m_fd);
    m_fd = -1;
}

Result Journal::open() {
    // The file open is still the one of that name: a journal deleted or
    // replaced meanwhile (the temp folder emptied by hand) would take
    // records nobody reads again.
    if (m_fd >= 0 && files::stillAt(m_fd, m_path))
        return {};
    if (m_fd >= 0) {
        qCWarning(lcJournal) << "the journal was moved or deleted; starting it afresh";
        closeFile();
        m_broken = true;
        return {Reason::JournalUnwritable, m_path, QStringLiteral("records are missing")};
    }
    Result why;
    m_fd = files::openForAppend(m_path, &why);
    if (m_fd >= 0 && m_size == 0)
        m_size = QFileInfo(m_path).size(); // kept from a run before, not started afresh
    if (m_fd < 0 && why.reason == Reason::FolderMissing) {
        // None yet: made whole, with its header, in one step.
        Result made;
        const QString fresh = m_path + QStringLiteral(".new");
        files::remove(fresh);
        const int fd = files::createNew(fresh, &made);
        const bool written = fd >= 0 && files::writeAll(fd, fresh, Magic, MagicSize, &made);
        files::close(fd);
        if (!written || !files::replace(fresh, m_path, &made)) {
            files::remove(fresh);
            return made;
        }
        m_fd = files::openForAppend(m_path, &why);
        m_size = MagicSize;
    }
    return m_fd >= 0 ? Result() : why;
}

Result Journal::append(const QByteArray &body, QStringView text) {
    // After a record that did not go, no later one may pretend the journal whole.
    Result why =
        m_broken ? Result{Reason::JournalUnwritable, m_path, QStringLiteral("records are missing")}
                 : open();
    if (why.ok() && !writeRecord(m_fd, m_path, body, text, &why, &m_size))
        m_broken = true; // a torn record: what follows must not pretend it is whole
    if (!why.ok()) {
        qCWarning(lcJournal) << "record not written:" << why;
        return why;
    }
    m_sync.request(m_fd);
    return {};
}

Result Journal::textTaken(int row, QStringView text) {
    return append(bodyOf(TextTaken, row), text);
}

Result Journal::textEdited(int row, const TextEdit &edit) {
    QByteArray body = bodyOf(TextEdited, row);
    put<qint64>(body, edit.position);
    put<qint64>(body, edit.removed);
    put<qint64>(body, edit.lengthBefore);
    return append(body, edit.added);
}

Result Journal::pictureTaken(int row) {
    return append(bodyOf(PictureTaken, row));
}

Result Journal::saving(Kind kind, int row, const QString &target) {
    QByteArray body = bodyOf(Saving, row);
    body.append(char(kind));
    return append(body, target);
}

Result Journal::discarded(Kind kind) {
    QByteArray body = bodyOf(Discarded, -1);
    body.append(char(kind));
    return append(body);
}

Result Journal::pictureMoved(int from, int to) {
    QByteArray body = bodyOf(PictureMoved, from);
    put<qint32>(body, to);
    return append(body);
}

Result Journal::restart(const State &state) {
    closeFile();
    // Until it is started afresh, the old file, if any, is left as it is.
    m_broken = true;
    if (state.isEmpty()) {
        if (!files::remove(m_path))
            return {Reason::CannotCreate, m_path, QStringLiteral("not removed")};
        m_size = 0;
        m_broken = false;
        return {};
    }
    const QString fresh = m_path + QStringLiteral(".new");
    files::remove(fresh);
    Result why;
    const int fd = files::createNew(fresh, &why);
    qint64 size = MagicSize;
    bool whole = fd >= 0 && files::writeAll(fd, fresh, Magic, MagicSize, &why);
    for (const auto &[row, text] : state.texts)
        whole = whole && writeRecord(fd, fresh, bodyOf(TextTaken, row), text, &why, &size);
    for (const int row : state.pictures)
        whole = whole && writeRecord(fd, fresh, bodyOf(PictureTaken, row), {}, &why, &size);
    // On the disk before it takes the old one's place.
    if (whole && !files::sync(fd))
        why = {Reason::WriteFailed, fresh, QStringLiteral("not synced")};
    whole = whole && why.ok();
    files::close(fd);
    if (!whole || !files::replace(fresh, m_path, &why)) {
        files::remove(fresh);
        qCWarning(lcJournal) << "not started afresh, the old journal stays:" << why;
        return why;
    }
    m_size = size;
    m_broken = false;
    return open();
}

Result Journal::compact(const State &state) {
    const bool broken = m_broken;
    const Result restarted = restart(state);
    if (!restarted.ok())
        m_broken = broken;
    return restarted;
}

void Journal::remove() {
    closeFile();
    files::remove(m_path);
    m_size = 0;
}
