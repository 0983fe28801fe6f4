// SPDX-License-Identifier: MIT
#include "platform/codepage936.h"

#include <QStringEncoder>
#include <algorithm>
#include <optional>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

/// The toolkit's converter where it has one (a Qt built with ICU); on
/// Windows without it, the system's own.
struct CodePage936::Converter {
    std::optional<QStringEncoder> encoder;
    Converter() {
        if (!encoder.emplace("GBK").isValid())
            encoder.reset();
    }
};

CodePage936::CodePage936()
    : m_converter(std::make_unique<Converter>()) {}

CodePage936::~CodePage936() = default;

bool CodePage936::isValid() const {
#ifdef Q_OS_WIN
    return true;
#else
    return m_converter->encoder.has_value();
#endif
}

#ifdef Q_OS_WIN
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
#endif

void CodePage936::append(QStringView text, QByteArray &out) {
    if (m_converter->encoder) {
        QStringEncoder &encoder = *m_converter->encoder;
        const qsizetype start = out.size();
        out.resize(start + encoder.requiredSpace(text.size()));
        const char *end = encoder.appendToBuffer(out.data() + start, text);
        out.resize(end - out.constData());
        return;
    }
#ifdef Q_OS_WIN
    appendSystem(text, out);
#endif
}

bool CodePage936::appendExact(QStringView text, QByteArray &out, qsizetype questionMarks) {
    const qsizetype start = out.size();
    if (!m_converter->encoder) {
#ifdef Q_OS_WIN
        // Windows says itself when a character had no bytes of its own.
        if (!appendSystem(text, out))
            return true;
#endif
        out.resize(start);
        return false;
    }
    // The toolkit writes '?' for what the code page lacks, mostly without
    // raising its error flag: more '?' out than in gives it away.
    if (questionMarks < 0)
        questionMarks = std::count(text.cbegin(), text.cend(), u'?');
    append(text, out);
    if (!m_converter->encoder->hasError() &&
        std::count(out.cbegin() + start, out.cend(), '?') == questionMarks)
        return true;
    out.resize(start);
    // A fresh converter: resetState() leaves the error flag raised, and one
    // assigned over the old one raises it no more.
    m_converter = std::make_unique<Converter>();
    return false;
}
