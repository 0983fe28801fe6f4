// SPDX-License-Identifier: MIT
#include "ui/entrypane.h"

#include "core/entrylist.h"

#include <QHBoxLayout>
#include <QListView>

EntryPane::EntryPane(const QString &title, EntryList &entries, const char *listName,
                     QWidget *parent)
    : QGroupBox(title, parent)
    , m_entries(entries)
    , m_list(new QListView(this)) {
    m_list->setObjectName(QString::fromLatin1(listName));
    m_list->setModel(&entries);
    m_list->setFixedWidth(113);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The user's choice; a list emptied chooses nothing.
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [&entries](const QModelIndex &current) { entries.select(current.row()); });
    connect(&entries, &EntryList::currentChanged, this, &EntryPane::currentChanged);
    connect(&entries, &EntryList::modelReset, this, [this] {
        m_waiting = false;
        present(-1);
    });
}

void EntryPane::setView(QWidget *view) {
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(view, 1);
}

void EntryPane::currentChanged(int row) {
    m_list->setCurrentIndex(m_entries.index(row));
    m_waiting = true;
    if (isVisible())
        presentWaiting();
}

void EntryPane::showEvent(QShowEvent *event) {
    QGroupBox::showEvent(event);
    presentWaiting();
}

void EntryPane::presentWaiting() {
    if (!m_waiting)
        return;
    m_waiting = false;
    present(m_entries.current());
}
