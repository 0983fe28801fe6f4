// SPDX-License-Identifier: MIT
#include "ui/textbox.h"

#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

namespace {

// What ended a line of the given text. The editor starts a new block at each
// of these; in its own text every one of them reads as U+2029.
enum Break : char { Lf, CrLf, Cr, ParagraphSeparator, FrameStart, FrameEnd };

constexpr QChar BlockSeparator(QChar::ParagraphSeparator);

QStringView breakText(char code) {
    switch (code) {
    case CrLf:
        return u"\r\n";
    case Cr:
        return u"\r";
    case ParagraphSeparator:
        return u"\u2029";
    case FrameStart:
        return u"\uFDD0";
    case FrameEnd:
        return u"\uFDD1";
    default:
        return u"\n";
    }
}

/// The breaks of a text, in order, split as the editor splits lines.
QByteArray breaksOf(QStringView text) {
    QByteArray breaks;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        switch (text[i].unicode()) {
        case u'\r':
            if (i + 1 < size && text[i + 1] == u'\n') {
                breaks.append(CrLf);
                ++i;
            } else {
                breaks.append(Cr);
            }
            break;
        case u'\n':
            breaks.append(Lf);
            break;
        case QChar::ParagraphSeparator:
            breaks.append(ParagraphSeparator);
            break;
        case 0xFDD0:
            breaks.append(FrameStart);
            break;
        case 0xFDD1:
            breaks.append(FrameEnd);
            break;
        default:
            break;
        }
    }
    return breaks;
}

/// The editor's text of [from, to) with its block separators.
QString documentText(QTextDocument *doc, int from, int to) {
    if (to <= from)
        return QString();
    QTextCursor cursor(doc);
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    return cursor.selectedText();
}

} // namespace

TextBox::TextBox(QWidget *parent)
    : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(document(), &QTextDocument::contentsChange, this, &TextBox::documentChanged);
}

void TextBox::setText(const QString &text) {
    // A capture shows its text and then selects its entry, which shows it
    // again: with megabytes of text the second time must cost nothing.
    if (m_unedited && text == m_source)
        return;
    m_settingText = true;
    QPlainTextEdit::setPlainText(text);
    m_settingText = false;

    m_breaks = breaksOf(text);
    const char first = m_breaks.isEmpty() ? char(Lf) : m_breaks.front();
    m_newBreak = first == CrLf || first == Cr ? first : char(Lf);
    m_uniform = std::all_of(m_breaks.cbegin(), m_breaks.cend(),
                            [this](char code) { return code == m_newBreak; });
    m_length = text.size();
    m_rawLength = document()->characterCount() - 1;
    m_blocks = document()->blockCount();
    m_source = text;
    m_unedited = true;
    m_edit = TextEdit();
    if (m_blocks != m_breaks.size() + 1 || m_rawLength != m_length - wideBreaksBefore(m_blocks - 1))
        resync();
}

QString TextBox::text() const {
    QString raw = document()->toRawText();
    if (m_uniform && m_newBreak == Lf)
        return raw.replace(BlockSeparator, u'\n');
    QString result;
    result.reserve(m_length);
    qsizetype k = 0;
    qsizetype from = 0;
    for (qsizetype i = raw.indexOf(BlockSeparator); i >= 0; i = raw.indexOf(BlockSeparator, from)) {
        result.append(QStringView(raw).sliced(from, i - from));
        result.append(breakText(k < m_breaks.size() ? m_breaks.at(k) : m_newBreak));
        ++k;
        from = i + 1;
    }
    result.append(QStringView(raw).sliced(from));
    return result;
}

qsizetype TextBox::wideBreaksBefore(qsizetype block) const {
    block = std::clamp<qsizetype>(block, 0, m_breaks.size());
    if (m_uniform)
        return m_newBreak == CrLf ? block : 0;
    return std::count(m_breaks.cbegin(), m_breaks.cbegin() + block, char(CrLf));
}

void TextBox::documentChanged(int position, int removed, int added) {
    if (m_settingText)
        return;
    QTextDocument *doc = document();
    const int rawLength = doc->characterCount() - 1;
    // The document's closing separator is not part of the text; the editor
    // sometimes counts it in on one side of a change.
    const int removedRaw = std::clamp(std::min(removed, m_rawLength - position), 0, removed);
    const int addedRaw = std::clamp(std::min(added, rawLength - position), 0, added);
    if (position < 0 || m_rawLength - removedRaw + addedRaw != rawLength) {
        resync();
        emit userEdited();
        return;
    }
    if (removedRaw == 0 && addedRaw == 0)
        return;

    QString piece = documentText(doc, position, position + addedRaw);
    const qsizetype newBreaks = piece.count(BlockSeparator);
    const qsizetype goneBreaks = qsizetype(m_blocks) - doc->blockCount() + newBreaks;
    const qsizetype block = doc->findBlock(position).blockNumber();
    if (goneBreaks < 0 || block < 0 || block + goneBreaks > m_breaks.size()) {
        resync();
        emit userEdited();
        return;
    }

    const qsizetype wideBefore = wideBreaksBefore(block);
    const qsizetype wideGone = wideBreaksBefore(block + goneBreaks) - wideBefore;
    if (newBreaks > 0)
        piece.replace(BlockSeparator, breakText(m_newBreak).toString());

    m_edit.position = position + wideBefore;
    m_edit.removed = removedRaw + wideGone;
    m_edit.lengthBefore = m_length;
    m_edit.added = piece;
    m_breaks.replace(block, goneBreaks, QByteArray(newBreaks, m_newBreak));
    m_length += m_edit.added.size() - m_edit.removed;
    m_rawLength = rawLength;
    m_blocks = doc->blockCount();
    m_source = QString();
    m_unedited = false;
    emit userEdited();
}

void TextBox::resync() {
    QTextDocument *doc = document();
    m_blocks = doc->blockCount();
    m_rawLength = doc->characterCount() - 1;
    m_breaks = QByteArray(m_blocks - 1, m_newBreak);
    m_uniform = true;
    m_length = m_rawLength + wideBreaksBefore(m_blocks - 1);
    m_source = QString();
    m_unedited = false;
    // A change that only the whole text describes.
    m_edit = TextEdit();
}
