// SPDX-License-Identifier: MIT
#include "app/module1.h"
#include "app/singleinstance.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/launcher.h"
#include "platform/programfolder.h"
#include "platform/qtclipboard.h"
#include "settings/settingsstore.h"
#include "ui/frmmain.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orlo-clipboard"));
    QApplication::setApplicationVersion(QStringLiteral(ORLO_VERSION));
    // Hiding the window to the tray must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance single(QStringLiteral("orlo-clipboard"));
    if (single.notifyRunning())
        return 0;
    single.listen();

    QtClipboard clipboard;
    QtDialogs dialogs;
    SystemClock clock;
    DesktopLauncher launcher;
    SettingsStore settings;
    Module1 m({clipboard, dialogs, clock, launcher}, settings, programFolder());

    frmMain form(m);
    dialogs.setParent(&form);
    QObject::connect(&single, &SingleInstance::showRequested, &form,
                     [&form] { form.MainWndProc(WinMsg::TrayIcon, 0, WinMsg::LButtonUp); });
    // The end of the desktop session closes the program like its window does.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &form, &frmMain::Form_Unload);
    form.Form_Load();
    return app.exec();
}
