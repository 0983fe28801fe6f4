// SPDX-License-Identifier: MIT
#include "core/entrystore.h"

#include "core/textfile.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/limits.h"
#include "platform/logging.h"

#include <QImage>

EntryStore::EntryStore(const DataFolders &folders, const Options &options, const Clock &clock,
                       const Disk &disk, QObject *parent)
    : QObject(parent)
    , m_folders(folders)
    , m_options(options)
    , m_clock(clock)
    , m_pictures(folders.temp())
    , m_journal(folders.temp() + QStringLiteral("/entries.journal"), disk) {}

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

Journal::State EntryStore::journalState() const {
    // Rows from the next one on were taken a round before those below it.
    const auto byAge = [](const EntryList &entries, const auto &add) {
        const int next = std::min<int>(entries.next(), entries.count());
        for (int row = next; row < entries.count(); ++row)
            add(row);
        for (int row = 0; row < next; ++row)
            add(row);
    };
    Journal::State state;
    byAge(m_texts, [&](int row) { state.texts.append({row, m_texts.text(row)}); });
    byAge(m_pictures, [&](int row) { state.pictures.append(row); });
    return state;
}

Result EntryStore::restartJournal(bool compacting) {
    // The temp folder may have gone since (emptied by hand): it is ours.
    const Result provided = m_folders.provide();
    Result restarted =
        compacting ? m_journal.compact(journalState()) : m_journal.restart(journalState());
    if (!restarted.ok() && provided.reason == Reason::FolderNotMade)
        restarted.reason = provided.reason;
    if (restarted.ok() || !compacting)
        tellOnce(restarted.ok() ? UserMessage() : journalMessage(restarted), m_journalTold);
    return restarted;
}

void EntryStore::keepJournal(const Result &written) {
    if (!written.ok())
        restartJournal();
}

void EntryStore::compactJournal() {
    if (m_journal.size() <= (qint64(32) << 20))
        return;
    if (m_journal.size() > 4 * (m_texts.totalLength() * 2 + 32 * m_texts.count()))
        restartJournal(true);
}

void EntryStore::refuse(Reason why) {
    qCWarning(lcCapture) << "a copy was not taken:" << Result{why, {}, {}};
    tellOnce(messageFor(Result{why, {}, {}}), m_refusedTold);
}

void EntryStore::captureText(const QString &text) {
    if (text.size() > limits::TextLength)
        return refuse(Reason::TextTooLarge);
    if (m_texts.isNewest(text)) {
        qCDebug(lcCapture) << "text of" << text.size() << "characters: the newest entry again";
        return;
    }
    const int row = m_texts.next();
    const qint64 replaced = m_texts.exists(row) ? m_texts.text(row).size() : 0;
    if (m_texts.totalLength() - replaced + text.size() > limits::AllTexts)
        return refuse(Reason::TextsTooLarge);
    m_refusedTold = false;
    // In the journal before it is listed: from here on a crash loses nothing.
    const Result written = m_journal.textTaken(row, text);
    m_texts.take(text);
    qCDebug(lcCapture) << "text of" << text.size() << "characters listed as"
                       << m_texts.caption(row);
    keepJournal(written);
    compactJournal();
    applyOverflow(m_texts, true);
}

void EntryStore::capturePicture(const QImage &picture) {
    if (picture.isNull()) {
        qCWarning(lcCapture) << "a picture was offered that could not be read";
        return;
    }
    if (qint64(picture.width()) * picture.height() > limits::PicturePixels)
        return refuse(Reason::PictureTooLarge);
    m_refusedTold = false;
    const QString file = m_pictures.nextFile();
    Result written = writeTempPicture(picture, file);
    if (!written.ok()) {
        // The temp folder is ours: when it went missing, it is put back once.
        const Result provided = m_folders.provide();
        written = provided.ok()                              ? writeTempPicture(picture, file)
                  : provided.reason == Reason::FolderNotMade ? provided
                                                             : written;
    }
    if (!written.ok()) {
        // An entry without its file could be neither shown nor saved.
        qCWarning(lcCapture) << "picture not taken:" << written;
        tellOnce(messageFor(written), m_pictureWriteTold);
        return;
    }
    m_pictureWriteTold = false;
    const int row = m_pictures.next();
    const Result journaled = m_journal.pictureTaken(row);
    m_pictures.take(picture);
    qCDebug(lcCapture) << "picture of" << picture.width() << "x" << picture.height() << "listed as"
                       << m_pictures.caption(row);
    keepJournal(journaled);
    applyOverflow(m_pictures, true);
}

