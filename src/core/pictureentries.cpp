// SPDX-License-Identifier: MIT
#include "core/pictureentries.h"

#include "platform/logging.h"

#include <QImageReader>

PictureEntries::PictureEntries(QString tempFolder, QObject *parent)
    : EntryList(&ImageCaption, parent)
    , m_tempFolder(std::move(tempFolder)) {}

QString PictureEntries::file(int row) const {
    return m_tempFolder + u'/' + ImageCaption(row) + QStringLiteral(".bmp");
}

QImage PictureEntries::picture(int row) const {
    if (!exists(row))
        return {};
    if (row == m_newestRow)
        return m_newest;
    QImageReader reader(file(row));
    QImage picture = reader.read();
    if (picture.isNull())
        qCWarning(lcFiles) << "picture entry" << row << "not read:" << reader.errorString();
    return picture;
}

void PictureEntries::take(const QImage &written) {
    const int row = beginPlace();
    // A BMP file keeps no transparency: such a picture is read back as the file has it.
    const bool asInFile = !written.isNull() && !written.hasAlphaChannel();
    m_newestRow = asInFile ? row : -1;
    m_newest = asInFile ? written : QImage();
    endPlace(row);
}

void PictureEntries::restore(int count, int next) {
    beginReset();
    m_newest = QImage();
    m_newestRow = -1;
    endReset(count, next);
}
