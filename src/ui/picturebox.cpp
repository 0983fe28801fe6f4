// SPDX-License-Identifier: MIT
#include "ui/picturebox.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget *parent)
    : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
}

void PictureBox::setPicture(const QImage &picture, const QString &sourceFile) {
    m_picture = picture;
    m_sourceFile = sourceFile;
    update();
}

void PictureBox::paintEvent(QPaintEvent *event) {
    QFrame::paintEvent(event);
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.setClipRect(area);
    // Only the visible part is drawn: a big picture costs no more than a small one.
    const QRect source(QPoint(0, 0), area.size());
    painter.drawImage(area.topLeft(), m_picture, source.intersected(m_picture.rect()));
}

void PictureBox::mousePressEvent(QMouseEvent *event) {
    emit mousePressed(event->button(), event->globalPosition().toPoint());
    QFrame::mousePressEvent(event);
}

StretchImage::StretchImage(QWidget *parent)
    : QWidget(parent) {}

void StretchImage::setPicture(const QImage &picture) {
    m_picture = picture;
    update();
}

void StretchImage::paintEvent(QPaintEvent *) {
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(rect(), m_picture);
}

void StretchImage::mousePressEvent(QMouseEvent *event) {
    emit mousePressed(event->button(), event->globalPosition().toPoint());
    event->accept();
}
