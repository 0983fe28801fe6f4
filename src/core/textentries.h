// SPDX-License-Identifier: MIT
#pragma once

#include "core/entrylist.h"

#include <QList>
#include <QString>

/// A change the user made to a text: at `position`, `removed` characters
/// became `added`, in a text that was `lengthBefore` long (-1: the change
/// cannot be told piecewise).
struct TextEdit {
    qsizetype position = 0;
    qsizetype removed = 0;
    QString added;
    qsizetype lengthBefore = -1;
};

/// The captured texts (文本00, 文本01 …), held in memory.
class TextEntries final : public EntryList {
    Q_OBJECT
public:
    explicit TextEntries(QObject *parent = nullptr);

    /// The text of entry `row`; empty when there is none.
    QString text(int row) const;
    QString searchText(int row) const override { return text(row); }
    QString preview(int row) const override;
    const QList<QString> &texts() const { return m_texts; }

    /// Whether `text` equals the newest entry (exactly, letter case
    /// included): taking it again would add nothing.
    bool isNewest(const QString &text) const;
    /// Takes a captured text as the next entry and makes it current.
    void take(const QString &text);
    /// Holds `texts` as entries 0, 1 …, the next going to row `next`; none
    /// by default.
    void restore(const QList<QString> &texts = {}, int next = 0);
    /// Replaces the text of an existing entry (an edit, a removed signature).
    void setText(int row, const QString &text);
    /// Applies an edit to an existing entry in place, when its length fits;
    /// false when it does not (the caller then sets the whole text).
    bool applyEdit(int row, const TextEdit &edit);
    /// Characters of all entries together.
    qint64 totalLength() const { return m_total; }

private:
    /// The text of an entry changed after it was taken.
    void changed(int row);

    QList<QString> m_texts;
    qint64 m_total = 0;
};
