// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QString>
#include <memory>

/// Reads the words in a picture: Chinese and English, as an OCR engine
/// sees them. Used from one thread at a time, not necessarily the one that
/// made it.
class TextRecognizer {
public:
    virtual ~TextRecognizer() = default;
    /// Whether pictures can be read here at all.
    virtual bool available() const = 0;
    /// The words in `picture`, as read; empty when there are none or the
    /// picture could not be read. The picture is let go as soon as the
    /// engine has it.
    virtual QString read(QImage picture) = 0;
    /// Gives back what the engine holds between pictures (its models take
    /// tens of megabytes); the next read loads it again.
    virtual void release() = 0;
    /// Ends a read under way at once, and reads nothing from now on (the
    /// program is ending); from any thread.
    virtual void interrupt() {}
};

/// The system's OCR engine (Tesseract, where it is installed), run by
/// `program --read-words` in a process of its own at the lowest priority:
/// the engine's memory is given back whole when it is released, and a
/// picture that makes it fail or hang costs that picture's words only.
/// Nothing on Windows; where the engine is not installed, available()
/// turns false at the first picture.
std::unique_ptr<TextRecognizer> makeTextRecognizer(const QString &program);
/// The other side, in that process: reads pictures from standard input and
/// writes their words to standard output until the input ends; the exit code.
int serveTextRecognition();
/// The argument that makes the program serve text recognition.
inline constexpr char ReadWordsArgument[] = "--read-words";
/// One that reads nothing, for a program without the engine.
TextRecognizer &noTextRecognizer();
