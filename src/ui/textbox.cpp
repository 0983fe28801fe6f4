// SPDX-License-Identifier: MIT
#include "ui/textbox.h"

TextBox::TextBox(QWidget *parent)
    : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_settingText)
            emit userEdited();
    });
}

void TextBox::setText(const QString &text) {
    m_settingText = true;
    setPlainText(text);
    m_settingText = false;
}
