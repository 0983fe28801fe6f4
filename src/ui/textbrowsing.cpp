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
    m.setTextPage(CurTextPage, txtMain->text());
}

void frmMain::menuCopyThis_Click() {
    if (fmImg->isVisible())
        m.platform.clipboard.setImage(imgMain->picture());
    else
        m.platform.clipboard.setText(txtMain->text());
}

void frmMain::menuClearCB_Click() {
    m.platform.clipboard.clear();
}
