// SPDX-License-Identifier: MIT
#include "platform/logging.h"
#include "platform/textrecognizer.h"

#include <QImage>
#include <omp.h>
#include <tesseract/baseapi.h>

namespace {

class TesseractRecognizer final : public TextRecognizer {
public:
    bool available() const override { return true; }

    QString read(const QImage &picture) override {
        if (picture.isNull() || !load())
            return {};
        // The engine's own threads would fight the program for the
        // processor, and on a busy machine they spin far longer than one
        // thread takes: one picture, one thread.
        omp_set_max_active_levels(0);
        const QImage gray = picture.convertToFormat(QImage::Format_Grayscale8);
        m_api->SetImage(gray.constBits(), gray.width(), gray.height(), 1, int(gray.bytesPerLine()));
        const std::unique_ptr<char[]> text(m_api->GetUTF8Text());
        m_api->Clear();
        return text ? QString::fromUtf8(text.get()) : QString();
    }

    void release() override { m_api.reset(); }

private:
    bool load() {
        if (m_api)
            return true;
        auto api = std::make_unique<tesseract::TessBaseAPI>();
        // Chinese with English; English alone where the Chinese model is missing.
        for (const char *languages : {"chi_sim+eng", "eng"}) {
            if (api->Init(nullptr, languages, tesseract::OEM_LSTM_ONLY) == 0) {
                api->SetVariable("debug_file", "/dev/null");
                m_api = std::move(api);
                return true;
            }
        }
        qCWarning(lcCapture) << "no OCR models found: the words in pictures are not read";
        return false;
    }

    std::unique_ptr<tesseract::TessBaseAPI> m_api;
};

} // namespace

std::unique_ptr<TextRecognizer> makeTextRecognizer() {
    return std::make_unique<TesseractRecognizer>();
}
