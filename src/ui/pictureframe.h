// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <QFrame>
#include <QImage>
#include <QPixmap>

class ScaledPicture;

/// A picture drawn at its natural size from the top-left corner of a sunken
/// frame, cut off at the edges (imgMain). Over it lies the same picture
/// stretched (imgBak), hidden unless shown: 50 twips up and left of the
/// inner corner, as wide and high as the whole box, cut off at the border.
class PictureFrame final : public QFrame {
    Q_OBJECT
public:
    explicit PictureFrame(QWidget *parent = nullptr);

    QImage picture() const { return m_picture; }
    /// Shows a picture; `sourceFile` names the file it was read from or
    /// written to, when there is one.
    void setPicture(const QImage &picture, const QString &sourceFile = QString());
    /// True when reading `file` would give the picture shown: it came from
    /// that file or went into it without loss, and the file has not changed
    /// since.
    bool showsFileAsItIs(const QString &file) const;

    /// The area inside the border.
    QWidget *clientArea() const { return m_client; }
    /// The stretched picture over it.
    ScaledPicture *stretched() const { return m_stretched; }

signals:
    void mousePressed(Qt::MouseButton button, const QPoint &globalPos);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    struct FileStamp {
        bool exists = false;
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const FileStamp &) const = default;
    };
    static FileStamp stampOf(const QString &file);

    QWidget *m_client;
    ScaledPicture *m_stretched;
    QImage m_picture;
    QString m_sourceFile;
    FileStamp m_sourceStamp;
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
    QPixmap m_scaled;
};
