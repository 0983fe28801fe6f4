// SPDX-License-Identifier: MIT
// Taking back what a run that ended without its orderly exit left: the
// journal replayed, picture files renamed as it says, the entries in the
// rows they had.
#include "core/entrystore.h"
#include "core/journalreader.h"
#include "core/savefile.h"
#include "platform/files.h"
#include "platform/limits.h"
#include "platform/logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <map>

namespace {

/// A journal past this was never written by the program: its records may
/// take four times the entries at their limit before it starts afresh.
constexpr qint64 MaxJournal = 4 * 2 * limits::AllTexts + (qint64(64) << 20);

/// Whether the file holds a picture that can be shown. (Read and let go:
/// some systems rename no file that is open.)
bool isPicture(const QString &file) {
    QImageReader reader(file);
    return reader.canRead() && reader.size().isValid();
}

/// The next row for the survivors of `rows` (ascending), the newest of them
/// `newest`, once they are numbered 0, 1 … in their order: the one after
/// the newest, whatever was skipped, so that the oldest goes next.
int nextAfter(const QList<int> &rows, int newest) {
    const qsizetype at = rows.indexOf(newest);
    return int(at < 0 ? rows.size() : at + 1);
}

} // namespace

Recovery EntryStore::recover() {
    Recovery recovery;
    const QString path = m_journal.path();
    const auto setAside = [&](Reason why, const QString &suffix) {
        recovery.setAside = QFileInfo(path).fileName() + suffix;
        recovery.setAsideWhy = why;
        files::replace(path, path + suffix);
        qCWarning(lcJournal) << "journal set aside as" << recovery.setAside << Result{why, {}, {}};
    };

    JournalReplay replay;
    // Whether the journal says what the entries are now, as it is.
    bool asWritten = false;
    const QFileInfo info(path);
    if (files::isLink(path)) {
        // Not ours, whatever it points at.
        qCWarning(lcJournal) << "journal is a link, removed unread";
        files::remove(path);
    } else if (info.exists() && info.size() > MaxJournal) {
        setAside(Reason::JournalTooLarge, QStringLiteral(".toolarge"));
    } else if (info.exists()) {
        QFile file;
        const bool opened = files::openForReading(file, path);
        uchar *bytes = opened && file.size() > 0 ? file.map(0, file.size()) : nullptr;
        if (!opened || (!bytes && file.size() > 0)) {
            setAside(Reason::JournalUnreadable, QStringLiteral(".unreadable"));
        } else {
            asWritten = bytes != nullptr;
            replay = replayJournal(
                QByteArrayView(reinterpret_cast<const char *>(bytes), bytes ? file.size() : 0),
                [](const QString &saved) { return QFileInfo::exists(saved); });
        }
        if (bytes)
            file.unmap(bytes);
    }
    recovery.damaged = replay.damaged;

    // Texts: the rows that have a whole record.
    QList<int> textRows;
    for (int row = 0; row < replay.texts.size(); ++row) {
        if (replay.texts.at(row))
            textRows.append(row);
    }
    QList<QString> texts;
    for (int row : textRows)
        texts.append(*replay.texts.at(row));
    m_texts.restore(texts, nextAfter(textRows, replay.newestText));
    recovery.texts = int(texts.size());

    // Pictures: renames the journal heard of before they were made, then the
    // files of saved and discarded entries, then the rest.
    for (const auto &[from, to] : replay.moves) {
        if (QFileInfo::exists(m_pictures.file(from)) && !QFileInfo::exists(m_pictures.file(to)))
            files::replace(m_pictures.file(from), m_pictures.file(to));
    }
    QDir temp(m_folders.temp());
    static const QRegularExpression name(QStringLiteral("^图像(\\d{2,5})\\.bmp$"));
    std::map<int, QString> found; // the files there, by number
    // Links are not the program's pictures, whatever they point at.
    const QDir::Filters ours = QDir::Files | QDir::NoSymLinks;
    for (const QString &file : temp.entryList({QStringLiteral("*.bmp")}, ours)) {
        if (const QRegularExpressionMatch match = name.match(file); match.hasMatch())
            found.emplace(match.captured(1).toInt(), temp.filePath(file));
    }
    using Picture = JournalReplay::Picture;
    const auto stateOf = [&](int row) {
        return row < replay.pictures.size() ? replay.pictures.at(row) : Picture::None;
    };
    QList<int> pictureRows;
    int newestPicture = replay.newestPicture;
    bool strays = false; // files the journal does not know
    for (auto file = found.begin(); file != found.end();) {
        const Picture state = stateOf(file->first);
        if (state == Picture::Saved || state == Picture::Discarded) {
            files::remove(file->second);
            file = found.erase(file);
            continue;
        }
        if (!isPicture(file->second)) {
            // Kept for the user to look at, out of the way of the entries.
            const QString aside = m_folders.beneath(u"/data/image/unreadable");
            QDir().mkpath(aside);
            qCWarning(lcFiles) << "unreadable picture left by an ended run set aside:"
                               << file->second;
            files::replace(file->second,
                           freeDataFileName(aside, QFileInfo(file->second).baseName(), u".bmp"));
            ++recovery.damaged;
            file = found.erase(file);
            continue;
        }
        // A picture of the journal, or one whose record did not make it: the
        // one taken right after the newest, or one left by an older version.
        if (state == Picture::None && file->first == newestPicture + 1)
            newestPicture = file->first;
        else if (state == Picture::None)
            strays = true;
        asWritten = asWritten && state != Picture::None;
        pictureRows.append(file->first);
        ++file;
    }
    for (int row = 0; row < replay.pictures.size(); ++row) {
        if (replay.pictures.at(row) == Picture::Live && !found.contains(row))
            ++recovery.damaged; // its file is gone
    }
    // Numbered anew upwards: each name is free by the time it is taken.
    for (int i = 0; i < pictureRows.size(); ++i) {
        if (pictureRows.at(i) == i)
            continue;
        files::replace(m_pictures.file(pictureRows.at(i)), m_pictures.file(i));
        asWritten = false;
    }
    const int nextPicture =
        strays ? int(pictureRows.size()) : nextAfter(pictureRows, newestPicture);
    m_pictures.restore(int(pictureRows.size()), nextPicture);
    recovery.pictures = int(pictureRows.size());

    // Written down as it is now: a journal that says so already (its damage
    // skipped again, nothing renumbered) goes on as it is where there is no
    // room for a new one. One with damage stays beside it too.
    if (recovery.damaged > 0 && QFileInfo::exists(path))
        files::keepAlso(path, path + QStringLiteral(".damaged"));
    if (QFileInfo::exists(path) || !journalState().isEmpty())
        restartJournal(asWritten && !replay.legacy && textRows.size() == replay.texts.size());
    applyOverflow(m_texts, false);
    applyOverflow(m_pictures, false);
    return recovery;
}
