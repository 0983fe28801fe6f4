// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractListModel>

/// Entries of one kind taken before the overflow policy applies.
inline constexpr int EntryBound = 100;

/// The entries of one kind, numbered from 0 and listed by caption: row n is
/// entry n. Knows the number of the next entry, where it goes, and which
/// entry is current (the one shown). The views follow it; they never decide
/// what exists.
///
/// The next entry goes to row `next()`: appended when that is past the last
/// row, otherwise in place of the entry there (after the overwrite policy
/// started again at 0, or at the 16-bit limit of the numbers).
///
/// currentChanged() comes once for every entry placed (its content is new,
/// also where it replaced the current one) and once for every other entry
/// made current, or -1 once none is; making the current entry current again
/// tells nothing.
class EntryList : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        /// What a search looks in: a text entry's text, the words read in a
        /// picture (null while not read yet). Changes of it alone come with
        /// this role named; a capture's change names none.
        SearchTextRole = Qt::UserRole + 1,
    };

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    int count() const { return m_count; }
    bool exists(int row) const { return row >= 0 && row < m_count; }
    /// The caption of entry `row`, "文本07" or "图像07".
    QString caption(int row) const;
    /// The number of the next entry (16-bit, saturating).
    qint16 next() const { return m_next; }
    /// The row taken last, or -1: right after the overwrite policy started
    /// again at 0 that is the hundredth entry, not next() - 1.
    int newest() const;
    /// The current entry; -1 when there is none (nothing taken, or all gone).
    int current() const { return m_current; }
    /// Makes an existing entry current (the user chose it); -1: none is (a
    /// search keeps none of them).
    void select(int row);

    /// What a search looks in for entry `row`.
    virtual QString searchText(int row) const = 0;
    /// The tip of entry `row` in the lists (Qt::ToolTipRole): what it holds
    /// and its size; null while it is being made.
    virtual QString preview(int row) const = 0;

    /// Whether the hundredth entry has been taken: the overflow policy applies.
    bool full() const;
    /// The overwrite policy: the next entry is number 0 again.
    void startAgain();

signals:
    void currentChanged(int row);

protected:
    EntryList(QString (*captionOf)(int), QObject *parent = nullptr);

    /// Where the next entry goes, announced to the views; the caller stores
    /// it there, then calls endPlace(), which counts it and makes it current.
    int beginPlace();
    void endPlace(int row);
    /// Forgets every entry, then holds `count` entries, the next one going
    /// to row `next`; the newest is current.
    void beginReset();
    void endReset(int count = 0, int next = 0);

private:
    QString (*m_caption)(int);
    int m_count = 0;
    qint16 m_next = 0;
    int m_current = -1;
    bool m_appending = false;
};

/// "文本00", "文本07", "文本100".
QString textCaption(int n);
/// "图像00", "图像07", "图像100": also the temp picture file's base name.
QString imageCaption(int n);
