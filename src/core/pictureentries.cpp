// SPDX-License-Identifier: MIT
#include "core/pictureentries.h"

#include "core/captions.h"

#include <QFile>

PictureEntries::PictureEntries(QString tempFolder, QObject *parent)
    : EntryList(&ImageCaption, parent)
    , m_tempFolder(std::move(tempFolder)) {}

QString PictureEntries::file(int row) const {
    return m_tempFolder + u'/' + ImageCaption(row) + QStringLiteral(".bmp");
}

void PictureEntries::take() {
    endPlace(beginPlace());
}

void PictureEntries::keepOnly(const QList<int> &rows) {
    beginClear();
    for (int row = 0; row < count(); ++row) {
        if (!rows.contains(row))
            QFile::remove(file(row));
    }
    // Upwards, each file moves to a number below its own that is free by then.
    for (int kept = 0; kept < rows.size(); ++kept) {
        if (rows.at(kept) != kept)
            QFile::rename(file(rows.at(kept)), file(kept));
    }
    endClear();
    for (int kept = 0; kept < rows.size(); ++kept)
        take();
}

void PictureEntries::clear() {
    keepOnly({});
}
