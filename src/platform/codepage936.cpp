// SPDX-License-Identifier: MIT
// Code page 936 as the toolkit converts it: a Qt built with ICU knows GBK.
#include "platform/codepage936.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <optional>

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
    return m_converter->encoder.has_value();
}

void CodePage936::append(QStringView text, QByteArray &out) {
    if (!m_converter->encoder)
        return;
    QStringEncoder &encoder = *m_converter->encoder;
    const qsizetype start = out.size();
    out.resize(start + encoder.requiredSpace(text.size()));
    const char *end = encoder.appendToBuffer(out.data() + start, text);
    out.resize(end - out.constData());
}

bool CodePage936::appendExact(QStringView text, QByteArray &out, qsizetype questionMarks) {
    if (!m_converter->encoder)
        return false;
    // The toolkit writes '?' for what the code page lacks, mostly without
    // raising its error flag: more '?' out than in gives it away.
    const qsizetype start = out.size();
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

bool CodePage936::decode(QByteArrayView bytes, QString &text) {
    QStringDecoder decoder("GBK", QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return false;
    text = decoder.decode(bytes);
    return !decoder.hasError() && !text.contains(QChar::ReplacementCharacter);
}
