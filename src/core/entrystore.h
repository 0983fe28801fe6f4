// SPDX-License-Identifier: MIT
#pragma once

#include "core/datafolders.h"
#include "core/imagefiles.h"
#include "core/journal.h"
#include "core/messages.h"
#include "core/pictureentries.h"
#include "core/settings.h"
#include "core/textentries.h"

#include <QObject>

class Clock;
class QImage;

/// What the program has caught: the text and picture entries, and what may
/// happen to them. Captures apply the duplicate rule and the overflow policy;
/// the save and delete commands act on every entry that exists.
///
/// Under the save policy a hundredth entry saves all entries of its kind;
/// what could not be saved stays, numbering goes on past 100, and the save is
/// tried again at every capture, told once until one succeeds.
///
/// Nothing caught is lost to an abnormal end: texts are in the journal before
/// they are listed, and pictures in their temp files; recover() takes back
/// what an ended run left.
class EntryStore final : public QObject {
    Q_OBJECT
public:
    EntryStore(const DataFolders &folders, const Options &options, const Clock &clock,
               QObject *parent = nullptr);

    TextEntries &texts() { return m_texts; }
    const TextEntries &texts() const { return m_texts; }
    PictureEntries &pictures() { return m_pictures; }
    const PictureEntries &pictures() const { return m_pictures; }
    const DataFolders &folders() const { return m_folders; }
    /// The options in force. The policy stays the one read at start.
    const Options &options() const { return m_options; }
    /// Takes the folders of a confirmed options dialog.
    void setFolders(const Options &chosen);

    /// What recover() took back.
    struct Recovery {
        int texts = 0;
        int pictures = 0;
        /// Journal records and picture files that could not be read; such
        /// pictures are kept aside in data/image/unreadable.
        int damaged = 0;
    };
    /// Takes back what a run that ended without its orderly exit left: the
    /// texts of its journal and the pictures in the temp folder, as entries
    /// numbered from 0 in their old order.
    Recovery recover();

    /// A text from the clipboard; the same text as the newest entry adds nothing.
    void captureText(const QString &text);
    /// A picture from the clipboard, written to its temp picture file. A
    /// null picture (one that could not be read), or one whose file cannot be
    /// written, adds nothing.
    void capturePicture(const QImage &picture);
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
    /// Copies every picture entry's file. The entries copied go, and so do
    /// those whose file is gone; those the folder would not take stay,
    /// numbered again from 0.
    ImageSaveResult saveAllPictures();
    /// Deletes every text entry, in memory and in the journal.
    void deleteAllText();
    /// Forgets every picture entry and deletes the temp picture files.
    void deleteAllPictures();
    /// Deletes the temp picture files only.
    void deleteTempPictures();
    /// The program ends: everything not saved is discarded.
    void unload();

signals:
    /// Something the user must hear of, told once until it works again: an
    /// automatic save failed, or a captured picture could not be written.
    void failed(const UserMessage &message);

private:
    /// What the hundredth entry of a kind brings: under the overwrite policy
    /// the next one replaces the oldest; under the save policy, when
    /// `saveWhenFull`, all of the kind are saved.
    void applyOverflow(EntryList &entries, bool saveWhenFull);
    /// Tells `message` unless it was told since the last time all was well
    /// (an empty message).
    void tellOnce(const UserMessage &message, bool &told);
    /// Restarts the journal from the entries when it has grown far past them.
    void compactJournal();
    int recoverPictures();

    DataFolders m_folders;
    Options m_options;
    const Clock &m_clock;
    TextEntries m_texts;
    PictureEntries m_pictures;
    Journal m_journal;
    bool m_textSaveTold = false;
    bool m_pictureSaveTold = false;
    bool m_pictureWriteTold = false;
};
