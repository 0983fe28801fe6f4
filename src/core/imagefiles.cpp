// SPDX-License-Identifier: MIT
#include "core/imagefiles.h"

#include "core/pictureentries.h"
#include "core/savefile.h"
#include "platform/clock.h"
#include "platform/files.h"

#include <QFile>
#include <QSaveFile>

namespace {

constexpr qint64 CopyChunk = qint64(1) << 20;

} // namespace

void ImageSaveResult::add(int row, const Result &copied) {
    if (copied.ok()) {
        saved.append(row);
    } else if (copied.reason == Reason::PictureMissing) {
        gone.append(row);
    } else {
        failed.append(row);
        if (failure.ok())
            failure = copied;
    }
}

Result copyImageFile(const PictureEntries &pictures, int row, const QString &folder,
                     const Clock &clock, const std::function<void(const QString &)> &beforeCommit) {
    // There is no temp picture for a negative number (nothing selected).
    Result opened;
    QFile source;
    if (row < 0 || !files::openForReading(source, pictures.file(row), &opened)) {
        const bool missing = row < 0 || opened.reason == Reason::FolderMissing;
        return {missing ? Reason::PictureMissing : Reason::PictureUnreadable, folder,
                opened.detail};
    }
    const QString stamp = clock.now().toString(u"yyyyMMddHHmmss");
    const auto copy = [&](QSaveFile &target) {
        while (!source.atEnd()) {
            const QByteArray bytes = source.read(CopyChunk);
            if (bytes.isEmpty() && source.error() != QFileDevice::NoError)
                return Reason::PictureUnreadable;
            if (target.write(bytes) != bytes.size())
                return Reason::WriteFailed;
        }
        return Reason::None;
    };
    return writeNewDataFile(folder, stamp + QString::number(row), u".bmp", copy, beforeCommit);
}
