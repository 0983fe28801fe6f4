// SPDX-License-Identifier: MIT
#include "ui/pictureview.h"

#include "core/pictureentries.h"
#include "ui/entrylistview.h"
#include "ui/pictureframe.h"

#include <QListView>
#include <QMenu>

PictureView::PictureView(PictureEntries &entries, QMenu *menuPopImg, QWidget *parent)
    : QGroupBox(QStringLiteral(" 图片数据 "), parent)
    , imgMain(new PictureFrame(this))
    , scaledPicture(imgMain->scaled())
    , m_entries(entries)
    , m_menu(menuPopImg) {
    setObjectName(QStringLiteral("fmImg"));
    imgMain->setObjectName(QStringLiteral("imgMain"));
    lstImg = addEntryList(this, entries, "lstImg", imgMain);

    connect(&entries, &PictureEntries::currentChanged, this, &PictureView::showEntry);
    connect(&entries, &PictureEntries::modelReset, this, [this] {
        m_waiting = false;
        imgMain->setPicture(QImage());
        scaledPicture->setPicture(QImage());
    });
    connect(imgMain, &PictureFrame::mousePressed, this, &PictureView::openMenu);
}

void PictureView::showEntry(int row) {
    lstImg->setCurrentIndex(m_entries.index(row));
    m_waiting = true;
    if (isVisible())
        showCurrent();
}

void PictureView::showEvent(QShowEvent *event) {
    QGroupBox::showEvent(event);
    showCurrent();
}

void PictureView::showCurrent() {
    if (!m_waiting)
        return;
    m_waiting = false;
    if (const QImage picture = m_entries.picture(m_entries.current()); !picture.isNull())
        imgMain->setPicture(picture);
    scaledPicture->setPicture(imgMain->picture());
}

QImage PictureView::shownPicture() {
    showCurrent();
    return imgMain->picture();
}

void PictureView::menuShowA_Click() {
    scaledPicture->setVisible(true);
    scaledPicture->setPicture(imgMain->picture());
}

void PictureView::menuShowB_Click() {
    scaledPicture->setVisible(false);
}

void PictureView::openMenu(Qt::MouseButton button, const QPoint &globalPos) {
    if (button == Qt::RightButton)
        m_menu->popup(globalPos);
}
