// SPDX-License-Identifier: MIT
// Windows has no OCR engine for the program: pictures are not searched.
#include "platform/textrecognizer.h"

std::unique_ptr<TextRecognizer> makeTextRecognizer(const QString &) {
    return nullptr;
}

int serveTextRecognition() {
    return 1;
}
