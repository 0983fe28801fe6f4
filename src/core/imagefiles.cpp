// SPDX-License-Identifier: MIT
#include "core/imagefiles.h"

#include "core/pictureentries.h"
#include "core/savefile.h"
#include "platform/clock.h"

#include <QFile>
#include <QSaveFile>

namespace {

constexpr qint64 CopyChunk = qint64(1) << 20;

/// Copies picture entry n into `folder`; empty on success, else why not.
QString copyOne(const PictureEntries &pictures, int n, const QString &folder, const Clock &clock) {
    if (QString problem = folderProblem(folder); !problem.isEmpty())
        return problem;
    // There is no temp picture for a negative number (nothing selected).
    if (n < 0)
        return QString::fromUtf16(SaveReason::NoPicture);
    QFile source(pictures.file(n));
    if (!source.exists())
        return QString::fromUtf16(SaveReason::NoPicture);
    if (!source.open(QIODevice::ReadOnly))
        return QString::fromUtf16(SaveReason::PictureUnreadable);

    const QString stamp = clock.now().toString(u"yyyyMMddHHmmss");
    const QString target = freeDataFileName(folder, stamp + QString::number(n), u".bmp");
    if (target.isEmpty())
        return openProblem(folder);
    QSaveFile copy(target);
    if (!copy.open(QIODevice::WriteOnly))
        return openProblem(folder);
    while (!source.atEnd()) {
        const QByteArray bytes = source.read(CopyChunk);
        if (bytes.isEmpty() && source.error() != QFileDevice::NoError) {
            copy.cancelWriting();
            return QString::fromUtf16(SaveReason::PictureUnreadable);
        }
        if (copy.write(bytes) != bytes.size()) {
            copy.cancelWriting();
            return QString::fromUtf16(SaveReason::WriteFailed);
        }
    }
    if (!commitWhole(copy))
        return QString::fromUtf16(SaveReason::WriteFailed);
    return QString();
}

QString captionsOf(const PictureEntries &pictures, const QList<int> &rows) {
    QStringList captions;
    for (int row : rows) {
        if (row >= 0) // there is no entry -1 (nothing chosen) to name
            captions << pictures.caption(row);
    }
    return captions.isEmpty() ? QString() : u'\n' + captions.join(QStringLiteral(", "));
}

} // namespace

ImageSaveResult CopyImageFiles(const PictureEntries &pictures, int first, int last,
                               const QString &folder, const Clock &clock) {
    ImageSaveResult result;
    for (qint64 n = first; n <= last; ++n) {
        const QString problem = copyOne(pictures, int(n), folder, clock);
        if (problem.isEmpty()) {
            result.saved.append(int(n));
        } else if (problem == QStringView(SaveReason::NoPicture)) {
            result.gone.append(int(n));
        } else {
            result.failed.append(int(n));
            if (result.reason.isEmpty())
                result.reason = problem;
        }
    }
    if (!result.failed.isEmpty())
        result.problem =
            saveFailureDescription(folder, result.reason) + captionsOf(pictures, result.failed);
    if (!result.gone.isEmpty())
        result.problem +=
            u'\n' + QString::fromUtf16(SaveReason::NoPicture) + captionsOf(pictures, result.gone);
    return result;
}
