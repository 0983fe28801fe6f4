// SPDX-License-Identifier: MIT
#include "ui/pictureframe.h"

#include "ui/twips.h"

#include <QFileInfo>
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
    , m_stretched(new ScaledPicture(m_client)) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    m_client->setObjectName(QStringLiteral("clientArea"));
    m_stretched->setObjectName(QStringLiteral("imgBak"));
    m_stretched->hide();
    connect(m_stretched, &ScaledPicture::mousePressed, this, &PictureFrame::mousePressed);
}

void PictureFrame::setPicture(const QImage &picture, const QString &sourceFile) {
    m_picture = picture;
    m_sourceFile = sourceFile;
    m_sourceStamp = sourceFile.isEmpty() ? FileStamp() : stampOf(sourceFile);
    m_client->update();
}

PictureFrame::FileStamp PictureFrame::stampOf(const QString &file) {
    const QFileInfo info(file);
    if (!info.exists())
        return {};
    return {true, info.size(), info.lastModified()};
}

bool PictureFrame::showsFileAsItIs(const QString &file) const {
    // A BMP file keeps no transparency: a picture with it differs from what
    // the file gives back.
    return !file.isEmpty() && file == m_sourceFile && !m_picture.isNull() &&
           !m_picture.hasAlphaChannel() && m_sourceStamp.exists && stampOf(file) == m_sourceStamp;
}

void PictureFrame::resizeEvent(QResizeEvent *event) {
    QFrame::resizeEvent(event);
    m_client->setGeometry(contentsRect());
    m_stretched->setGeometry(tw(-50), tw(-50), width(), height());
}

ScaledPicture::ScaledPicture(QWidget *parent)
    : QWidget(parent) {}

void ScaledPicture::setPicture(const QImage &picture) {
    if (picture.cacheKey() == m_picture.cacheKey())
        return;
    m_picture = picture;
    m_scaled = QPixmap();
    update();
}

void ScaledPicture::paintEvent(QPaintEvent *) {
    if (m_picture.isNull() || width() <= 0 || height() <= 0)
        return;
    if (m_scaled.size() != size())
        m_scaled = QPixmap::fromImage(
            m_picture.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_scaled);
}

void ScaledPicture::mousePressEvent(QMouseEvent *event) {
    emit mousePressed(event->button(), event->globalPosition().toPoint());
    event->accept();
}
