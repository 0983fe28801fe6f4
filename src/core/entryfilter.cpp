// SPDX-License-Identifier: MIT
#include "core/entryfilter.h"

#include "core/entrylist.h"

EntryFilter::EntryFilter(EntryList &entries, QObject *parent)
    : QSortFilterProxyModel(parent)
    , m_entries(entries) {
    setSourceModel(&entries);
    connect(&entries, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_held = -1; });
}

void EntryFilter::setWords(const SearchWords &words) {
    m_words = words;
    m_held = -1;
    invalidateRowsFilter();
}

int EntryFilter::entryAt(int row) const {
    return mapToSource(index(row, 0)).row();
}

int EntryFilter::rowOf(int entry) const {
    return mapFromSource(m_entries.index(entry)).row();
}

bool EntryFilter::filterAcceptsRow(int row, const QModelIndex &) const {
    if (m_words.isEmpty() || row == m_held)
        return true;
    const QString text = m_entries.searchText(row);
    return !text.isNull() && m_words.matches(text);
}
