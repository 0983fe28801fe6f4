// SPDX-License-Identifier: MIT
#pragma once

#include <QPixmap>
#include <QWidget>

/// One toolbar picture (imgTool(i)): stretched to its size, a single-line
/// border while hovered.
class ToolButton final : public QWidget {
    Q_OBJECT
public:
    ToolButton(int index, const QPixmap &picture, QWidget *parent);

    int index() const { return m_index; }
    bool hasBorder() const { return m_border; }
    void setBorder(bool on);

signals:
    void clicked(int index);
    void mouseMoved(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_index;
    QPixmap m_picture;
    bool m_border = false;
    bool m_pressed = false;
};

/// The toolbar's background (picToolBar): tells when the mouse moves over it
/// rather than over a button.
class ToolBarArea final : public QWidget {
    Q_OBJECT
public:
    explicit ToolBarArea(QWidget *parent);

signals:
    void mouseMoved();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
};
