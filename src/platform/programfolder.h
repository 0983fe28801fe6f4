// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

/// The folder the program keeps its data beneath: the executable's own
/// folder when it can be written to (portable use, the build tree, Windows),
/// otherwise the per-user application data folder. Paths use "/".
QString resolveProgramFolder(const QString &executableFolder);

/// resolveProgramFolder() for the running executable.
QString programFolder();
