// SPDX-License-Identifier: MIT
#include "store/imagefiles.h"

#include "app/module1.h"

ImageSaveResult CopyImageFiles(Module1 &, int first, int last, const QString &) {
    ImageSaveResult result;
    for (int n = first; n <= last; ++n)
        result.failed.append(n);
    result.reason = QStringLiteral("尚未实现");
    return result;
}

ImageSaveResult SaveImageFiles(Module1 &m, int first, int last, const QString &folder) {
    ImageSaveResult result = CopyImageFiles(m, first, last, folder);
    for (int i = 0; i < result.failed.size(); ++i)
        m.ShowSystemError(QString());
    return result;
}
