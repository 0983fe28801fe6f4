// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

/// The folder the program keeps its data beneath. An installed program (one
/// with its shared files beside it, as the install lays them out) keeps it in
/// the per-user application data folder. Otherwise the executable's own
/// folder is used when it can be written to (portable use, the build tree,
/// an unpacked Windows folder), and the per-user folder when it cannot.
/// Paths use "/".
QString resolveProgramFolder(const QString &executableFolder);

/// resolveProgramFolder() for the running executable.
QString programFolder();

/// Where the install puts the program's shared files (the user manual)
/// relative to `executableFolder` (empty when that is); the folder need not
/// exist.
QString installedDataFolder(const QString &executableFolder);
