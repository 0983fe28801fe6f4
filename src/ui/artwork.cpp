// SPDX-License-Identifier: MIT
// The program's pictures, drawn here on a 32 × 32 grid.
#include "ui/artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <functional>

namespace {

using Drawing = std::function<void(QPainter &)>;

QPixmap draw(int size, const Drawing &drawing) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    drawing(p);
    return pixmap;
}

QPen pen(const QColor &colour, qreal width = 1.2) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

/// A sheet of paper with lines of text.
void paper(QPainter &p, const QRectF &sheet, int lines) {
    p.setPen(pen(QColor(110, 110, 110), 1));
    p.setBrush(Qt::white);
    p.drawRect(sheet);
    p.setPen(pen(QColor(40, 90, 180), 1.6));
    for (int i = 0; i < lines; ++i) {
        const qreal y = sheet.top() + 4.5 + i * 4;
        const qreal right = i == lines - 1 ? sheet.center().x() : sheet.right() - 3;
        p.drawLine(QPointF(sheet.left() + 3, y), QPointF(right, y));
    }
}

void clipboard(QPainter &p) {
    p.setPen(pen(QColor(90, 60, 30)));
    p.setBrush(QColor(196, 142, 82));
    p.drawRoundedRect(QRectF(5, 4, 22, 26), 2.5, 2.5);
    paper(p, QRectF(8, 8, 16, 19), 4);
    p.setPen(pen(QColor(70, 70, 70), 1));
    p.setBrush(QColor(190, 190, 200));
    p.drawRoundedRect(QRectF(11, 2, 10, 5), 1.5, 1.5);
}

void saveAll(QPainter &p) {
    p.setPen(pen(QColor(20, 50, 110)));
    p.setBrush(QColor(50, 100, 190));
    QPainterPath disk;
    disk.moveTo(4, 4);
    disk.lineTo(24, 4);
    disk.lineTo(28, 8);
    disk.lineTo(28, 28);
    disk.lineTo(4, 28);
    disk.closeSubpath();
    p.drawPath(disk);
    p.setBrush(QColor(225, 230, 240));
    p.drawRect(QRectF(9, 4, 13, 9));
    p.setBrush(QColor(20, 50, 110));
    p.drawRect(QRectF(17, 6, 3, 5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 17, 16, 11));
    p.setPen(pen(QColor(150, 150, 150), 1));
    p.drawLine(QPointF(10, 21), QPointF(22, 21));
    p.drawLine(QPointF(10, 24), QPointF(22, 24));
}

void deleteAll(QPainter &p) {
    p.setPen(pen(QColor(80, 80, 80)));
    p.setBrush(QColor(200, 205, 210));
    p.drawRoundedRect(QRectF(7, 9, 18, 20), 2, 2);
    p.drawRect(QRectF(5, 6, 22, 3));
    p.drawRect(QRectF(13, 3.5, 6, 2.5));
    p.setPen(pen(QColor(120, 120, 120), 1.4));
    for (qreal x : {11.5, 16.0, 20.5})
        p.drawLine(QPointF(x, 12), QPointF(x, 26));
    p.setPen(pen(QColor(210, 30, 30), 3));
    p.drawLine(QPointF(18, 17), QPointF(29, 28));
    p.drawLine(QPointF(29, 17), QPointF(18, 28));
}

void viewText(QPainter &p) {
    paper(p, QRectF(6, 3, 20, 26), 6);
}

void viewPictures(QPainter &p) {
    p.setPen(pen(QColor(90, 70, 40)));
    p.setBrush(QColor(170, 130, 70));
    p.drawRect(QRectF(3, 5, 26, 22));
    p.setBrush(QColor(150, 200, 240));
    p.drawRect(QRectF(6, 8, 20, 16));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 200, 40));
    p.drawEllipse(QPointF(20.5, 12.5), 2.5, 2.5);
    p.setBrush(QColor(60, 150, 70));
    p.drawPolygon(QPolygonF{QPointF(6, 24), QPointF(13, 13), QPointF(19, 21), QPointF(22, 18),
                            QPointF(26, 24)});
}

void textSettings(QPainter &p) {
    QFont font = p.font();
    font.setPixelSize(22);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(30, 30, 30));
    p.drawText(QRectF(2, 0, 22, 24), Qt::AlignCenter, QStringLiteral("A"));
    const QColor colours[] = {QColor(220, 40, 40), QColor(40, 160, 60), QColor(40, 90, 200)};
    for (int i = 0; i < 3; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(colours[i]);
        p.drawRect(QRectF(3 + i * 7, 25, 7, 4));
    }
    p.setPen(pen(QColor(100, 70, 30), 2.5));
    p.drawLine(QPointF(22, 20), QPointF(29, 5));
}

void options(QPainter &p) {
    const QPointF centre(16, 16);
    const int teeth = 8;
    QPolygonF outline;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal angle = i * M_PI / teeth;
        const qreal radius = i % 2 ? 10 : 13.5;
        for (qreal side : {-0.14, 0.14})
            outline << centre + radius * QPointF(qCos(angle + side), qSin(angle + side));
    }
    QPainterPath gear;
    gear.addPolygon(outline);
    gear.closeSubpath();
    gear.addEllipse(centre, 4.5, 4.5);
    p.setPen(pen(QColor(60, 60, 70)));
    p.setBrush(QColor(150, 155, 170));
    p.drawPath(gear);
}

void manual(QPainter &p) {
    p.setPen(pen(QColor(30, 70, 40)));
    p.setBrush(QColor(60, 140, 80));
    p.drawRoundedRect(QRectF(6, 3, 20, 26), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 26, 17, 3));
    QFont font = p.font();
    font.setPixelSize(17);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(8, 3, 18, 22), Qt::AlignCenter, QStringLiteral("?"));
}

void about(QPainter &p) {
    p.setPen(pen(QColor(20, 60, 140)));
    p.setBrush(QColor(50, 110, 210));
    p.drawEllipse(QPointF(16, 16), 13, 13);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 9.5), 2.2, 2.2);
    p.drawRoundedRect(QRectF(14, 13.5, 4, 11), 1.2, 1.2);
}

} // namespace

QPixmap windowIconPicture(int size) {
    return draw(size, clipboard);
}

QIcon windowIconArt() {
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(windowIconPicture(size));
    return icon;
}

QPixmap toolPicture(int index) {
    static const Drawing drawings[] = {saveAll,      deleteAll, viewText, viewPictures, clipboard,
                                       textSettings, options,   manual,   about};
    if (index < 0 || index >= int(std::size(drawings)))
        return {};
    // Drawn larger than the button, which scales it down smoothly.
    return draw(64, drawings[index]);
}
