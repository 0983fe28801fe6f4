// SPDX-License-Identifier: MIT
#pragma once

#include "platform/result.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>

/// Writes the texts first..last of `texts` into one new HTML data file in
/// `folder`, named yyyymmddhhmmss.htm after `now` (_2, _3, … when the name is
/// taken: a data file never replaces another). Code page 936 with CR LF line
/// ends; markup characters are escaped and characters outside the code page
/// written as numeric references. Indices without a text are left out, so
/// first > last gives a page without entry lines. The file appears whole or
/// not at all; the result names it. `beforeCommit` hears its name before it
/// appears.
Result saveTextFile(const QList<QString> &texts, int first, int last, const QString &folder,
                    const QDateTime &now,
                    const std::function<void(const QString &)> &beforeCommit = {});
