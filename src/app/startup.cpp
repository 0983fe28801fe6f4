// SPDX-License-Identifier: MIT
// Start-up and shutdown of the main window.
#include "app/module1.h"
#include "platform/clipboard.h"
#include "ui/frmmain.h"
#include "ui/picturebox.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QSessionManager>

void frmMain::Form_Load() {
    m.TextCount = 0;
    m.ImageCount = 0;
    // The stretched picture lies over the picture box, 50 twips up and left,
    // as wide and high as the box.
    imgBak->move(tw(-50), tw(-50));
    imgBak->resize(imgMain->width(), imgMain->height());
    m.ReadSettings();
    m.ProvideDataFolders();
    AddTrayIcon();
    connect(&m.platform.clipboard, &Clipboard::changed, this,
            [this] { MainWndProc(WinMsg::DrawClipboard, 0, 0); });
    if (const QString error = m.platform.clipboard.listenError(); !error.isEmpty())
        m.ShowSystemError(error);

    // The end of the desktop session ends the program as closing it does.
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
#if QT_CONFIG(sessionmanager)
        connect(app, &QGuiApplication::commitDataRequest, this, &frmMain::Form_Unload);
#endif
        connect(app, &QCoreApplication::aboutToQuit, this, &frmMain::Form_Unload);
    }

    // Without a notification area there would be no way back to a hidden window.
    if (hasTray())
        hide();
    else
        show();
}

void frmMain::Form_Unload() {
    // Closing the window, the exit command, the session's end and the quit
    // that follows each of them all lead here; the first one counts.
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
