// SPDX-License-Identifier: MIT
#include "ui/pictureview.h"

#include "core/pictureentries.h"
#include "ui/entrylistview.h"
#include "ui/pictureframe.h"

#include <QImageReader>
#include <QListView>
#include <QMenu>

PictureView::PictureView(PictureEntries &entries, QMenu *menuPopImg, QWidget *parent)
    : QGroupBox(QStringLiteral(" 图片数据 "), parent)
    , imgMain(new PictureFrame(this))
    , imgBak(imgMain->stretched())
    , m_entries(entries)
    , m_menu(menuPopImg) {
    setObjectName(QStringLiteral("fmImg"));
    imgMain->setObjectName(QStringLiteral("imgMain"));
    lstImg = addEntryList(this, entries, "lstImg", imgMain);

    connect(&entries, &PictureEntries::currentChanged, this, &PictureView::lstImg_Click);
    connect(&entries, &PictureEntries::modelReset, this, [this] {
        imgMain->setPicture(QImage());
        imgBak->setPicture(QImage());
    });
    connect(imgMain, &PictureFrame::mousePressed, this, &PictureView::imgMain_MouseDown);
}

void PictureView::showCaptured(const QString &file, const QImage &picture) {
    imgMain->setPicture(picture, file);
}

void PictureView::lstImg_Click(int row) {
    lstImg->setCurrentIndex(m_entries.index(row));
    const QString file = m_entries.file(row);
    // A capture shows its picture as it writes the file, then makes it
    // current: reading the file back would give the same picture again.
    if (!imgMain->showsFileAsItIs(file)) {
        QImageReader reader(file);
        const QImage picture = reader.read();
        if (!picture.isNull())
            imgMain->setPicture(picture, file);
    }
    imgBak->setPicture(imgMain->picture());
}

void PictureView::menuShowA_Click() {
    imgBak->setVisible(true);
    imgBak->setPicture(imgMain->picture());
}

void PictureView::menuShowB_Click() {
    imgBak->setVisible(false);
}

void PictureView::imgMain_MouseDown(Qt::MouseButton button, const QPoint &globalPos) {
    if (button == Qt::RightButton)
        m_menu->popup(globalPos);
}
