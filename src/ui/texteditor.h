// SPDX-License-Identifier: MIT
#pragma once

#include "core/textentries.h"

#include <QByteArray>
#include <QPlainTextEdit>

/// The text editor (txtMain): a plain multi-line editor without wrapping.
///
/// It tells the user's own edits apart from text the program puts in, and
/// describes each edit as a small change of text(), so that a copy of the
/// text kept elsewhere can follow it without copying megabytes per key.
///
/// The editor keeps lines as blocks and forgets how they were broken; this
/// class remembers the break of every line ("\n", "\r\n", "\r" ...) of the
/// text it was given, so text() gives that text back unchanged and the
/// user's edits keep its style. New line breaks take the style of the
/// text's first one ("\n" when it has none). A very long line is shown in
/// blocks of a few thousand characters, so that showing and editing it never
/// lays out the whole line at once.
class TextEditor final : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextEditor(QWidget *parent = nullptr);

    /// The whole text with its own line breaks. Costs a pass over the text.
    QString text() const;
    /// Replaces the whole text without raising userEdited().
    void setText(const QString &text);
    /// The same as setText(): the program never writes text as the user.
    void setPlainText(const QString &text) { setText(text); }
    void clear() { setText(QString()); }

    /// Length of text(), known without building it.
    qsizetype textLength() const { return m_length; }

    /// The user's last change, in terms of text().
    const TextEdit &lastEdit() const { return m_edit; }
    /// Selects `length` characters of text() from `from`, and scrolls to them.
    void selectInText(qsizetype from, qsizetype length);

signals:
    /// The user changed the text: typing, pasting, cutting, undo, drag and drop.
    void userEdited();

protected:
    /// What a copy, a cut or a drag takes: the text's own characters, the
    /// blocks a long line is shown in joined again.
    QMimeData *createMimeDataFromSelection() const override;

private:
    void documentChanged(int position, int removed, int added);
    /// Takes the document as it is, every line break in the new style.
    void resync();
    /// Characters the breaks before `block` take in text() more than in the
    /// editor (a CR LF one more, a soft break one less).
    qsizetype extraBefore(qsizetype block) const;

    /// The break after each block but the last, one code per break.
    QByteArray m_breaks;
    char m_newBreak = 0;
    /// Whether m_breaks holds one code only; counting is then arithmetic.
    bool m_uniform = true;
    qsizetype m_length = 0;
    int m_rawLength = 0;
    int m_blocks = 1;
    bool m_settingText = false;
    TextEdit m_edit;
};
