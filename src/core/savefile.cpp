// SPDX-License-Identifier: MIT
#include "core/savefile.h"

#include "platform/logging.h"
#include "platform/system.h"

#include <QFileInfo>
#include <QSaveFile>

bool commitWhole(QSaveFile &file) {
    if (file.flush() && file.commit())
        return true;
    file.cancelWriting();
    return false;
}

Reason folderProblem(const QString &folder) {
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir())
        return Reason::FolderMissing;
    if (!info.isWritable())
        return Reason::FolderReadOnly;
    return Reason::None;
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

Result writeNewDataFile(const QString &folder, const QString &stem, QStringView extension,
                        const std::function<Reason(QSaveFile &)> &writeBody,
                        const std::function<void(const QString &)> &beforeCommit) {
    const auto failed = [&](Reason reason, const QString &detail = {}) {
        const Result result{reason, folder, detail};
        qCWarning(lcFiles) << "data file not written:" << result;
        return result;
    };
    if (const Reason problem = folderProblem(folder); problem != Reason::None)
        return failed(problem);
    const QString path = freeDataFileName(folder, stem, extension);
    QSaveFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly)) {
        const Reason problem = folderProblem(folder);
        return failed(problem == Reason::None ? Reason::CannotCreate : problem, file.errorString());
    }
    // Captured text and pictures may be private, whatever the umask says.
    makeOwnerOnly(file);
    Reason written = writeBody(file);
    if (written == Reason::None && beforeCommit && file.flush())
        beforeCommit(path);
    if (written == Reason::None && !commitWhole(file))
        written = Reason::WriteFailed;
    if (written != Reason::None) {
        const QString detail = file.errorString();
        file.cancelWriting();
        return failed(written, detail);
    }
    return Result::done(path);
}
