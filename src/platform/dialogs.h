// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

/// The icon of a message box.
enum class MessageIcon { Information, Critical };

/// Modal message and input boxes, each with the application's title as its
/// caption. Tests record the calls and answer them.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    /// A box with one OK button.
    virtual void message(MessageIcon icon, const QString &text) = 0;
    /// A single-line input box; Cancel gives an empty text.
    virtual QString input(const QString &prompt, const QString &title) = 0;
};
