// SPDX-License-Identifier: MIT
#pragma once

#include "core/search.h"

#include <QSortFilterProxyModel>

class EntryList;

/// The entries of one kind a search keeps: those whose text, or whose
/// picture's words, hold every word typed; all of them while nothing is.
/// A picture not read yet holds nothing. The entries themselves stay.
///
/// The entry held (the one the user is on) stays kept while it changes (an
/// edit, a removed signature): a row never goes from under the caret.
/// Whether it still matches is decided again when the words change.
class EntryFilter final : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit EntryFilter(EntryList &entries, QObject *parent = nullptr);

    const SearchWords &words() const { return m_words; }
    /// Decides again for every entry; none is held.
    void setWords(const SearchWords &words);
    /// Keeps `entry` while it changes; -1: none.
    void hold(int entry) { m_held = entry; }
    /// The entry at `row` of the filtered list, or -1.
    int entryAt(int row) const;
    /// The row of `entry` in the filtered list, or -1 while it is not kept.
    int rowOf(int entry) const;

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override;

private:
    EntryList &m_entries;
    SearchWords m_words;
    int m_held = -1;
};
