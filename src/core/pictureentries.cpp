// SPDX-License-Identifier: MIT
#include "core/pictureentries.h"

#include "platform/logging.h"

#include <QFile>
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

void PictureEntries::keepOnly(const QList<int> &rows) {
    beginClear();
    m_newest = QImage();
    m_newestRow = -1;
    for (int row = 0; row < count(); ++row) {
        if (!rows.contains(row) && QFile::exists(file(row)) && !QFile::remove(file(row)))
            qCWarning(lcFiles) << "temp picture not deleted:" << file(row);
    }
    // Upwards, each file moves to a number below its own that is free by then.
    for (int kept = 0; kept < rows.size(); ++kept) {
        if (rows.at(kept) != kept && !QFile::rename(file(rows.at(kept)), file(kept)))
            qCWarning(lcFiles) << "temp picture not renamed:" << file(rows.at(kept));
    }
    endClear();
    for (int kept = 0; kept < rows.size(); ++kept)
        take();
}

void PictureEntries::clear() {
    keepOnly({});
}
