// SPDX-License-Identifier: MIT
#pragma once

#include "ui/entrypane.h"

#include <QImage>

class PictureEntries;
class PictureFrame;
class QMenu;
class ScaledPicture;

/// The picture view (fmImg): the list of picture entries (lstImg) and the
/// current picture (imgMain), at its natural size or stretched over the
/// whole area (imgBak). A right press on the picture opens its menu.
class PictureView final : public EntryPane {
    Q_OBJECT
public:
    PictureView(PictureEntries &entries, QMenu *menuPopImg, QWidget *parent = nullptr);

    /// The picture shown, or about to be shown.
    QImage shownPicture();

public slots:
    /// Show-all mode: the stretched picture, showing the current one.
    void showScaled();
    /// Natural-size mode.
    void showNaturalSize();

protected:
    /// A file that cannot be read leaves the picture shown before.
    void present(int row) override;

private slots:
    void openMenu(Qt::MouseButton button, const QPoint &globalPos);

private:
    PictureFrame *const m_frame;
    /// The picture stretched over the whole area, for the show-all mode.
    ScaledPicture *const m_scaled;
    PictureEntries &m_entries;
    QMenu *m_menu;
};
