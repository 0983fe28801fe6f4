// SPDX-License-Identifier: MIT
#include "core/entrystore.h"

#include "core/textfile.h"
#include "platform/clock.h"

#include <QImage>

EntryStore::EntryStore(const DataFolders &folders, const Options &options, const Clock &clock,
                       QObject *parent)
    : QObject(parent)
    , m_folders(folders)
    , m_options(options)
    , m_clock(clock)
    , m_pictures(folders.temp()) {}

void EntryStore::setFolders(const Options &chosen) {
    m_options.txtPath = chosen.txtPath;
    m_options.imgPath = chosen.imgPath;
    m_options.othPath = chosen.othPath;
}

bool EntryStore::autoSaved(bool ok, const QString &reason, const QString &folder,
                           bool &failureTold) {
    if (ok) {
        failureTold = false;
        return true;
    }
    // One message for a run of failed saves, not one per capture.
    if (!failureTold) {
        failureTold = true;
        emit autoSaveFailed(saveFailureDescription(folder, reason));
    }
    return false;
}

void EntryStore::captureText(const QString &text) {
    if (!m_texts.take(text) || !m_texts.full())
        return;
    if (!m_options.autoSave) {
        m_texts.startAgain();
        return;
    }
    const SaveResult saved =
        SaveTextFile(m_texts.texts(), 0, m_texts.count() - 1, m_options.txtPath, m_clock.now());
    if (autoSaved(saved.ok, saved.reason, m_options.txtPath, m_textFailureTold))
        deleteAllText();
}

void EntryStore::capturePicture(const QImage &picture) {
    if (picture.isNull())
        return;
    const QString file = m_pictures.nextFile();
    if (!writeTempPicture(picture, file)) {
        // The temp folder is ours: when it went missing, put it back once.
        m_folders.provide();
        writeTempPicture(picture, file);
    }
    emit pictureWritten(file, picture);
    m_pictures.take();
    if (!m_pictures.full())
        return;
    if (!m_options.autoSave) {
        m_pictures.startAgain();
        return;
    }
    const ImageSaveResult copied =
        CopyImageFiles(m_pictures, 0, m_pictures.count() - 1, m_options.imgPath, m_clock);
    if (autoSaved(copied.ok(), copied.reason, m_options.imgPath, m_pictureFailureTold))
        m_pictures.clear();
}

SaveResult EntryStore::saveText(int row) const {
    return SaveTextFile(m_texts.texts(), row, row, m_options.txtPath, m_clock.now());
}

SaveResult EntryStore::saveAllText() {
    const SaveResult saved =
        SaveTextFile(m_texts.texts(), 0, m_texts.count() - 1, m_options.txtPath, m_clock.now());
    if (saved.ok) {
        m_textFailureTold = false;
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
    if (copied.ok()) {
        m_pictureFailureTold = false;
        m_pictures.clear();
    }
    return copied;
}

void EntryStore::deleteAllText() {
    m_texts.clear();
}

void EntryStore::deleteAllPictures() {
    deleteTempPictures();
    m_pictures.clear();
}

bool EntryStore::deleteTempPictures() {
    return ::deleteTempPictures(m_folders.temp());
}
