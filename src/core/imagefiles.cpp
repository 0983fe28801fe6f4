// SPDX-License-Identifier: MIT
#include "core/imagefiles.h"

#include "core/pictureentries.h"
#include "core/savefile.h"
#include "platform/clock.h"

#include <QFile>
#include <QSaveFile>

namespace {

constexpr qint64 CopyChunk = qint64(1) << 20;

/// Copies picture entry n into `folder`.
Result copyOne(const PictureEntries &pictures, int n, const QString &folder, const Clock &clock) {
    // There is no temp picture for a negative number (nothing selected).
    QFile source(pictures.file(n));
    if (n < 0 || !source.exists())
        return {Reason::PictureMissing, pictures.file(n), {}};
    if (!source.open(QIODevice::ReadOnly))
        return {Reason::PictureUnreadable, source.fileName(), source.errorString()};
    const QString stamp = clock.now().toString(u"yyyyMMddHHmmss");
    return writeNewDataFile(folder, stamp + QString::number(n), u".bmp", [&](QSaveFile &copy) {
        while (!source.atEnd()) {
            const QByteArray bytes = source.read(CopyChunk);
            if (bytes.isEmpty() && source.error() != QFileDevice::NoError)
                return Reason::PictureUnreadable;
            if (copy.write(bytes) != bytes.size())
                return Reason::WriteFailed;
        }
        return Reason::None;
    });
}

} // namespace

ImageSaveResult CopyImageFiles(const PictureEntries &pictures, int first, int last,
                               const QString &folder, const Clock &clock) {
    ImageSaveResult result;
    for (qint64 n = first; n <= last; ++n) {
        const Result copied = copyOne(pictures, int(n), folder, clock);
        if (copied.ok()) {
            result.saved.append(int(n));
        } else if (copied.reason == Reason::PictureMissing) {
            result.gone.append(int(n));
        } else {
            result.failed.append(int(n));
            if (result.failure.ok())
                result.failure = {copied.reason, folder, copied.detail};
        }
    }
    return result;
}
