// SPDX-License-Identifier: MIT
#pragma once

#include <QGroupBox>

class PictureFrame;
class PictureEntries;
class QImage;
class QListView;
class QMenu;
class ScaledPicture;

/// The picture view (fmImg): the list of picture entries (lstImg) and the
/// current picture (imgMain), at its natural size or stretched over the
/// whole area (imgBak). A right press on the picture opens its menu.
class PictureView final : public QGroupBox {
    Q_OBJECT
public:
    PictureView(PictureEntries &entries, QMenu *menuPopImg, QWidget *parent = nullptr);

    QListView *lstImg;
    PictureFrame *imgMain;
    ScaledPicture *imgBak;

public slots:
    /// Show-all mode: the stretched picture, showing the current one.
    void menuShowA_Click();
    /// Natural-size mode.
    void menuShowB_Click();
    /// A captured picture, just written to `file`: shown without reading it back.
    void showCaptured(const QString &file, const QImage &picture);

private slots:
    /// An entry became current: load its temp picture file. A file that
    /// cannot be read leaves the picture shown before.
    void lstImg_Click(int row);
    void imgMain_MouseDown(Qt::MouseButton button, const QPoint &globalPos);

private:
    PictureEntries &m_entries;
    QMenu *m_menu;
};
