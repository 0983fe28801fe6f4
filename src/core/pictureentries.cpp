// SPDX-License-Identifier: MIT
#include "core/pictureentries.h"

#include "platform/logging.h"

#include <QImageReader>

PictureEntries::PictureEntries(QString tempFolder, QObject *parent)
    : EntryList(&imageCaption, parent)
    , m_tempFolder(std::move(tempFolder)) {}

QString PictureEntries::file(int row) const {
    return m_tempFolder + u'/' + imageCaption(row) + QStringLiteral(".bmp");
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
    m_words.resize(std::max<qsizetype>(m_words.size(), row + 1));
    m_words[row] = QString(); // a new picture, not read yet
    endPlace(row);
}

void PictureEntries::setWords(int row, const QString &words) {
    if (!exists(row))
        return;
    // Read, even when there was nothing to read.
    m_words[row] = words.isNull() ? QStringLiteral("") : words;
    emit dataChanged(index(row), index(row), {SearchTextRole});
}

void PictureEntries::restore(int count, int next) {
    beginReset();
    m_newest = QImage();
    m_newestRow = -1;
    m_words = QList<QString>(count);
    endReset(count, next);
}
