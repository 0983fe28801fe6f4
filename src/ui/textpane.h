// SPDX-License-Identifier: MIT
#pragma once

#include <QGroupBox>

class QListView;
class TextBox;
class TextEntries;

/// The text view (fmTxt): the list of text entries (lstTxt) and the current
/// entry's text (txtMain), where the user edits it.
class TextPane final : public QGroupBox {
    Q_OBJECT
public:
    TextPane(TextEntries &entries, QWidget *parent = nullptr);

    QListView *lstTxt;
    TextBox *txtMain;

    /// Removes every occurrence of `signature` from the shown text, letter
    /// case aside, and keeps the result in the current entry.
    void removeSignature(const QString &signature);

private slots:
    /// An entry became current (chosen, or just captured): show it.
    void lstTxt_Click(int row);
    /// The user changed the text: the current entry follows at once.
    void txtMain_Change();

private:
    TextEntries &m_entries;
};
