// SPDX-License-Identifier: MIT
#include "core/savefile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

QString saveFailureDescription(const QString &folder, const QString &reason) {
    return u'\n' + QDir::toNativeSeparators(folder) + u'\n' + reason;
}

bool commitWhole(QSaveFile &file) {
    if (file.flush() && file.commit())
        return true;
    file.cancelWriting();
    return false;
}

QString folderProblem(const QString &folder) {
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir())
        return QString::fromUtf16(SaveReason::FolderMissing);
    if (!info.isWritable())
        return QString::fromUtf16(SaveReason::FolderReadOnly);
    return QString();
}

QString openProblem(const QString &folder) {
    const QString problem = folderProblem(folder);
    return problem.isEmpty() ? QString::fromUtf16(SaveReason::CannotCreate) : problem;
}

QString freeDataFileName(const QString &folder, const QString &stem, QStringView extension) {
    const QString base = folder + u'/' + stem;
    // Bounded, so that a folder that answers "exists" to everything cannot
    // keep the program here.
    for (int k = 1; k <= 10000; ++k) {
        QString name = base;
        if (k > 1)
            name += u'_' + QString::number(k);
        name += extension;
        const QFileInfo info(name);
        if (!info.exists() && !info.isSymLink())
            return name;
    }
    return QString();
}
