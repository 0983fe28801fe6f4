// SPDX-License-Identifier: MIT
#include "store/textfile.h"

#include "app/module1.h"

SaveResult SaveTextFile(const Module1 &, int, int, const QString &) {
    return {false, QStringLiteral("尚未实现"), {}};
}
