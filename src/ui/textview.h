// SPDX-License-Identifier: MIT
#pragma once

#include <QGroupBox>

class EntryStore;
class QListView;
class TextEditor;
class TextEntries;

/// The text view (fmTxt): the list of text entries (lstTxt) and the current
/// entry's text (txtMain), where the user edits it.
///
/// The editor takes the current entry only while it can be seen: a capture
/// while the window is hidden costs no text layout at all.
class TextView final : public QGroupBox {
    Q_OBJECT
public:
    TextView(EntryStore &store, QWidget *parent = nullptr);

    QListView *lstTxt;
    TextEditor *txtMain;

    /// The text shown, or about to be shown, edits included.
    QString shownText();
    /// Removes every occurrence of `signature` from the shown text, letter
    /// case aside, and keeps the result in the current entry.
    void removeSignature(const QString &signature);

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    /// An entry became current (chosen, or just captured): it is to be shown.
    void showEntry(int row);
    /// The user changed the text: the current entry follows at once.
    void followEdit();

private:
    /// Puts the current entry into the editor, if it waits for that.
    void showCurrent();

    EntryStore &m_store;
    TextEntries &m_entries;
    bool m_waiting = false;
};
