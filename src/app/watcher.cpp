// SPDX-License-Identifier: MIT
// The clipboard watcher: one dispatch function for clipboard changes and
// tray clicks.
#include "app/capture.h"
#include "app/module1.h"
#include "platform/clipboard.h"
#include "ui/frmmain.h"

#include <QCoreApplication>
#include <QLabel>

qintptr frmMain::MainWndProc(quint32 message, quintptr, qintptr lParam) {
    if (message == WinMsg::TrayIcon && lParam == WinMsg::LButtonUp) {
        if (!isVisible()) {
            setWindowState(windowState() & ~Qt::WindowMinimized);
            show();
            raise();
            activateWindow();
        }
        return 0;
    }
    if (message != WinMsg::DrawClipboard || !menuDetectClpBd->isChecked())
        return 0;

    lTip->setText(QStringLiteral("正在从剪贴板复制数据..."));
    Clipboard &clipboard = m.platform.clipboard;
    // A source may mark its content as secret (password managers): keep none of it.
    if (!clipboard.isSecret()) {
        const QSet<int> offered = clipboard.formats();
        if (offered.contains(ClipFormat::RichText) || offered.contains(ClipFormat::Text))
            CaptureText(m, lstTxt, txtMain);
        if (offered.contains(ClipFormat::Bitmap) || offered.contains(ClipFormat::MetafilePicture) ||
            offered.contains(ClipFormat::Palette) || offered.contains(ClipFormat::EnhancedMetafile))
            CaptureImage(m, lstImg, imgMain, imgBak);
    }
    lTip->setText(QStringLiteral("就绪"));
    return 0;
}

void frmMain::menuDetectClpBd_Click() {
    menuDetectClpBd->setChecked(!menuDetectClpBd->isChecked());
}
