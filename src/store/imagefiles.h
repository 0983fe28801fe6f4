// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>

class Module1;

/// Which picture entries a copy run saved.
struct ImageSaveResult {
    QList<int> saved;
    QList<int> failed;
    /// Why the first failure failed, in the user's words.
    QString reason;
    bool ok() const { return failed.isEmpty(); }
};

/// Copies the temp picture files of entries first..last into `folder` under
/// time-stamped names. Shows nothing.
ImageSaveResult CopyImageFiles(Module1 &m, int first, int last, const QString &folder);

/// CopyImageFiles(), then one "系统错误!" box per entry that failed.
ImageSaveResult SaveImageFiles(Module1 &m, int first, int last, const QString &folder);
