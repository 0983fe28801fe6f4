// SPDX-License-Identifier: MIT
// What the program and the process that reads the words in its pictures say
// to each other, through that process's standard input and output:
//
//   program → reader:  quint32 width, quint32 height, then width × height
//                      bytes of grey, row after row
//   reader → program:  quint32 length, then that many bytes of UTF-8
//
// in the machine's own byte order, one picture at a time, until the program
// closes the reader's input.
#pragma once

#include <QtGlobal>

namespace ocr {

/// How the reader ends when it cannot read at all.
enum Exit : int {
    Done = 0,
    NoEngine = 3, ///< the engine's library is not installed
    NoModels = 4, ///< neither the Chinese nor the English model is
};

/// Words past this are not the engine's.
inline constexpr quint32 MaxWords = quint32(16) << 20;

} // namespace ocr
