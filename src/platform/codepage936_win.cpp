// SPDX-License-Identifier: MIT
// Code page 936 as Windows converts it: Qt for Windows is built without ICU.
#include "platform/codepage936.h"

#include <algorithm>
#include <windows.h>

struct CodePage936::Converter {};

CodePage936::CodePage936() = default;

CodePage936::~CodePage936() = default;

bool CodePage936::isValid() const {
    return true;
}

namespace {

/// Appends the bytes Windows gives for code page 936; whether a character
/// had none and became the default one.
bool appendSystem(QStringView text, QByteArray &out) {
    if (text.isEmpty())
        return false;
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    const int length = int(text.size());
    // Two bytes at most for each UTF-16 unit.
    const qsizetype start = out.size();
    out.resize(start + 2 * text.size());
    BOOL usedDefault = FALSE;
    const int written =
        ::WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, wide, length, out.data() + start,
                              2 * length, nullptr, &usedDefault);
    out.resize(start + std::max(written, 0));
    return usedDefault || written <= 0;
}

} // namespace

void CodePage936::append(QStringView text, QByteArray &out) {
    appendSystem(text, out);
}

bool CodePage936::appendExact(QStringView text, QByteArray &out, qsizetype) {
    // Windows says itself when a character had no bytes of its own.
    const qsizetype start = out.size();
    if (!appendSystem(text, out))
        return true;
    out.resize(start);
    return false;
}

bool CodePage936::decode(QByteArrayView bytes, QString &text) {
    text.clear();
    if (bytes.isEmpty())
        return true;
    const int length = int(bytes.size());
    text.resize(length); // never more UTF-16 units than bytes
    const int written = ::MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes.data(), length,
                                              reinterpret_cast<wchar_t *>(text.data()), length);
    text.resize(std::max(written, 0));
    return written > 0;
}
