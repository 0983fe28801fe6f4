// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <memory>

/// Text in code page 936 (GBK), the character set of the data files, as the
/// toolkit converts it (a Qt built with ICU) or, where the toolkit cannot,
/// as Windows does. The same bytes either way. Stateless between calls.
class CodePage936 {
public:
    CodePage936();
    ~CodePage936();
    CodePage936(const CodePage936 &) = delete;
    CodePage936 &operator=(const CodePage936 &) = delete;

    /// False when this system has no converter for the code page.
    bool isValid() const;
    /// Appends the text's bytes; only for text known to be in the code page.
    void append(QStringView text, QByteArray &out);
    /// Appends the text's bytes when every character of it is in the code
    /// page, and returns true; otherwise appends nothing and returns false.
    /// `questionMarks` is how many '?' the text holds, when the caller
    /// counted them on its way (-1: not counted).
    bool appendExact(QStringView text, QByteArray &out, qsizetype questionMarks = -1);
    /// The text of `bytes`; false when they are not code page 936.
    static bool decode(QByteArrayView bytes, QString &text);

private:
    struct Converter;
    std::unique_ptr<Converter> m_converter;
};