bool EntryStore::editText(int row, const TextEdit &edit) {
    if (!m_texts.exists(row))
        return true;
    if (!m_texts.applyEdit(row, edit))
        return false;
    keepJournal(m_journal.textEdited(row, edit));
    compactJournal();
    return true;
}

void EntryStore::setText(int row, const QString &text) {
    if (!m_texts.exists(row))
        return;
    // Recorded as an edit of the whole text: a record of a text taken would
    // make this entry the newest again, and after a crash the next copy
    // would replace the entries taken after it.
    const qsizetype before = m_texts.text(row).size();
    const Result written = m_journal.textEdited(row, {0, before, text, before});
    m_texts.setText(row, text);
    keepJournal(written);
    compactJournal();
}

Result EntryStore::saveText(int row) const {
    return saveTextFile(m_texts.texts(), row, row, m_options.txtPath, m_clock.now());
}

Result EntryStore::saveAllText() {
    // Once the file is there, its texts are saved: a crash in between
    // brings none of them back.
    const Result saved =
        saveTextFile(m_texts.texts(), 0, m_texts.count() - 1, m_options.txtPath, m_clock.now(),
                     [this](const QString &file) {
                         keepJournal(m_journal.saving(Journal::Kind::Texts, -1, file));
                     });
    if (saved.ok()) {
        m_textSaveTold = false;
        m_texts.restore();
        forgetJournalWhenEmpty();
    }
    return saved;
}

ImageSaveResult EntryStore::savePicture(int row) const {
    ImageSaveResult copied;
    copied.add(row, copyImageFile(m_pictures, row, m_options.imgPath, m_clock));
    return copied;
}

ImageSaveResult EntryStore::saveAllPictures() {
    ImageSaveResult copied;
    for (int row = 0; row < m_pictures.count(); ++row) {
        // Each picture a unit: once its copy is there, its temp file goes.
        const Result one =
            copyImageFile(m_pictures, row, m_options.imgPath, m_clock, [&](const QString &file) {
                keepJournal(m_journal.saving(Journal::Kind::Pictures, row, file));
            });
        copied.add(row, one);
        if (one.ok() && !files::remove(m_pictures.file(row)))
            qCWarning(lcFiles) << "saved picture's temp file not deleted:" << m_pictures.file(row);
    }
    // The entries the save did not take stay; one that took nothing away
    // leaves the list as it is.
    if (!copied.saved.isEmpty() || !copied.gone.isEmpty())
        keepOnlyPictures(copied.failed);
    applyOverflow(m_pictures, false);
    if (copied.ok())
        m_pictureSaveTold = false;
    return copied;
}

void EntryStore::keepOnlyPictures(const QList<int> &rows) {
    // Upwards, each file moves to a number below its own that is free by
    // then; the journal hears of each move before it is made.
    for (int kept = 0; kept < rows.size(); ++kept) {
        const int from = rows.at(kept);
        if (from == kept)
            continue;
        keepJournal(m_journal.pictureMoved(from, kept));
        if (Result why; !files::replace(m_pictures.file(from), m_pictures.file(kept), &why))
            qCWarning(lcFiles) << "temp picture not renamed:" << why;
    }
    m_pictures.restore(int(rows.size()), int(rows.size()));
    if (!rows.isEmpty())
        restartJournal();
    forgetJournalWhenEmpty();
}

void EntryStore::deleteAllText() {
    // Said before it is done: a delete the user saw done stays done.
    const Result written = m_journal.discarded(Journal::Kind::Texts);
    m_texts.restore();
    keepJournal(written);
    forgetJournalWhenEmpty();
}

void EntryStore::deleteAllPictures() {
    const Result written = m_journal.discarded(Journal::Kind::Pictures);
    deleteTempPictures();
    m_pictures.restore();
    keepJournal(written);
    forgetJournalWhenEmpty();
}

void EntryStore::forgetJournalWhenEmpty() {
    // Nothing left to take back: the journal goes, without a wait.
    if (m_texts.count() == 0 && m_pictures.count() == 0)
        m_journal.remove();
}

void EntryStore::deleteTempPictures() {
    ::deleteTempPictures(m_folders.temp());
}

void EntryStore::unload() {
    m_journal.remove();
    deleteTempPictures();
    m_texts.restore();
    m_pictures.restore();
}
