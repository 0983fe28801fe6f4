// SPDX-License-Identifier: MIT
// A build without an OCR engine: pictures are not searched.
#include "platform/textrecognizer.h"

std::unique_ptr<TextRecognizer> makeTextRecognizer() {
    return nullptr;
}
