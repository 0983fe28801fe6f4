// SPDX-License-Identifier: MIT
#include "app/application.h"

#include "app/program.h"
#include "core/datafolders.h"
#include "core/messages.h"
#include "platform/files.h"
#include "platform/globalshortcut.h"
#include "platform/programfolder.h"
#include "platform/system.h"
#include "platform/windowsystem.h"

#include <QDir>
#include <QGuiApplication>

Application::Application(int &argc, char **argv)
    : m_access(chooseClipboardAccess())
    , m_arguments(argc, argv, m_access.platform)
    , m_app(m_arguments.count(), m_arguments.values()) {
    QApplication::setApplicationName(QStringLiteral("orlo-clipboard"));
    QApplication::setApplicationVersion(QStringLiteral(ORLO_VERSION));
    // Task bars group the windows under the installed desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("orlo-clipboard"));
    // Hiding the window to the tray must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    translateQt(m_qtWords);

    // Two programs on one data folder would share, and delete, each other's
    // pictures and journal: the folder's lock decides, before anything in it
    // is touched.
    const QString folder = programFolder();
    const DataFolders folders(folder);
    const auto refuse = [this](const Result &why) {
        const UserMessage message = messageFor(why);
        m_dialogs.message(message.icon, message.text);
        m_exitCode = 1;
    };
    if (files::isLink(folders.temp())) {
        refuse({Reason::TempFolderIsLink, folders.temp(), {}});
        return;
    }
    QDir().mkpath(folders.temp());
    m_single = std::make_unique<SingleInstance>(folders.temp());
    // `--show`, as a desktop's own shortcut runs it: the window and its
    // search field, from this start or from the one that runs.
    const bool summon = QCoreApplication::arguments().contains(QStringLiteral("--show"));
    const SingleInstance::Role role = m_single->start(summon);
    if (role == SingleInstance::Role::Later)
        return;
    if (role == SingleInstance::Role::Unreachable) {
        refuse({Reason::DataFolderInUse, m_single->lockFile(), {}});
        return;
    }

    allowLargePictures();
    m_clipboard = openClipboard(m_access);
    TextRecognizer &recognizer = m_recognizer ? *m_recognizer : noTextRecognizer();
    TextRecognizer &saved = m_savedRecognizer ? *m_savedRecognizer : noTextRecognizer();
    m_program = std::make_unique<Program>(
        Platform{*m_clipboard, m_dialogs, m_clock, m_launcher, systemDisk(), recognizer, saved},
        m_settings, folder);
    Program &program = *m_program;
    m_dialogs.setParent(&program.window());
    quitOnTerminationSignals(&program);
    QObject::connect(m_single.get(), &SingleInstance::showRequested, &program,
                     [&program](const QString &token) {
                         useActivationToken(token);
                         program.showWindow();
                     });
    QObject::connect(m_single.get(), &SingleInstance::summonRequested, &program,
                     [&program](const QString &token) {
                         useActivationToken(token);
                         program.summon();
                     });
    program.useShortcut(makeGlobalShortcut());
    program.start(role == SingleInstance::Role::First);
    if (summon)
        program.summon();
}

Application::~Application() = default;

int Application::exec() {
    return m_program ? QApplication::exec() : m_exitCode;
}
