// SPDX-License-Identifier: MIT
#include "store/imagefiles.h"

#include "app/module1.h"
#include "platform/clock.h"
#include "store/entries.h"

#include <QFile>
#include <QSaveFile>

namespace {

constexpr qint64 CopyChunk = qint64(1) << 20;

/// Copies picture entry n into `folder`; empty on success, else why not.
QString copyOne(const Module1 &m, int n, const QString &folder) {
    if (QString problem = FolderProblem(folder); !problem.isEmpty())
        return problem;
    // There is no temp picture for a negative number (nothing selected).
    if (n < 0)
        return QString::fromUtf16(SaveReason::NoPicture);
    QFile source(m.tempImagePath(ImageCaption(n)));
    if (!source.exists())
        return QString::fromUtf16(SaveReason::NoPicture);
    if (!source.open(QIODevice::ReadOnly))
        return QString::fromUtf16(SaveReason::PictureUnreadable);

    const QString stamp = m.platform.clock.now().toString(u"yyyyMMddHHmmss");
    const QString target = FreeDataFileName(folder, stamp + QString::number(n), u".bmp");
    if (target.isEmpty())
        return OpenProblem(folder);
    QSaveFile copy(target);
    if (!copy.open(QIODevice::WriteOnly))
        return OpenProblem(folder);
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
    if (!CommitWhole(copy))
        return QString::fromUtf16(SaveReason::WriteFailed);
    return QString();
}

/// Copies first..last; `told` hears of every failed entry at once, before the
/// next one is tried.
template <typename Told>
ImageSaveResult copyRange(Module1 &m, int first, int last, const QString &folder, Told told) {
    ImageSaveResult result;
    for (qint64 n = first; n <= last; ++n) {
        const QString problem = copyOne(m, int(n), folder);
        if (problem.isEmpty()) {
            result.saved.append(int(n));
            continue;
        }
        result.failed.append(int(n));
        if (result.reason.isEmpty())
            result.reason = problem;
        told();
    }
    return result;
}

} // namespace

ImageSaveResult CopyImageFiles(Module1 &m, int first, int last, const QString &folder) {
    return copyRange(m, first, last, folder, [] {});
}

ImageSaveResult SaveImageFiles(Module1 &m, int first, int last, const QString &folder) {
    return copyRange(m, first, last, folder, [&m] { m.ShowSystemError(QString()); });
}
