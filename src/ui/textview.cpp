// SPDX-License-Identifier: MIT
#include "ui/textview.h"

#include "core/entrystore.h"
#include "core/signature.h"
#include "ui/entrylistview.h"
#include "ui/texteditor.h"

#include <QListView>

TextView::TextView(EntryStore &store, QWidget *parent)
    : QGroupBox(QStringLiteral(" 文本数据 "), parent)
    , txtMain(new TextEditor(this))
    , m_store(store)
    , m_entries(store.texts()) {
    setObjectName(QStringLiteral("fmTxt"));
    txtMain->setObjectName(QStringLiteral("txtMain"));
    lstTxt = addEntryList(this, m_entries, "lstTxt", txtMain);

    connect(&m_entries, &TextEntries::currentChanged, this, &TextView::showEntry);
    connect(&m_entries, &TextEntries::modelReset, this, [this] {
        m_waiting = false;
        txtMain->setText(QString());
    });
    connect(txtMain, &TextEditor::userEdited, this, &TextView::followEdit);
}

void TextView::showEntry(int row) {
    lstTxt->setCurrentIndex(m_entries.index(row));
    m_waiting = true;
    if (txtMain->isVisible())
        showCurrent();
}

void TextView::showEvent(QShowEvent *event) {
    QGroupBox::showEvent(event);
    showCurrent();
}

void TextView::showCurrent() {
    if (!m_waiting)
        return;
    m_waiting = false;
    txtMain->setText(m_entries.text(m_entries.current()));
}

QString TextView::shownText() {
    showCurrent();
    return txtMain->text();
}

void TextView::followEdit() {
    const int row = m_entries.current();
    if (m_entries.exists(row) && !m_store.editText(row, txtMain->lastEdit()))
        m_store.setText(row, txtMain->text());
}

void TextView::removeSignature(const QString &signature) {
    QString text = shownText();
    const qsizetype before = text.size();
    text = RemoveSignature(std::move(text), signature);
    // Every removal shortens the text; an untouched editor keeps its caret and scrolling.
    if (text.size() != before)
        txtMain->setText(text);
    m_store.setText(m_entries.current(), text);
}
