// SPDX-License-Identifier: MIT
#include "app/module1.h"
#include "app/singleinstance.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/launcher.h"
#include "platform/programfolder.h"
#include "platform/qtclipboard.h"
#include "platform/system.h"
#include "settings/settingsstore.h"
#include "ui/frmmain.h"
#include "ui/textbox.h"

#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>

namespace {

/// Test aid, off unless ORLO_TEST_REPORT names a file: the end-to-end tests
/// watch the program from outside through it. Every new list entry and every
/// handled clipboard change is appended to the file as one JSON line.
void reportForTests(frmMain &form) {
    const QString path = qEnvironmentVariable("ORLO_TEST_REPORT");
    if (path.isEmpty())
        return;
    auto append = [path](const QJsonObject &line) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Append))
            file.write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');
    };
    for (QListWidget *list : {form.lstTxt, form.lstImg}) {
        QObject::connect(list->model(), &QAbstractItemModel::rowsInserted, &form,
                         [&form, list, append](const QModelIndex &, int first, int last) {
                             for (int i = first; i <= last; ++i) {
                                 QJsonObject line{{QStringLiteral("entry"), list->item(i)->text()}};
                                 if (list == form.lstTxt)
                                     line.insert(QStringLiteral("text"), form.m.textPage(i));
                                 append(line);
                             }
                         });
    }
    // Connected after the window's own listener: runs once a change was handled.
    QObject::connect(&form.m.platform.clipboard, &Clipboard::changed, &form, [&form, append] {
        append({{QStringLiteral("change"), true},
                {QStringLiteral("shown"), form.txtMain->toPlainText()}});
    });
}

} // namespace

int main(int argc, char *argv[]) {
    returnLargeBuffersToSystem();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orlo-clipboard"));
    QApplication::setApplicationVersion(QStringLiteral(ORLO_VERSION));
    // Task bars group the windows under the installed desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("orlo-clipboard"));
    // Hiding the window to the tray must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);

    // Two programs would share, and delete, each other's temp pictures.
    SingleInstance single(SingleInstance::defaultFolder(), SingleInstance::defaultName());
    switch (single.start()) {
    case SingleInstance::Role::First:
        break;
    case SingleInstance::Role::Later:
        return 0;
    case SingleInstance::Role::Unreachable:
        qWarning("orlo-clipboard is already running but does not answer.");
        return 1;
    }

    QtClipboard clipboard;
    QtDialogs dialogs;
    SystemClock clock;
    DesktopLauncher launcher;
    SettingsStore settings;
    Module1 m({clipboard, dialogs, clock, launcher}, settings, programFolder());

    frmMain form(m);
    dialogs.setParent(&form);
    quitOnTerminationSignals(&form);
    form.Form_Load();
    reportForTests(form);

    // A later start brings the window up as a click on the icon does, also
    // when it waits minimised on the taskbar.
    QObject::connect(&single, &SingleInstance::showRequested, &form, [&form] {
        if (form.unloaded())
            return;
        if (form.isVisible() && form.isMinimized())
            form.showNormal();
        form.MainWndProc(WinMsg::TrayIcon, 0, WinMsg::LButtonUp);
        form.raise();
        form.activateWindow();
    });
    return app.exec();
}
