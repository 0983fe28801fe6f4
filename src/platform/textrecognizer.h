// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>

class QImage;

/// Reads the words in a picture: Chinese and English, as an OCR engine
/// sees them. Used from one thread at a time, not necessarily the one that
/// made it.
class TextRecognizer {
public:
    virtual ~TextRecognizer() = default;
    /// Whether pictures can be read here at all.
    virtual bool available() const = 0;
    /// The words in `picture`, as read; empty when there are none or the
    /// picture could not be read.
    virtual QString read(const QImage &picture) = 0;
    /// Gives back what the engine holds between pictures (its models take
    /// tens of megabytes); the next read loads it again.
    virtual void release() = 0;
};

/// The engine this build has (Tesseract); none without one.
std::unique_ptr<TextRecognizer> makeTextRecognizer();
/// One that reads nothing, for a program without the engine.
TextRecognizer &noTextRecognizer();
