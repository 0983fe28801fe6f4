// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class Module1;

/// What a writer tells its caller.
struct SaveResult {
    bool ok = false;
    /// Why not, in the user's words; empty on success.
    QString reason;
    /// The file written (text data files).
    QString file;
};

/// Writes text entries first..last into one new HTML data file in `folder`,
/// named yyyymmddhhmmss.htm after the local date and time (_2, _3, … when the
/// name is taken: a data file never replaces another). Code page 936 with
/// CR LF line ends; markup characters are escaped and characters outside the
/// code page written as numeric references. Indices without an entry are
/// left out. The file appears whole or not at all.
SaveResult SaveTextFile(const Module1 &m, int first, int last, const QString &folder);
