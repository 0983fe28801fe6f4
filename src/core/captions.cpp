// SPDX-License-Identifier: MIT
#include "core/captions.h"

#include <limits>

namespace {

QString numbered(const char16_t *word, int n) {
    return QString::fromUtf16(word) + QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

QString TextCaption(int n) {
    return numbered(u"文本", n);
}

QString ImageCaption(int n) {
    return numbered(u"图像", n);
}

qint16 Increment(qint16 number) {
    return number < std::numeric_limits<qint16>::max() ? qint16(number + 1) : number;
}
