// SPDX-License-Identifier: MIT
#include "core/pictureentries.h"

#include "core/previews.h"
#include "platform/logging.h"

#include <QImageReader>

PictureEntries::PictureEntries(QString tempFolder, QObject *parent)
    : EntryList(&imageCaption, parent)
    , m_tempFolder(std::move(tempFolder))
    , m_previews(new PicturePreviews(this)) {
    connect(m_previews, &PicturePreviews::made, this,
            [this](int row) { emit dataChanged(index(row), index(row), {Qt::ToolTipRole}); });
    // A picture placed anew (no role named) has its preview made again.
    connect(this, &QAbstractItemModel::dataChanged, m_previews,
            [this](const QModelIndex &from, const QModelIndex &to, const QList<int> &roles) {
                if (roles.isEmpty())
                    for (int row = from.row(); row <= to.row(); ++row)
                        m_previews->forget(row);
            });
    connect(this, &QAbstractItemModel::modelReset, m_previews, &PicturePreviews::forgetAll);
}

QString PictureEntries::preview(int row) const {
    return exists(row) ? m_previews->preview(row, file(row)) : QString();
}

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
