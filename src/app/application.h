// SPDX-License-Identifier: MIT
#pragma once

#include "app/singleinstance.h"
#include "core/settings.h"
#include "platform/clipboard.h"
#include "platform/clipboardaccess.h"
#include "platform/clock.h"
#include "platform/launcher.h"
#include "platform/qtdialogs.h"
#include "platform/textrecognizer.h"

#include <QApplication>
#include <QTranslator>
#include <memory>

class Program;

/// The program as started from the desktop: the application object, one
/// running program per user, on the real clipboard, settings and folders.
class Application {
public:
    Application(int &argc, char **argv);
    ~Application();

    /// The program, when this start runs it; null when another one already
    /// runs (it was asked to show its window).
    Program *program() { return m_program.get(); }
    /// Runs until the program ends; the exit code.
    int exec();

private:
    /// Chosen first: it may decide the window system the application uses.
    ClipboardAccess m_access;
    ApplicationArguments m_arguments;
    QApplication m_app;
    QTranslator m_qtWords;
    std::unique_ptr<SingleInstance> m_single;
    int m_exitCode = 0;
    std::unique_ptr<Clipboard> m_clipboard;
    QtDialogs m_dialogs;
    SystemClock m_clock;
    DesktopLauncher m_launcher;
    SettingsStore m_settings;
    std::unique_ptr<TextRecognizer> m_recognizer =
        makeTextRecognizer(QCoreApplication::applicationFilePath());
    std::unique_ptr<TextRecognizer> m_savedRecognizer =
        makeTextRecognizer(QCoreApplication::applicationFilePath());
    std::unique_ptr<Program> m_program;
};
