// SPDX-License-Identifier: MIT
#pragma once

#include <QFrame>
#include <QImage>
#include <QPixmap>

class ScaledPicture;

/// A picture drawn at its natural size from the top-left corner of a sunken
/// frame, cut off at the edges (imgMain). Over it lies the same picture
/// stretched (imgBak), hidden unless shown: 3 pixels up and left of the
/// inner corner, as wide and high as the whole box, cut off at the border.
class PictureFrame final : public QFrame {
    Q_OBJECT
public:
    explicit PictureFrame(QWidget *parent = nullptr);

    QImage picture() const { return m_picture; }
    void setPicture(const QImage &picture);

    /// The area inside the border.
    QWidget *clientArea() const { return m_client; }
    /// The stretched picture over it.
    ScaledPicture *scaled() const { return m_scaled; }

signals:
    void mousePressed(Qt::MouseButton button, const QPoint &globalPos);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *m_client;
    ScaledPicture *m_scaled;
    QImage m_picture;
};

/// A picture stretched to the control's own size, width and height each by
/// its own factor (imgBak).
class ScaledPicture final : public QWidget {
    Q_OBJECT
public:
    explicit ScaledPicture(QWidget *parent = nullptr);

    QImage picture() const { return m_picture; }
    void setPicture(const QImage &picture);

signals:
    void mousePressed(Qt::MouseButton button, const QPoint &globalPos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QImage m_picture;
    /// The picture at the control's size, made when first needed.
    QPixmap m_sized;
};
