// SPDX-License-Identifier: MIT
#include "ui/entrypane.h"

#include "core/entryfilter.h"
#include "core/entrylist.h"

#include <QHBoxLayout>
#include <QListView>

EntryPane::EntryPane(const QString &title, EntryList &entries, const char *listName,
                     QWidget *parent)
    : QGroupBox(title, parent)
    , m_entries(entries)
    , m_filter(new EntryFilter(entries, this))
    , m_list(new QListView(this)) {
    m_list->setObjectName(QString::fromLatin1(listName));
    m_list->setAccessibleName(title.trimmed());
    m_list->setModel(m_filter);
    m_list->setFixedWidth(113);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The user's choice; a row the list moves to by itself (a search
    // dropping the one marked, a list emptied) chooses nothing.
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (!m_marking && current.isValid())
                    m_entries.select(m_filter->entryAt(current.row()));
            });
    // A picture's preview is asked for as the pointer comes, to be ready
    // when the tip shows.
    m_list->setMouseTracking(true);
    connect(m_list, &QAbstractItemView::entered, this,
            [](const QModelIndex &index) { index.data(Qt::ToolTipRole); });
    connect(m_filter, &QAbstractItemModel::rowsInserted, this, &EntryPane::listedChanged);
    connect(m_filter, &QAbstractItemModel::rowsRemoved, this, &EntryPane::listedChanged);
    connect(m_filter, &QAbstractItemModel::modelReset, this, &EntryPane::listedChanged);
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
    // A capture the search does not keep is held back from view: the entry
    // marked stays the current one, or none.
    const int listedRow = m_filter->rowOf(row);
    if (listedRow < 0 && row >= 0) {
        m_entries.select(chosen());
        return;
    }
    mark(listedRow);
    m_waiting = true;
    if (isVisible())
        presentWaiting();
}

void EntryPane::mark(int row) {
    m_marking = true;
    m_list->setCurrentIndex(m_filter->index(row, 0));
    m_marking = false;
    m_filter->hold(m_filter->entryAt(row));
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

void EntryPane::setSearch(const SearchWords &words) {
    m_marking = true;
    m_filter->setWords(words);
    m_marking = false;
    // The list may have moved its mark by itself meanwhile.
    int current = m_entries.current();
    if (m_filter->rowOf(current) < 0)
        current = words.isEmpty() ? m_entries.newest() : -1;
    m_entries.select(current);
    mark(m_filter->rowOf(current));
}

int EntryPane::listed() const {
    return m_filter->rowCount();
}

int EntryPane::chosen() const {
    return m_list->currentIndex().isValid() ? m_filter->entryAt(m_list->currentIndex().row()) : -1;
}

void EntryPane::choose(int entry) {
    m_list->setCurrentIndex(m_filter->index(m_filter->rowOf(entry), 0));
}

bool EntryPane::chooseNext() {
    if (listed() == 0)
        return false;
    // After the current entry, or the first one listed while none is; the
    // one found is chosen and marked even where it was current already.
    const int row = (m_filter->rowOf(m_entries.current()) + 1) % listed();
    m_entries.select(m_filter->entryAt(row));
    mark(row);
    return true;
}

int EntryPane::chosenRow() const {
    return m_list->currentIndex().row();
}

void EntryPane::chooseRow(int row) {
    m_list->setCurrentIndex(m_filter->index(row, 0));
}

bool EntryPane::chooseNewest() {
    // From the entry taken last back to 0, then from the last row down:
    // the order the entries were taken in, also after the overwrite policy
    // started again at 0.
    const int count = m_entries.count();
    for (int age = 0; age < count; ++age) {
        const int entry = ((m_entries.newest() - age) % count + count) % count;
        if (m_filter->rowOf(entry) >= 0) {
            choose(entry);
            return true;
        }
    }
    return false;
}
