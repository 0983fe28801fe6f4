// SPDX-License-Identifier: MIT
#include "core/textentries.h"

TextEntries::TextEntries(QObject *parent)
    : EntryList(&TextCaption, parent) {}

QString TextEntries::text(int row) const {
    return exists(row) ? m_texts.at(row) : QString();
}

bool TextEntries::isNewest(const QString &text) const {
    const int row = newest();
    return row >= 0 && text == m_texts.at(row);
}

void TextEntries::take(const QString &text) {
    const int row = beginPlace();
    if (row < m_texts.size())
        m_texts[row] = text;
    else
        m_texts.append(text);
    endPlace(row);
}

void TextEntries::setText(int row, const QString &text) {
    if (!exists(row))
        return;
    m_texts[row] = text;
    emit textChanged(row);
}

bool TextEntries::applyEdit(int row, const TextEdit &edit) {
    if (!exists(row))
        return true;
    QString &text = m_texts[row];
    if (edit.lengthBefore < 0 || text.size() != edit.lengthBefore)
        return false;
    text.replace(edit.position, edit.removed, edit.added);
    emit textChanged(row);
    return true;
}

void TextEntries::restore(const QList<QString> &texts) {
    for (const QString &text : texts) {
        const int row = beginPlace();
        m_texts.insert(row, text);
        endPlace(row);
    }
}

void TextEntries::clear() {
    beginClear();
    m_texts.clear();
    m_texts.squeeze();
    endClear();
}
