// SPDX-License-Identifier: MIT
#pragma once

#include "core/datafolders.h"
#include "core/imagefiles.h"
#include "core/pictureentries.h"
#include "core/savefile.h"
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
/// when that save fails everything stays, numbering goes on past 100, and the
/// save is tried again at every capture, told once until one succeeds.
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

    /// A text from the clipboard; the same text as the newest entry adds nothing.
    void captureText(const QString &text);
    /// A picture from the clipboard, written to its temp picture file; a
    /// null picture (one that could not be read) adds nothing.
    void capturePicture(const QImage &picture);

    /// Writes entry `row` (none when it does not exist) to a new text data file.
    SaveResult saveText(int row) const;
    /// Writes every text entry to one new data file; when that worked, the
    /// text entries are deleted.
    SaveResult saveAllText();
    /// Copies the temp picture file of entry `row` into the image data folder.
    ImageSaveResult savePicture(int row) const;
    /// Copies every picture entry's file; when all were copied, the picture
    /// entries are forgotten (their files stay for the next captures to replace).
    ImageSaveResult saveAllPictures();
    void deleteAllText();
    /// Forgets every picture entry and deletes the temp picture files.
    void deleteAllPictures();
    /// Deletes the temp picture files only; false when one could not go.
    bool deleteTempPictures();

signals:
    /// An automatic save failed, the first time since it last worked: the
    /// description to show after "系统错误!".
    void autoSaveFailed(const QString &description);
    /// A captured picture was written to `file`, about to be listed: views
    /// may show it without reading the file back.
    void pictureWritten(const QString &file, const QImage &picture);

private:
    /// After an automatic save: true when it worked; otherwise tells once.
    bool autoSaved(bool ok, const QString &reason, const QString &folder, bool &failureTold);

    DataFolders m_folders;
    Options m_options;
    const Clock &m_clock;
    TextEntries m_texts;
    PictureEntries m_pictures;
    bool m_textFailureTold = false;
    bool m_pictureFailureTold = false;
};
