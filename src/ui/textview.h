// SPDX-License-Identifier: MIT
#pragma once

#include "ui/entrypane.h"

class EntryStore;
class TextEditor;
class TextEntries;

/// The text view (fmTxt): the list of text entries (lstTxt) and the current
/// entry's text (txtMain), where the user edits it.
class TextView final : public EntryPane {
    Q_OBJECT
public:
    TextView(EntryStore &store, QWidget *parent = nullptr);

    /// The text shown, or about to be shown, edits included.
    QString shownText();
    /// Removes every occurrence of `signature` from the shown text, letter
    /// case aside, and keeps the result in the current entry.
    void removeSignature(const QString &signature);
    /// Selects the first place of the shown text that holds the first word.
    void showFirstHit(const SearchWords &words);
    /// The appearance dialog, for the text editor.
    void editAppearance();

protected:
    void present(int row) override;

private slots:
    /// The user changed the text: the current entry follows at once.
    void followEdit();

private:
    TextEditor *const m_editor;
    EntryStore &m_store;
    TextEntries &m_entries;
};
