// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>

class QFileDevice;
class QObject;
class QSettings;

// What differs between Windows and the other systems lives behind these
// functions (system_unix.cpp, system_win.cpp), so the rest of the program is
// the same code everywhere.

/// Lets only the user who runs the program read and write the file or enter
/// the folder. On Windows the per-user folders are private already: nothing
/// is changed there.
void makeOwnerOnly(QFileDevice &file);
bool makeFolderOwnerOnly(const QString &path);

/// The per-user settings store of application `app`: the registry key the
/// first version of the program used on Windows, an INI file under the
/// user's configuration folder elsewhere.
std::unique_ptr<QSettings> openUserSettings(const QString &app);

/// The name of the local server one user's programs meet at: a socket file
/// in `folder` on Unix, a pipe shared by the whole machine on Windows (hence
/// the user's name in it).
QString localServerAddress(const QString &folder, const QString &name);
QString perUserName(const QString &name);
/// The user's folder for files that live as long as a program runs (the
/// single-program lock): the runtime folder on Unix, the local application
/// data folder on Windows.
QString runtimeFolder();

/// The end of the session, a closed terminal and Ctrl+C quit the event loop
/// the orderly way, so nothing private is left behind. Windows ends the
/// session through the application's own shutdown.
void quitOnTerminationSignals(QObject *context);

/// Hands freed large buffers (pictures) back to the system at once.
void returnLargeBuffersToSystem();
/// What main returns once the program has let go of everything. Windows:
/// the process ends here, without unloading its libraries: MinGW's C++
/// runtime can wait forever while unloading (a lock of winpthreads' thread
/// keys that ended threads leave taken), and the program would stay on with
/// no window, its data folder still locked.
int endProcess(int code);
/// Hands back what the heap holds free, after a large piece of work.
void trimMemory();
/// Names the calling thread ("orlo-sync") for debuggers and `top -H`; at
/// most 15 characters.
void nameThisThread(const char *name);
