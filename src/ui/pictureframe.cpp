// SPDX-License-Identifier: MIT
#include "ui/pictureframe.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

/// The inside of a PictureFrame: draws the picture unscaled from its corner.
class PictureArea final : public QWidget {
public:
    PictureArea(PictureFrame *box)
        : QWidget(box)
        , m_box(box) {}

protected:
    void paintEvent(QPaintEvent *event) override {
        const QImage picture = m_box->picture();
        if (picture.isNull())
            return;
        QPainter painter(this);
        // Only what needs painting is drawn: a big picture costs no more than a small one.
        const QRect part = event->rect().intersected(picture.rect());
        painter.drawImage(part.topLeft(), picture, part);
    }
    void mousePressEvent(QMouseEvent *event) override {
        emit m_box->mousePressed(event->button(), event->globalPosition().toPoint());
        event->accept();
    }

private:
    PictureFrame *m_box;
};

} // namespace

PictureFrame::PictureFrame(QWidget *parent)
    : QFrame(parent)
    , m_client(new PictureArea(this))
    , m_scaled(new ScaledPicture(m_client)) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    m_client->setObjectName(QStringLiteral("clientArea"));
    m_scaled->setObjectName(QStringLiteral("imgBak"));
    m_scaled->hide();
    connect(m_scaled, &ScaledPicture::mousePressed, this, &PictureFrame::mousePressed);
}

void PictureFrame::setPicture(const QImage &picture) {
    m_picture = picture;
    m_client->update();
}

void PictureFrame::resizeEvent(QResizeEvent *event) {
    QFrame::resizeEvent(event);
    m_client->setGeometry(contentsRect());
    m_scaled->setGeometry(-3, -3, width(), height());
}

ScaledPicture::ScaledPicture(QWidget *parent)
    : QWidget(parent) {}

void ScaledPicture::setPicture(const QImage &picture) {
    if (picture.cacheKey() == m_picture.cacheKey())
        return;
    m_picture = picture;
    m_sized = QPixmap();
    update();
}

void ScaledPicture::paintEvent(QPaintEvent *) {
    if (m_picture.isNull() || width() <= 0 || height() <= 0)
        return;
    if (m_sized.size() != size())
        m_sized = QPixmap::fromImage(
            m_picture.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_sized);
}

void ScaledPicture::mousePressEvent(QMouseEvent *event) {
    emit mousePressed(event->button(), event->globalPosition().toPoint());
    event->accept();
}
