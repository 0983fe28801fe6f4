// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

/// The icon of a message box.
enum class MessageIcon { Information, Critical };

/// The button a question was answered with: its first or its second, or
/// 取消 (also Esc and the box's close button).
enum class Answer { First, Second, Cancel };

/// Modal message and input boxes, each with the application's title as its
/// caption. Tests record the calls and answer them.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    /// A box with one OK button.
    virtual void message(MessageIcon icon, const QString &text) = 0;
    /// A single-line input box; Cancel gives an empty text.
    virtual QString input(const QString &prompt, const QString &title) = 0;
    /// A question with the buttons `first` and `second` (an & before a
    /// button's key letter) and 取消.
    virtual Answer ask(const QString &question, const QString &first, const QString &second) = 0;
};
