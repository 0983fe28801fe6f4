// SPDX-License-Identifier: MIT
#pragma once

#include "core/search.h"

#include <QSortFilterProxyModel>

class EntryList;

/// The entries of one kind a search keeps: those whose text, or whose
/// picture's words, hold every word typed; all of them while nothing is.
/// A picture not read yet holds nothing. The entries themselves stay.
class EntryFilter final : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit EntryFilter(EntryList &entries, QObject *parent = nullptr);

    const SearchWords &words() const { return m_words; }
    void setWords(const SearchWords &words);
    /// The entry at `row` of the filtered list, or -1.
    int entryAt(int row) const;
    /// The row of `entry` in the filtered list, or -1 while it is not kept.
    int rowOf(int entry) const;

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override;

private:
    EntryList &m_entries;
    SearchWords m_words;
};
