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
/// named after the local date and time.
SaveResult SaveTextFile(const Module1 &m, int first, int last, const QString &folder);
