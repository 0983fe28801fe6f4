// SPDX-License-Identifier: MIT
#include "ui/pictureview.h"

#include "core/pictureentries.h"
#include "ui/pictureframe.h"

#include <QMenu>

PictureView::PictureView(PictureEntries &entries, QMenu *menuPopImg, QWidget *parent)
    : EntryPane(QStringLiteral(" 图片数据 "), entries, "lstImg", parent)
    , m_frame(new PictureFrame(this))
    , m_scaled(m_frame->scaled())
    , m_entries(entries)
    , m_menu(menuPopImg) {
    setObjectName(QStringLiteral("fmImg"));
    m_frame->setObjectName(QStringLiteral("imgMain"));
    setView(m_frame);
    connect(m_frame, &PictureFrame::mousePressed, this, &PictureView::openMenu);
    // The words read once the picture is shown.
    connect(&entries, &PictureEntries::dataChanged, this, [this](const QModelIndex &at) {
        if (at.row() == m_entries.current())
            m_frame->setAccessibleDescription(m_entries.words(at.row()));
    });
}

void PictureView::present(int row) {
    const QImage picture = m_entries.picture(row);
    if (!picture.isNull() || row < 0) {
        m_frame->setPicture(picture);
        // For screen readers, which see nothing of the picture itself.
        m_frame->setAccessibleName(row < 0 ? QString()
                                           : QStringLiteral("%1，%2×%3")
                                                 .arg(m_entries.caption(row))
                                                 .arg(picture.width())
                                                 .arg(picture.height()));
        m_frame->setAccessibleDescription(m_entries.words(row));
    }
    m_scaled->setPicture(m_frame->picture());
}

QImage PictureView::shownPicture() {
    presentWaiting();
    return m_frame->picture();
}

void PictureView::showScaled() {
    m_scaled->setVisible(true);
    m_scaled->setPicture(m_frame->picture());
}

void PictureView::showNaturalSize() {
    m_scaled->setVisible(false);
}

void PictureView::openMenu(Qt::MouseButton button, const QPoint &globalPos) {
    if (button == Qt::RightButton)
        m_menu->popup(globalPos);
}
