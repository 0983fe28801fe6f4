// SPDX-License-Identifier: MIT
// How much one copy and all the entries may hold. A copy past these is not
// taken (and the user is told), whichever back end brought it: they bound
// the memory a copy can cost and what a journal left behind can make the
// next start read.
#pragma once

#include <QtGlobal>

namespace limits {

/// Characters of one text entry: 64 M, 128 MB in memory.
inline constexpr qsizetype TextLength = qsizetype(64) << 20;
/// Characters of all text entries together: 1 G, 2 GB in memory.
inline constexpr qint64 AllTexts = qint64(1) << 30;
/// Bytes of a text as another program hands it over: UTF-8 takes up to
/// three bytes for each character of TextLength.
inline constexpr qint64 TextTransfer = 3 * qint64(TextLength);
/// Pixels of one picture: 64 M (8192 × 8192), a temp file of 256 MB.
inline constexpr qint64 PicturePixels = qint64(64) << 20;
/// Bytes of a picture as another program hands it over.
inline constexpr qint64 PictureTransfer = qint64(512) << 20;

} // namespace limits
