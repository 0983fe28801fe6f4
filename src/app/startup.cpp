// SPDX-License-Identifier: MIT
// Start-up and shutdown of the main window.
#include "app/module1.h"
#include "platform/clipboard.h"
#include "ui/frmmain.h"
#include "ui/picturebox.h"

#include <QApplication>
#include <QCloseEvent>

void frmMain::Form_Load() {
    m.TextCount = 0;
    m.ImageCount = 0;
    // The stretched picture lies over the picture box, 50 twips up and left,
    // as wide and high as the box with its border.
    imgBak->move(tw(-50), tw(-50));
    imgBak->resize(imgMain->width(), imgMain->height());
    m.ReadSettings();
    m.ProvideDataFolders();
    AddTrayIcon();
    connect(&m.platform.clipboard, &Clipboard::changed, this,
            [this] { MainWndProc(WinMsg::DrawClipboard, 0, 0); });
    if (const QString error = m.platform.clipboard.listenError(); !error.isEmpty())
        m.ShowSystemError(error);
    // Without a notification area there would be no way back to a hidden window.
    if (hasTray())
        hide();
    else
        show();
}

void frmMain::Form_Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    menuClearData_Click();
    RemoveTrayIcon();
    disconnect(&m.platform.clipboard, nullptr, this, nullptr);
    QCoreApplication::quit();
}

void frmMain::menuExit_Click() {
    Form_Unload();
    hide();
}

void frmMain::closeEvent(QCloseEvent *event) {
    Form_Unload();
    event->accept();
}
