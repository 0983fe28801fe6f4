// SPDX-License-Identifier: MIT
#include "ui/artwork.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>

namespace {

QPixmap clipboardPicture(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    // Board.
    p.setPen(QPen(QColor(90, 60, 30), 1.2));
    p.setBrush(QColor(196, 142, 82));
    p.drawRoundedRect(QRectF(5, 4, 22, 26), 2.5, 2.5);
    // Paper.
    p.setPen(QPen(QColor(150, 150, 150), 0.8));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 8, 16, 19));
    // Lines of text.
    p.setPen(QPen(QColor(40, 90, 180), 1.4));
    for (int y = 12; y <= 23; y += 4)
        p.drawLine(QPointF(10.5, y), QPointF(y == 23 ? 17 : 21.5, y));
    // Clip.
    p.setPen(QPen(QColor(70, 70, 70), 1));
    p.setBrush(QColor(190, 190, 200));
    p.drawRoundedRect(QRectF(11, 2, 10, 5), 1.5, 1.5);
    return pixmap;
}

QStyle::StandardPixmap standardFor(int index) {
    switch (index) {
    case 0:
        return QStyle::SP_DialogSaveButton;
    case 1:
        return QStyle::SP_TrashIcon;
    case 2:
        return QStyle::SP_FileDialogDetailedView;
    case 3:
        return QStyle::SP_DesktopIcon;
    case 5:
        return QStyle::SP_FileDialogContentsView;
    case 6:
        return QStyle::SP_ComputerIcon;
    case 7:
        return QStyle::SP_DialogHelpButton;
    default:
        return QStyle::SP_MessageBoxInformation;
    }
}

} // namespace

QIcon windowIconArt() {
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(clipboardPicture(size));
    return icon;
}

QPixmap toolPicture(int index) {
    QStyle *style = QApplication::style();
    if (!style)
        return clipboardPicture(32);
    return style->standardIcon(standardFor(index)).pixmap(32, 32);
}
