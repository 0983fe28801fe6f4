// SPDX-License-Identifier: MIT
#include "core/datafolders.h"

#include "core/savefile.h"
#include "platform/logging.h"
#include "platform/system.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

DataFolders::DataFolders(QString programFolder)
    : m_program(std::move(programFolder)) {}

QString DataFolders::beneath(QStringView sub) const {
    return m_program + sub.toString();
}

QString DataFolders::temp() const {
    return beneath(u"/data/image/temp");
}

void DataFolders::provide() const {
    QDir root(m_program);
    for (const char *sub : {"data/text", "data/image", "data/other"})
        root.mkpath(QString::fromLatin1(sub));
    // Pictures copied to the clipboard often hold private things: the temp
    // folder is the user's alone, also when an older run left it open to others.
    root.mkpath(temp());
    makeFolderOwnerOnly(temp());
}

Result writeTempPicture(const QImage &picture, const QString &path) {
    const QString folder = QFileInfo(path).path();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        const Reason problem = folderProblem(folder);
        return {problem == Reason::None ? Reason::CannotCreate : problem, folder,
                file.errorString()};
    }
    makeOwnerOnly(file);
    QImageWriter writer(&file, "bmp");
    if (!writer.write(picture)) {
        const QString detail = writer.errorString();
        file.cancelWriting();
        return {Reason::WriteFailed, folder, detail};
    }
    if (!commitWhole(file))
        return {Reason::WriteFailed, folder, file.errorString()};
    return Result::done(path);
}

void deleteTempPictures(const QString &folder) {
    QDir temp(folder);
    const QStringList files =
        temp.entryList({QStringLiteral("*.bmp")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : files) {
        if (!temp.remove(name))
            qCWarning(lcFiles) << "temp picture not deleted:" << temp.filePath(name);
    }
}
