// SPDX-License-Identifier: MIT
// Browsing and editing the text entries; copying back to the clipboard.
#include "app/module1.h"
#include "platform/clipboard.h"
#include "ui/frmmain.h"
#include "ui/picturebox.h"
#include "ui/textbox.h"

#include <QGroupBox>
#include <QListWidget>

void frmMain::lstTxt_Click() {
    const int i = lstTxt->currentRow();
    if (i >= 0 && i < m.TextPages.size())
        txtMain->setText(m.TextPages.at(i));
    CurTextPage = qint16(i);
}

void frmMain::txtMain_Change() {
    // Only entries that exist take edits: the 101 slots, and those that
    // failed automatic saves added past them.
    if (CurTextPage >= 0 && CurTextPage < m.TextPages.size())
        txtMain->applyLastEdit(m.TextPages[CurTextPage]);
}

void frmMain::menuCopyThis_Click() {
    // The view shown is the frame not hidden, also while the window itself is.
    if (fmImg->isVisibleTo(this)) {
        if (!imgMain->picture().isNull())
            m.platform.clipboard.setImage(imgMain->picture());
    } else {
        m.platform.clipboard.setText(txtMain->text());
    }
}

void frmMain::menuClearCB_Click() {
    m.platform.clipboard.clear();
}
