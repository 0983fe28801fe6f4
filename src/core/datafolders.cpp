// SPDX-License-Identifier: MIT
#include "core/datafolders.h"

#include "core/savefile.h"
#include "platform/files.h"
#include "platform/logging.h"
#include "platform/system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>

DataFolders::DataFolders(QString programFolder)
    : m_program(std::move(programFolder)) {}

QString DataFolders::beneath(QStringView sub) const {
    return m_program + sub.toString();
}

QString DataFolders::temp() const {
    return beneath(u"/data/image/temp");
}

Result DataFolders::provide() const {
    // Its pictures and journal are deleted at the end: never another folder's.
    if (files::isLink(temp())) {
        qCWarning(lcFiles) << "the temp folder is a link, not used:" << temp();
        return {Reason::TempFolderIsLink, temp(), {}};
    }
    QStringList notMade;
    for (const QString &folder :
         {beneath(u"/data/text"), beneath(u"/data/image"), beneath(u"/data/other"), temp()}) {
        if (!QDir().mkpath(folder)) {
            qCWarning(lcFiles) << "folder not made:" << folder;
            notMade << QDir::toNativeSeparators(folder);
        }
    }
    if (!notMade.isEmpty())
        return {Reason::FolderNotMade, notMade.join(u'\n'), {}};
    // Pictures copied to the clipboard often hold private things: the temp
    // folder is the user's alone, also when an older run left it open to others.
    if (!makeFolderOwnerOnly(temp())) {
        qCWarning(lcFiles) << "the temp folder could not be made the user's alone:" << temp();
        return {Reason::FolderNotPrivate, QDir::toNativeSeparators(temp()), {}};
    }
    return {};
}

Result writeTempPicture(const QImage &picture, const QString &path) {
    // Written beside it first: a crash never leaves half a picture under its
    // name, and a link planted there is replaced, never written through.
    const QString fresh = path.chopped(4) + QStringLiteral(".new.bmp");
    files::remove(fresh);
    const QString folder = QFileInfo(path).path();
    Result why;
    const int fd = files::createNew(fresh, &why);
    if (fd < 0) {
        const Reason problem = folderProblem(folder);
        return {problem == Reason::None ? why.reason : problem, folder, why.detail};
    }
    QFile file;
    file.open(fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle);
    QImageWriter writer(&file, "bmp");
    const bool written = writer.write(picture) && file.flush();
    if (!written)
        why = {Reason::WriteFailed, folder, writer.errorString()};
    file.close();
    files::close(fd);
    if (!written || !files::replace(fresh, path, &why)) {
        files::remove(fresh);
        return {why.reason, folder, why.detail};
    }
    return Result::done(path);
}

void deleteTempPictures(const QString &folder) {
    if (files::isLink(folder))
        return;
    QDir temp(folder);
    const QStringList names =
        temp.entryList({QStringLiteral("*.bmp")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (!files::remove(temp.filePath(name)))
            qCWarning(lcFiles) << "temp picture not deleted:" << temp.filePath(name);
    }
}
