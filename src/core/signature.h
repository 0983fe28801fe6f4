// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

/// Removes every occurrence of `signature` from `text`, letters matching
/// regardless of case, in one scan from left to right.
///
/// After a removal the search goes on where the removed occurrence began, so
/// of overlapping occurrences only the left one goes ("aaa" less "aa" is
/// "a"), and text that meets across a removal point is not looked at again
/// ("xaabby" less "ab" is "xaby"). A match never cuts a surrogate pair in
/// two. `text` is compacted in place when nobody else shares it.
QString removeSignature(QString text, const QString &signature);
