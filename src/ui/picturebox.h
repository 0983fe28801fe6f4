// SPDX-License-Identifier: MIT
#pragma once

#include <QFrame>
#include <QImage>

/// A picture drawn at its natural size from the top-left corner of a sunken
/// frame, cut off at the edges (imgMain).
class PictureBox final : public QFrame {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    QImage picture() const { return m_picture; }
    /// Shows a picture; `sourceFile` names the file it was read from or
    /// written to, when there is one.
    void setPicture(const QImage &picture, const QString &sourceFile = QString());
    QString sourceFile() const { return m_sourceFile; }

signals:
    void mousePressed(Qt::MouseButton button, const QPoint &globalPos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QImage m_picture;
    QString m_sourceFile;
};

/// A picture stretched to the control's own size, width and height each by
/// its own factor (imgBak).
class StretchImage final : public QWidget {
    Q_OBJECT
public:
    explicit StretchImage(QWidget *parent = nullptr);

    QImage picture() const { return m_picture; }
    void setPicture(const QImage &picture);

signals:
    void mousePressed(Qt::MouseButton button, const QPoint &globalPos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QImage m_picture;
};
