// SPDX-License-Identifier: MIT
#include "core/pictureentries.h"

#include "core/captions.h"

PictureEntries::PictureEntries(QString tempFolder, QObject *parent)
    : EntryList(&ImageCaption, parent)
    , m_tempFolder(std::move(tempFolder)) {}

QString PictureEntries::file(int row) const {
    return m_tempFolder + u'/' + ImageCaption(row) + QStringLiteral(".bmp");
}

void PictureEntries::take() {
    endPlace(beginPlace());
}

void PictureEntries::clear() {
    beginClear();
    endClear();
}
