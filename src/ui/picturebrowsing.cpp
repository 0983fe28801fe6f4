// SPDX-License-Identifier: MIT
// Browsing the picture entries and the two display modes.
#include "app/module1.h"
#include "platform/clipboard.h"
#include "ui/frmmain.h"
#include "ui/picturebox.h"

#include <QImageReader>
#include <QListWidget>
#include <QMenu>

void frmMain::lstImg_Click() {
    if (QListWidgetItem *item = lstImg->currentItem()) {
        const QString file = m.tempImagePath(item->text());
        // A capture shows its picture as it writes the file, then selects the
        // entry: reading the file back would give the same picture again.
        if (!imgMain->showsFileAsItIs(file)) {
            QImageReader reader(file);
            const QImage picture = reader.read();
            if (!picture.isNull())
                imgMain->setPicture(picture, file);
        }
    }
    imgBak->setPicture(imgMain->picture());
}

void frmMain::menuShowA_Click() {
    menuShowA->setChecked(true);
    menuShowB->setChecked(false);
    imgBak->setVisible(true);
    imgBak->setPicture(imgMain->picture());
}

void frmMain::menuShowB_Click() {
    menuShowA->setChecked(false);
    menuShowB->setChecked(true);
    imgBak->setVisible(false);
}

void frmMain::menuShowAll_Click() {
    menuShowAll->setChecked(true);
    menuShowSize->setChecked(false);
    menuShowA_Click();
}

void frmMain::menuShowSize_Click() {
    menuShowAll->setChecked(false);
    menuShowSize->setChecked(true);
    menuShowB_Click();
}

void frmMain::menuImgCopy_Click() {
    if (!imgMain->picture().isNull())
        m.platform.clipboard.setImage(imgMain->picture());
}

void frmMain::imgMain_MouseDown(Qt::MouseButton button, const QPoint &globalPos) {
    if (button == Qt::RightButton)
        menuPopImg->popup(globalPos);
}
