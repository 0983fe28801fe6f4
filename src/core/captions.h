// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QtGlobal>

/// Entries of one kind taken before the overflow policy applies.
inline constexpr int EntryBound = 100;

/// "文本00", "文本07", "文本100".
QString TextCaption(int n);
/// "图像00", "图像07", "图像100": also the temp picture file's base name.
QString ImageCaption(int n);
/// Entry numbers are 16-bit: adds one unless the number is at 32767.
qint16 Increment(qint16 number);
