// SPDX-License-Identifier: MIT
#include "ui/pictureview.h"

#include "core/pictureentries.h"
#include "ui/pictureframe.h"

#include <QMenu>

PictureView::PictureView(PictureEntries &entries, QMenu *menuPopImg, QWidget *parent)
    : EntryPane(QStringLiteral(" 图片数据 "), entries, "lstImg", parent)
    , lstImg(list())
    , imgMain(new PictureFrame(this))
    , scaledPicture(imgMain->scaled())
    , m_entries(entries)
    , m_menu(menuPopImg) {
    setObjectName(QStringLiteral("fmImg"));
    imgMain->setObjectName(QStringLiteral("imgMain"));
    setView(imgMain);
    connect(imgMain, &PictureFrame::mousePressed, this, &PictureView::openMenu);
}

void PictureView::present(int row) {
    const QImage picture = m_entries.picture(row);
    if (!picture.isNull() || row < 0)
        imgMain->setPicture(picture);
    scaledPicture->setPicture(imgMain->picture());
}

QImage PictureView::shownPicture() {
    presentWaiting();
    return imgMain->picture();
}

void PictureView::showScaled() {
    scaledPicture->setVisible(true);
    scaledPicture->setPicture(imgMain->picture());
}

void PictureView::showNaturalSize() {
    scaledPicture->setVisible(false);
}

void PictureView::openMenu(Qt::MouseButton button, const QPoint &globalPos) {
    if (button == Qt::RightButton)
        m_menu->popup(globalPos);
}
