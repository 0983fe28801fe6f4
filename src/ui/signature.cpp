// SPDX-License-Identifier: MIT
#include "ui/signature.h"

QString RemoveSignature(const QString &text, const QString &) {
    return text;
}
