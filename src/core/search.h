// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

/// What the user typed into the search field: words, each a run without
/// spaces. A text matches when it holds every word, letters in any case,
/// full-width and half-width Latin letters and digits alike; Chinese
/// characters match as typed.
class SearchWords {
public:
    SearchWords() = default;
    explicit SearchWords(const QString &typed);

    /// Nothing typed: everything matches.
    bool isEmpty() const { return m_words.isEmpty(); }
    bool matches(QStringView text) const;
    /// Where the first word first stands in `text`, or -1.
    qsizetype firstHit(QStringView text) const;
    qsizetype firstWordLength() const { return m_words.isEmpty() ? 0 : m_words.first().size(); }
    /// The words, folded as foldedForSearch() folds text.
    const QStringList &words() const { return m_words; }

private:
    QStringList m_words; ///< folded
};

/// Text as the search compares it: lower case, full-width Latin letters and
/// digits half-width. A text matches when its folded form holds every word.
QString foldedForSearch(QStringView text);

/// What an OCR engine read, as it is searched: the spaces it puts between
/// Chinese characters taken out, every other run of blanks one space.
QString searchableWords(QStringView read);
