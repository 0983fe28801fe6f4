// SPDX-License-Identifier: MIT
#include "platform/textrecognizer.h"

namespace {

class NoRecognizer final : public TextRecognizer {
public:
    bool available() const override { return false; }
    QString read(QImage) override { return {}; }
    void release() override {}
};

} // namespace

TextRecognizer &noTextRecognizer() {
    static NoRecognizer none;
    return none;
}
