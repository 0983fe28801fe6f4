// SPDX-License-Identifier: MIT
#include "ui/textpane.h"

#include "core/entrystore.h"
#include "core/signature.h"
#include "ui/entrylistview.h"
#include "ui/textbox.h"

#include <QListView>

TextPane::TextPane(EntryStore &store, QWidget *parent)
    : QGroupBox(QStringLiteral(" 文本数据 "), parent)
    , txtMain(new TextBox(this))
    , m_store(store)
    , m_entries(store.texts()) {
    setObjectName(QStringLiteral("fmTxt"));
    txtMain->setObjectName(QStringLiteral("txtMain"));
    lstTxt = addEntryList(this, m_entries, "lstTxt", txtMain);

    connect(&m_entries, &TextEntries::currentChanged, this, &TextPane::lstTxt_Click);
    connect(&m_entries, &TextEntries::modelReset, this, [this] {
        m_waiting = false;
        txtMain->setText(QString());
    });
    connect(txtMain, &TextBox::userEdited, this, &TextPane::txtMain_Change);
}

void TextPane::lstTxt_Click(int row) {
    lstTxt->setCurrentIndex(m_entries.index(row));
    m_waiting = true;
    if (txtMain->isVisible())
        showCurrent();
}

void TextPane::showEvent(QShowEvent *event) {
    QGroupBox::showEvent(event);
    showCurrent();
}

void TextPane::showCurrent() {
    if (!m_waiting)
        return;
    m_waiting = false;
    txtMain->setText(m_entries.text(m_entries.current()));
}

QString TextPane::shownText() {
    showCurrent();
    return txtMain->text();
}

void TextPane::txtMain_Change() {
    const int row = m_entries.current();
    if (m_entries.exists(row) && !m_store.editText(row, txtMain->lastEdit()))
        m_store.setText(row, txtMain->text());
}

void TextPane::removeSignature(const QString &signature) {
    QString text = shownText();
    const qsizetype before = text.size();
    text = RemoveSignature(std::move(text), signature);
    // Every removal shortens the text; an untouched box keeps its caret and scrolling.
    if (text.size() != before)
        txtMain->setText(text);
    m_store.setText(m_entries.current(), text);
}
