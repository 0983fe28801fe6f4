// SPDX-License-Identifier: MIT
#include "app/capture.h"

#include "app/module1.h"
#include "platform/clipboard.h"
#include "platform/system.h"
#include "store/entries.h"
#include "store/imagefiles.h"
#include "store/textfile.h"
#include "ui/picturebox.h"
#include "ui/textbox.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QListWidget>
#include <QSaveFile>

namespace {

/// The entry captured last, or -1. Right after the count wraps under the
/// overwrite policy that is entry 99, not count - 1.
int newestEntry(qint16 count, const QListWidget *list) {
    if (count > 0)
        return count - 1;
    return list && list->count() >= EntryBound ? EntryBound - 1 : -1;
}

/// Lists entry n: a new item at the end, or, when entry n is already listed
/// (the count wrapped, or stays at its limit), the same item again.
void listEntry(QListWidget *list, int n, const QString &caption) {
    if (!list)
        return;
    if (n < list->count())
        list->item(n)->setText(caption);
    else
        list->addItem(caption);
}

void select(QListWidget *list, int n) {
    if (list && n < list->count())
        list->setCurrentRow(n);
}

/// The automatic save of the save policy, for the entries 0..count-1 that
/// exist. Returns true when everything was saved.
template <typename Save>
bool autoSave(Module1 &m, const QString &folder, bool &failureShown, Save save) {
    const SaveResult result = save();
    if (result.ok) {
        failureShown = false;
        return true;
    }
    // One message for a run of failed saves, not one per capture.
    if (!failureShown) {
        failureShown = true;
        m.ShowSystemError(SaveFailureDescription(folder, result.reason));
    }
    return false;
}

} // namespace

void CaptureText(Module1 &m, QListWidget *list, TextBox *view) {
    // Text that was offered but could not be read is not an empty copy:
    // taking it would list a wrong entry, and with the count wrapped it
    // would overwrite the oldest one. Rich text offered alone still gives
    // an empty entry.
    const std::optional<QString> read = m.platform.clipboard.readText();
    if (!read)
        return;
    const QString &text = *read;
    const int newest = newestEntry(m.TextCount, list);
    if (newest >= 0 && text == m.textPage(newest))
        return;

    const int n = m.TextCount;
    m.setTextPage(n, text);
    if (view)
        view->setText(text);
    listEntry(list, n, TextCaption(n));
    select(list, n);
    m.TextCount = Increment(m.TextCount);

    if (m.TextCount < EntryBound)
        return;
    if (!m.AutoSave) {
        m.TextCount = qint16(m.TextCount % EntryBound);
        return;
    }
    const int existing = list ? list->count() : m.TextCount;
    if (autoSave(m, m.TxtPath, m.TextSaveFailureShown,
                 [&] { return SaveTextFile(m, 0, existing - 1, m.TxtPath); }))
        DeleteAllText(m, list, view);
}

void CaptureImage(Module1 &m, QListWidget *list, PictureBox *view, StretchImage *stretched) {
    const QImage picture = m.platform.clipboard.getImage();
    if (picture.isNull())
        return;

    const int n = m.ImageCount;
    const QString caption = ImageCaption(n);
    const QString file = m.tempImagePath(caption);
    listEntry(list, n, caption);
    if (!WriteTempPicture(picture, file)) {
        // The temp folder is ours: when it went missing, put it back once.
        m.ProvideDataFolders();
        WriteTempPicture(picture, file);
    }
    if (view)
        view->setPicture(picture, file);
    select(list, n);
    m.ImageCount = Increment(m.ImageCount);

    if (m.ImageCount < EntryBound)
        return;
    if (!m.AutoSave) {
        m.ImageCount = qint16(m.ImageCount % EntryBound);
        return;
    }
    const int existing = list ? list->count() : m.ImageCount;
    if (autoSave(m, m.ImgPath, m.ImageSaveFailureShown, [&] {
            const ImageSaveResult copied = CopyImageFiles(m, 0, existing - 1, m.ImgPath);
            return SaveResult{copied.ok(), copied.reason, {}};
        }))
        ForgetAllImages(m, list, view, stretched);
}

bool WriteTempPicture(const QImage &picture, const QString &path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    makeOwnerOnly(file);
    QImageWriter writer(&file, "bmp");
    if (!writer.write(picture)) {
        file.cancelWriting();
        return false;
    }
    return CommitWhole(file);
}
