// SPDX-License-Identifier: MIT
#include "core/entrystore.h"

#include "core/savefile.h"
#include "core/textfile.h"
#include "platform/clock.h"
#include "platform/logging.h"

#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <map>

EntryStore::EntryStore(const DataFolders &folders, const Options &options, const Clock &clock,
                       QObject *parent)
    : QObject(parent)
    , m_folders(folders)
    , m_options(options)
    , m_clock(clock)
    , m_pictures(folders.temp())
    , m_journal(folders.temp() + QStringLiteral("/entries.journal")) {}

void EntryStore::setFolders(const Options &chosen) {
    m_options.txtPath = chosen.txtPath;
    m_options.imgPath = chosen.imgPath;
    m_options.othPath = chosen.othPath;
}

void EntryStore::tellOnce(const UserMessage &message, bool &told) {
    if (message.text.isEmpty()) {
        told = false;
        return;
    }
    // One message for a run of failures, not one per capture.
    if (!told) {
        told = true;
        emit failed(message);
    }
}

void EntryStore::applyOverflow(EntryList &entries, bool saveWhenFull) {
    if (!entries.full())
        return;
    if (!m_options.autoSave) {
        entries.startAgain();
        return;
    }
    if (!saveWhenFull)
        return;
    if (&entries == &m_texts)
        tellOnce(messageFor(saveAllText()), m_textSaveTold);
    else
        tellOnce(messageFor(saveAllPictures()), m_pictureSaveTold);
}

EntryStore::Recovery EntryStore::recover() {
    Recovery recovery;
    const Journal::Contents kept = Journal::read(m_journal.path());
    m_texts.restore(kept.texts);
    // Recorded again as numbered now.
    m_journal.restart(m_texts.texts());
    recovery.texts = int(kept.texts.size());
    recovery.damaged = kept.damaged;
    const int pictures = recoverPictures();
    recovery.pictures = m_pictures.count();
    recovery.damaged += pictures - recovery.pictures;
    applyOverflow(m_texts, false);
    applyOverflow(m_pictures, false);
    return recovery;
}

int EntryStore::recoverPictures() {
    QDir temp(m_folders.temp());
    static const QRegularExpression name(QStringLiteral("^图像(\\d{2,})\\.bmp$"));
    std::map<qint64, QString> found; // by number: their old order
    for (const QString &file : temp.entryList({QStringLiteral("*.bmp")}, QDir::Files)) {
        if (const QRegularExpressionMatch match = name.match(file); match.hasMatch())
            found.emplace(match.captured(1).toLongLong(), file);
    }
    for (const auto &[number, file] : found) {
        const QString path = temp.filePath(file);
        if (QImageReader(path).read().isNull()) {
            // Kept for the user to look at, out of the way of the entries.
            const QString aside = m_folders.beneath(u"/data/image/unreadable");
            QDir().mkpath(aside);
            qCWarning(lcFiles) << "unreadable picture left by an ended run set aside:" << file;
            QFile::rename(path, freeDataFileName(aside, file.chopped(4), u".bmp"));
            continue;
        }
        // Numbered again from 0: upwards, each name is free by the time it is taken.
        const QString next = m_pictures.nextFile();
        if (path != next && !QFile::rename(path, next)) {
            qCWarning(lcFiles) << "picture left by an ended run not renamed:" << file;
            continue;
        }
        m_pictures.take();
    }
    return int(found.size());
}

void EntryStore::compactJournal() {
    if (m_journal.size() <= (qint64(32) << 20))
        return;
    qint64 live = 0;
    for (const QString &text : m_texts.texts())
        live += text.size() * 2 + 32;
    if (m_journal.size() > 4 * live)
        m_journal.restart(m_texts.texts());
}

void EntryStore::captureText(const QString &text) {
    if (m_texts.isNewest(text))
        return;
    // In the journal before it is listed: from here on a crash loses nothing.
    m_journal.taken(m_texts.next(), text);
    m_texts.take(text);
    compactJournal();
    applyOverflow(m_texts, true);
}

void EntryStore::capturePicture(const QImage &picture) {
    if (picture.isNull()) {
        qCWarning(lcCapture) << "a picture was offered that could not be read";
        return;
    }
    const QString file = m_pictures.nextFile();
    Result written = writeTempPicture(picture, file);
    if (!written.ok()) {
        // The temp folder is ours: when it went missing, put it back once.
        m_folders.provide();
        written = writeTempPicture(picture, file);
    }
    if (!written.ok()) {
        // An entry without its file could be neither shown nor saved.
        qCWarning(lcCapture) << "picture not taken:" << written;
        tellOnce(messageFor(written), m_pictureWriteTold);
        return;
    }
    m_pictureWriteTold = false;
    m_pictures.take(picture);
    applyOverflow(m_pictures, true);
}

bool EntryStore::editText(int row, const TextEdit &edit) {
    if (!m_texts.exists(row))
        return true;
    if (!m_texts.applyEdit(row, edit))
        return false;
    m_journal.edited(row, edit);
    compactJournal();
    return true;
}

void EntryStore::setText(int row, const QString &text) {
    if (!m_texts.exists(row))
        return;
    m_journal.taken(row, text);
    m_texts.setText(row, text);
    compactJournal();
}

Result EntryStore::saveText(int row) const {
    return SaveTextFile(m_texts.texts(), row, row, m_options.txtPath, m_clock.now());
}

Result EntryStore::saveAllText() {
    const Result saved =
        SaveTextFile(m_texts.texts(), 0, m_texts.count() - 1, m_options.txtPath, m_clock.now());
    if (saved.ok()) {
        m_textSaveTold = false;
        deleteAllText();
    }
    return saved;
}

ImageSaveResult EntryStore::savePicture(int row) const {
    return CopyImageFiles(m_pictures, row, row, m_options.imgPath, m_clock);
}

ImageSaveResult EntryStore::saveAllPictures() {
    const ImageSaveResult copied =
        CopyImageFiles(m_pictures, 0, m_pictures.count() - 1, m_options.imgPath, m_clock);
    // The entries the save did not take stay; one that took nothing away
    // leaves the list as it is.
    if (!copied.saved.isEmpty() || !copied.gone.isEmpty())
        m_pictures.keepOnly(copied.failed);
    applyOverflow(m_pictures, false);
    if (copied.ok())
        m_pictureSaveTold = false;
    return copied;
}

void EntryStore::deleteAllText() {
    m_texts.clear();
    m_journal.restart();
}

void EntryStore::deleteAllPictures() {
    deleteTempPictures();
    m_pictures.clear();
}

void EntryStore::deleteTempPictures() {
    ::deleteTempPictures(m_folders.temp());
}

void EntryStore::unload() {
    deleteAllText();
    deleteAllPictures();
}
