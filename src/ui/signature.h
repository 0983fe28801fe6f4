// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

/// Removes every occurrence of `signature` from `text`, letters matching
/// regardless of case, scanning once from left to right.
QString RemoveSignature(const QString &text, const QString &signature);
