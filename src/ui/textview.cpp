// SPDX-License-Identifier: MIT
#include "ui/textview.h"

#include "core/entrystore.h"
#include "core/search.h"
#include "core/signature.h"
#include "ui/texteditor.h"

TextView::TextView(EntryStore &store, QWidget *parent)
    : EntryPane(QStringLiteral(" 文本数据 "), store.texts(), "lstTxt", parent)
    , lstTxt(list())
    , txtMain(new TextEditor(this))
    , m_store(store)
    , m_entries(store.texts()) {
    setObjectName(QStringLiteral("fmTxt"));
    txtMain->setObjectName(QStringLiteral("txtMain"));
    setView(txtMain);
    connect(txtMain, &TextEditor::userEdited, this, &TextView::followEdit);
}

void TextView::present(int row) {
    txtMain->setText(m_entries.text(row));
}

QString TextView::shownText() {
    presentWaiting();
    return txtMain->text();
}

void TextView::followEdit() {
    const int row = m_entries.current();
    if (m_entries.exists(row) && !m_store.editText(row, txtMain->lastEdit()))
        m_store.setText(row, txtMain->text());
}

void TextView::showFirstHit(const SearchWords &words) {
    const QString text = shownText();
    if (const qsizetype hit = words.firstHit(text); hit >= 0)
        txtMain->selectInText(hit, words.firstWordLength());
}

void TextView::removeSignature(const QString &signature) {
    QString text = shownText();
    const qsizetype before = text.size();
    text = ::removeSignature(std::move(text), signature);
    // Every removal shortens the text; an untouched editor keeps its caret and scrolling.
    if (text.size() != before)
        txtMain->setText(text);
    m_store.setText(m_entries.current(), text);
}
