// SPDX-License-Identifier: MIT
#include "app/application.h"

#include "app/program.h"
#include "platform/programfolder.h"
#include "platform/system.h"

#include <QGuiApplication>

Application::Application(int &argc, char **argv)
    : m_access(chooseClipboardAccess())
    , m_app(argc, argv)
    , m_single(SingleInstance::defaultFolder(), SingleInstance::defaultName()) {
    QApplication::setApplicationName(QStringLiteral("orlo-clipboard"));
    QApplication::setApplicationVersion(QStringLiteral(ORLO_VERSION));
    // Task bars group the windows under the installed desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("orlo-clipboard"));
    // Hiding the window to the tray must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    translateQt(m_qtWords);

    // Two programs would share, and delete, each other's temp pictures.
    switch (m_single.start()) {
    case SingleInstance::Role::First:
        break;
    case SingleInstance::Role::Later:
        return;
    case SingleInstance::Role::Unreachable:
        qWarning("orlo-clipboard is already running but does not answer.");
        m_exitCode = 1;
        return;
    }

    allowLargePictures();
    m_clipboard = openClipboard(m_access);
    m_program = std::make_unique<Program>(Platform{*m_clipboard, m_dialogs, m_clock, m_launcher},
                                          m_settings, programFolder());
    Program &program = *m_program;
    m_dialogs.setParent(&program.window());
    quitOnTerminationSignals(&program);
    QObject::connect(&m_single, &SingleInstance::showRequested, &program, &Program::showWindow);
    program.start();
}

Application::~Application() = default;

int Application::exec() {
    return m_program ? QApplication::exec() : m_exitCode;
}
