// SPDX-License-Identifier: MIT
#include "core/datafolders.h"

#include "core/savefile.h"
#include "platform/system.h"

#include <QDir>
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

bool writeTempPicture(const QImage &picture, const QString &path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    makeOwnerOnly(file);
    QImageWriter writer(&file, "bmp");
    if (!writer.write(picture)) {
        file.cancelWriting();
        return false;
    }
    return commitWhole(file);
}

bool deleteTempPictures(const QString &folder) {
    QDir temp(folder);
    bool all = true;
    const QStringList files =
        temp.entryList({QStringLiteral("*.bmp")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : files)
        all = temp.remove(name) && all;
    return all;
}
