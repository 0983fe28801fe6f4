// SPDX-License-Identifier: MIT
// The clipboard watcher: one dispatch function for clipboard changes and
// tray clicks.
#include "app/capture.h"
#include "app/module1.h"
#include "platform/clipboard.h"
#include "ui/frmmain.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>

namespace {

bool offersAny(const QSet<int> &offered, std::initializer_list<int> formats) {
    for (int format : formats) {
        if (offered.contains(format))
            return true;
    }
    return false;
}

} // namespace

qintptr frmMain::MainWndProc(quint32 message, quintptr, qintptr lParam) {
    if (message == WinMsg::TrayIcon && lParam == WinMsg::LButtonUp) {
        if (!isVisible()) {
            setWindowState(windowState() &
                           ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
            show();
            raise();
            activateWindow();
        }
        return 0;
    }
    // The tick is the only record of whether monitoring is on.
    if (message != WinMsg::DrawClipboard || !menuDetectClpBd->isChecked())
        return 0;

    lTip->setText(QStringLiteral("正在从剪贴板复制数据..."));
    Clipboard &clipboard = m.platform.clipboard;
    const QSet<int> offered = clipboard.formats();
    // A source may mark its content as a secret (password managers): keep none of it.
    const bool keep = !clipboard.isSecret();
    if (keep && offersAny(offered, {ClipFormat::RichText, ClipFormat::Text}))
        CaptureText(m, lstTxt, txtMain);
    if (keep && offersAny(offered, {ClipFormat::Bitmap, ClipFormat::MetafilePicture,
                                    ClipFormat::Palette, ClipFormat::EnhancedMetafile}))
        CaptureImage(m, lstImg, imgMain, imgBak);
    if (offersAny(offered, {ClipFormat::FileList, ClipFormat::DdeLink}))
        QCoreApplication::processEvents();
    lTip->setText(QStringLiteral("就绪"));
    return 0;
}

void frmMain::menuDetectClpBd_Click() {
    menuDetectClpBd->setChecked(!menuDetectClpBd->isChecked());
}
