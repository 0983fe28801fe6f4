// SPDX-License-Identifier: MIT
#pragma once

#include <QPlainTextEdit>

/// The text view (txtMain): a plain multi-line editor without wrapping.
/// Tells the user's own edits apart from text the program puts in.
class TextBox final : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget *parent = nullptr);

    QString text() const { return toPlainText(); }
    /// Replaces the whole text without raising userEdited().
    void setText(const QString &text);

signals:
    /// The user changed the text: typing, pasting, cutting, undo, drag and drop.
    void userEdited();

private:
    bool m_settingText = false;
};
