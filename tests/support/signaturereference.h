// SPDX-License-Identifier: MIT
// The removal rule step by step, the slow way: find from the search position,
// delete in place, search again from where the occurrence began.
#pragma once

#include <QString>

inline QString referenceRemoval(QString text, const QString &signature) {
    if (signature.isEmpty())
        return text;
    qsizetype position = 0;
    while ((position = text.indexOf(signature, position, Qt::CaseInsensitive)) >= 0)
        text.remove(position, signature.size());
    return text;
}
