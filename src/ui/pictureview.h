// SPDX-License-Identifier: MIT
#pragma once

#include <QGroupBox>
#include <QImage>

class PictureEntries;
class PictureFrame;
class QListView;
class QMenu;
class ScaledPicture;

/// The picture view (fmImg): the list of picture entries (lstImg) and the
/// current picture (imgMain), at its natural size or stretched over the
/// whole area (imgBak). A right press on the picture opens its menu.
///
/// Like the text view, it takes the current entry's picture only while it
/// can be seen.
class PictureView final : public QGroupBox {
    Q_OBJECT
public:
    PictureView(PictureEntries &entries, QMenu *menuPopImg, QWidget *parent = nullptr);

    QListView *lstImg;
    PictureFrame *imgMain;
    /// The picture stretched over the whole area, for the show-all mode.
    ScaledPicture *scaledPicture;

    /// The picture shown, or about to be shown.
    QImage shownPicture();

public slots:
    /// Show-all mode: the stretched picture, showing the current one.
    void menuShowA_Click();
    /// Natural-size mode.
    void menuShowB_Click();

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    /// An entry became current: its picture is to be shown.
    void showEntry(int row);
    void openMenu(Qt::MouseButton button, const QPoint &globalPos);

private:
    /// Shows the current entry's picture, if it waits for that. A file that
    /// cannot be read leaves the picture shown before.
    void showCurrent();

    PictureEntries &m_entries;
    QMenu *m_menu;
    bool m_waiting = false;
};
