// SPDX-License-Identifier: MIT
#pragma once

#include <QGroupBox>

class EntryList;
class QListView;

/// A list of entries by caption beside the view of the current one, as the
/// text and picture views both have it: the list keeps its width, the view
/// takes the rest. Choosing in the list makes that entry current.
///
/// The view takes the current entry only while it can be seen: a capture
/// while the window is hidden costs no layout and no reading at all.
class EntryPane : public QGroupBox {
    Q_OBJECT
public:
    QListView *list() const { return m_list; }

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

    EntryList &m_entries;
    QListView *m_list;
    bool m_waiting = false;
};
