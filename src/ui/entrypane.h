// SPDX-License-Identifier: MIT
#pragma once

#include <QGroupBox>

class EntryFilter;
class EntryList;
class QListView;
class SearchWords;

/// A list of entries by caption beside the view of the current one, as the
/// text and picture views both have it: the list keeps its width, the view
/// takes the rest. Choosing in the list makes that entry current. While a
/// search is on, the list holds the entries it keeps; the save-all and
/// delete commands still see every entry.
///
/// The entry the list marks is the current one, the one in the view and the
/// one "this page" commands act on. A search that leaves it out marks none
/// (the view is empty); clearing the search then marks the newest. The entry
/// marked stays listed while it changes, until the user chooses another or
/// changes the search.
///
/// The view takes the current entry only while it can be seen: a capture
/// while the window is hidden costs no layout and no reading at all.
class EntryPane : public QGroupBox {
    Q_OBJECT
public:
    /// Keeps in the list only the entries that hold `words`.
    void setSearch(const SearchWords &words);
    /// Entries the list holds now.
    int listed() const;
    /// The entry chosen in the list, or -1 (none, or not kept by the search).
    int chosen() const;
    /// Chooses `entry` in the list, as the user does, when the list holds it.
    void choose(int entry);
    /// Chooses the entry listed after the current one, or the first while
    /// none is listed; false when the list is empty.
    bool chooseNext();
    /// The row chosen in the list, or -1; choosing row `row` of the list.
    int chosenRow() const;
    void chooseRow(int row);
    /// Chooses the entry taken last of those the list holds; false when it
    /// holds none.
    bool chooseNewest();

signals:
    /// The entries the list holds changed: a capture, a deletion, a search.
    void listedChanged();

protected:
    EntryPane(const QString &title, EntryList &entries, const char *listName,
              QWidget *parent = nullptr);
    /// Puts `view` beside the list.
    void setView(QWidget *view);
    /// Shows entry `row` in the view; -1: the entries are all gone.
    virtual void present(int row) = 0;
    /// Shows the current entry now, if it waits to be shown.
    void presentWaiting();
    void showEvent(QShowEvent *event) override;

private:
    void currentChanged(int row);
    /// Marks list row `row` (-1: none) without it counting as the user's choice.
    void mark(int row);

    EntryList &m_entries;
    EntryFilter *m_filter;
    QListView *m_list;
    bool m_waiting = false;
    bool m_marking = false;
};
