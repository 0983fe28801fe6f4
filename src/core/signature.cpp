// SPDX-License-Identifier: MIT
#include "core/signature.h"

#include <cstring>

namespace {

/// True when [at, at + length) begins or ends between the two halves of a
/// surrogate pair. Only a signature with a lone surrogate at one of its ends
/// can match there.
bool splitsPair(QStringView text, qsizetype at, qsizetype length) {
    const qsizetype end = at + length;
    return (at > 0 && text[at].isLowSurrogate() && text[at - 1].isHighSurrogate()) ||
           (end < text.size() && text[end - 1].isHighSurrogate() && text[end].isLowSurrogate());
}

/// The first occurrence at or after `from` that keeps surrogate pairs whole.
qsizetype findWhole(QStringView text, QStringView signature, qsizetype from) {
    qsizetype at = text.indexOf(signature, from, Qt::CaseInsensitive);
    while (at >= 0 && splitsPair(text, at, signature.size()))
        at = text.indexOf(signature, at + 1, Qt::CaseInsensitive);
    return at;
}

} // namespace

QString removeSignature(QString text, const QString &signature) {
    const qsizetype length = signature.size();
    if (length == 0)
        return text;
    qsizetype at = findWhole(text, signature, 0);
    if (at < 0)
        return text;

    // The kept pieces move left over the removed ones. Everything at or after
    // the occurrence just found is still the original text, so the scan reads
    // what the user had, not what has already been moved.
    QChar *data = text.data();
    qsizetype write = at;
    qsizetype read = at + length;
    for (;;) {
        at = findWhole(QStringView(data, text.size()), signature, read);
        const qsizetype end = at < 0 ? text.size() : at;
        std::memmove(data + write, data + read, size_t(end - read) * sizeof(QChar));
        write += end - read;
        if (at < 0)
            break;
        read = at + length;
    }
    text.truncate(write);
    return text;
}
