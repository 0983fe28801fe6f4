// SPDX-License-Identifier: MIT
#pragma once

#include "core/datafolders.h"
#include "core/imagefiles.h"
#include "core/journal.h"
#include "core/messages.h"
#include "core/pictureentries.h"
#include "core/recovery.h"
#include "core/settings.h"
#include "core/textentries.h"

#include <QObject>

class Clock;
class QImage;

/// What the program has caught: the text and picture entries, and what may
/// happen to them. Captures apply the size limits, the duplicate rule and
/// the overflow policy; the save and delete commands act on every entry that
/// exists.
///
/// Under the save policy a hundredth entry saves all entries of its kind;
/// what could not be saved stays, numbering goes on past 100, and the save is
/// tried again at every capture, told once until one succeeds.
///
/// Nothing caught is lost to an abnormal end: every change is in the journal
/// before it is listed (pictures in their temp files too), and recover()
/// gives back the state an ended run had. A journal that cannot be written
/// is told once and started afresh at the next change; the entries stay. One
/// that says all already but has no room to be started afresh goes on as it
/// is while its records fit.
class EntryStore final : public QObject {
    Q_OBJECT
public:
    EntryStore(const DataFolders &folders, const Options &options, const Clock &clock,
               const Disk &disk = systemDisk(), QObject *parent = nullptr);

    TextEntries &texts() { return m_texts; }
    const TextEntries &texts() const { return m_texts; }
    PictureEntries &pictures() { return m_pictures; }
    const PictureEntries &pictures() const { return m_pictures; }
    const DataFolders &folders() const { return m_folders; }
    /// The options in force. The policy stays the one read at start.
    const Options &options() const { return m_options; }
    /// Takes the folders of a confirmed options dialog.
    void setFolders(const Options &chosen);
    void setShowShortcut(const QString &keys) { m_options.showShortcut = keys; }

    /// Takes back what a run that ended without its orderly exit left, as
    /// that run had it (entrystore_recover.cpp).
    Recovery recover();

    /// A text from the clipboard; the same text as the newest entry adds
    /// nothing, and one past the limits is refused.
    void captureText(const QString &text);
    /// A picture from the clipboard, written to its temp picture file. A
    /// null picture (one that could not be read), one past the pixel limit,
    /// or one whose file cannot be written, adds nothing.
    void capturePicture(const QImage &picture);
    /// A copy that was not taken, `why` (a transfer cut off at a limit): told
    /// once until a copy is taken again.
    void refuse(Reason why);
    /// The user edited entry `row`: false when the edit does not fit its text
    /// (the caller then sets the whole text).
    bool editText(int row, const TextEdit &edit);
    /// Replaces the text of entry `row`.
    void setText(int row, const QString &text);

    /// Writes entry `row` (none when it does not exist) to a new text data file.
    Result saveText(int row) const;
    /// Writes every text entry to one new data file; when that worked, the
    /// text entries are deleted.
    Result saveAllText();
    /// Copies the temp picture file of entry `row` into the image data folder.
    ImageSaveResult savePicture(int row) const;
    /// Saves every picture, each on its own: copied, then gone with its temp
    /// file. Those whose file is gone go too; those the folder would not
    /// take stay, numbered again from 0.
    ImageSaveResult saveAllPictures();
    /// Deletes every text entry, in memory and in the journal.
    void deleteAllText();
    /// Forgets every picture entry and deletes the temp picture files.
    void deleteAllPictures();
    /// Deletes the temp picture files only.
    void deleteTempPictures();
    /// The orderly end: everything not saved is discarded, the journal too.
    void unload();

signals:
    /// Something the user must hear of, told once until it works again: an
    /// automatic save failed, a captured picture could not be written, a copy
    /// was too large, the journal cannot be written.
    void failed(const UserMessage &message);

private:
    /// What the hundredth entry of a kind brings: under the overwrite policy
    /// the next one replaces the oldest; under the save policy, when
    /// `saveWhenFull`, all of the kind are saved.
    void applyOverflow(EntryList &entries, bool saveWhenFull);
    /// Tells `message` unless it was told since the last time all was well
    /// (an empty message).
    void tellOnce(const UserMessage &message, bool &told);
    /// A journal record went, or did not: then the journal starts afresh
    /// from the entries as they are now.
    void keepJournal(const Result &written);
    /// `compacting`: the journal says all already, and goes on as it is when
    /// there is no room for a new one (nothing to tell).
    Result restartJournal(bool compacting = false);
    /// The entries as the journal is to hold them, oldest first.
    Journal::State journalState() const;
    /// Restarts the journal when it has grown far past the entries.
    void compactJournal();
    void forgetJournalWhenEmpty();
    /// Keeps only the pictures of `rows` (ascending), renamed to rows 0, 1 …
    void keepOnlyPictures(const QList<int> &rows);

    DataFolders m_folders;
    Options m_options;
    const Clock &m_clock;
    TextEntries m_texts;
    PictureEntries m_pictures;
    Journal m_journal;
    bool m_textSaveTold = false;
    bool m_pictureSaveTold = false;
    bool m_pictureWriteTold = false;
    bool m_journalTold = false;
    bool m_refusedTold = false;
};
