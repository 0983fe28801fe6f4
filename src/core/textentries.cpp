// SPDX-License-Identifier: MIT
#include "core/textentries.h"

#include "core/previews.h"

#include <utility>

TextEntries::TextEntries(QObject *parent)
    : EntryList(&textCaption, parent) {}

QString TextEntries::text(int row) const {
    return exists(row) ? m_texts.at(row) : QString();
}

QString TextEntries::preview(int row) const {
    return textPreview(text(row));
}

bool TextEntries::isNewest(const QString &text) const {
    const int row = newest();
    return row >= 0 && text == m_texts.at(row);
}

void TextEntries::take(const QString &text) {
    const int row = beginPlace();
    m_total += text.size();
    if (row < m_texts.size())
        m_total -= std::exchange(m_texts[row], text).size();
    else
        m_texts.append(text);
    endPlace(row);
}

void TextEntries::setText(int row, const QString &text) {
    if (!exists(row))
        return;
    m_total += text.size() - std::exchange(m_texts[row], text).size();
    changed(row);
}

bool TextEntries::applyEdit(int row, const TextEdit &edit) {
    if (!exists(row))
        return true;
    QString &text = m_texts[row];
    if (edit.lengthBefore < 0 || text.size() != edit.lengthBefore)
        return false;
    const qsizetype before = text.size();
    text.replace(edit.position, edit.removed, edit.added);
    m_total += text.size() - before;
    changed(row);
    return true;
}

void TextEntries::changed(int row) {
    emit dataChanged(index(row), index(row), {SearchTextRole});
}

void TextEntries::restore(const QList<QString> &texts, int next) {
    beginReset();
    m_texts = texts;
    m_texts.squeeze();
    m_total = 0;
    for (const QString &text : texts)
        m_total += text.size();
    endReset(int(texts.size()), next);
}
