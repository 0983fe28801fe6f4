// SPDX-License-Identifier: MIT
#include "ui/textview.h"

#include "core/entrystore.h"
#include "core/search.h"
#include "core/signature.h"
#include "ui/appearancedialog.h"
#include "ui/texteditor.h"

TextView::TextView(EntryStore &store, QWidget *parent)
    : EntryPane(QStringLiteral(" 文本数据 "), store.texts(), "lstTxt", parent)
    , m_editor(new TextEditor(this))
    , m_store(store)
    , m_entries(store.texts()) {
    setObjectName(QStringLiteral("fmTxt"));
    m_editor->setObjectName(QStringLiteral("txtMain"));
    m_editor->setReadOnly(true); // until there is an entry
    setView(m_editor);
    connect(m_editor, &TextEditor::userEdited, this, &TextView::followEdit);
}

void TextView::present(int row) {
    // With no entry there is nothing to type into.
    m_editor->setReadOnly(!m_entries.exists(row));
    m_editor->setText(m_entries.text(row));
}

QString TextView::shownText() {
    presentWaiting();
    return m_editor->text();
}

void TextView::followEdit() {
    const int row = m_entries.current();
    if (m_entries.exists(row) && !m_store.editText(row, m_editor->lastEdit()))
        m_store.setText(row, m_editor->text());
}

void TextView::showFirstHit(const SearchWords &words) {
    const QString text = shownText();
    if (const qsizetype hit = words.firstHit(text); hit >= 0)
        m_editor->selectInText(hit, words.firstWordLength());
}

void TextView::removeSignature(const QString &signature) {
    QString text = shownText();
    const qsizetype before = text.size();
    text = ::removeSignature(std::move(text), signature);
    // Every removal shortens the text; an untouched editor keeps its caret and scrolling.
    if (text.size() != before)
        m_editor->setText(text);
    m_store.setText(m_entries.current(), text);
}

void TextView::editAppearance() {
    AppearanceDialog dialog(m_editor, window());
    dialog.exec();
}
