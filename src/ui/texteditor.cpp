// SPDX-License-Identifier: MIT
#include "ui/texteditor.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

namespace {

// What ended a line of the given text. The editor starts a new block at each
// of these; in its own text every one of them reads as U+2029. A soft break
// ends a block inside a long line and stands for nothing in the text.
enum Break : char { Lf, CrLf, Cr, ParagraphSeparator, FrameStart, FrameEnd, Soft };

/// Characters of one line the editor gets as one block at most: it lays out a
/// block whole, and a line of millions of characters would keep it busy for
/// seconds, also while the window is hidden.
constexpr qsizetype LongLine = 4096;

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
    case Soft:
        return {};
    default:
        return u"\n";
    }
}

/// Characters more in the text than in the editor, for a break.
qsizetype extraOf(char code) {
    return qsizetype(breakText(code).size()) - 1;
}

/// The break that `text` holds at `i`, and how many characters it takes;
/// none (0) for any other character.
std::pair<char, qsizetype> breakAt(QStringView text, qsizetype i) {
    switch (text[i].unicode()) {
    case u'\r':
        return i + 1 < text.size() && text[i + 1] == u'\n' ? std::pair{char(CrLf), 2}
                                                           : std::pair{char(Cr), 1};
    case u'\n':
        return {Lf, 1};
    case QChar::ParagraphSeparator:
        return {ParagraphSeparator, 1};
    case 0xFDD0:
        return {FrameStart, 1};
    case 0xFDD1:
        return {FrameEnd, 1};
    default:
        return {Soft, 0};
    }
}

/// The breaks of a text, in order, split as the editor splits lines, with
/// a soft break wherever a line runs past LongLine characters (never inside
/// a surrogate pair). The text the editor gets goes to `shown` when it
/// differs from `text`, which is when there are soft breaks.
QByteArray breaksOf(QStringView text, QString &shown) {
    QByteArray breaks;
    qsizetype run = 0;    // characters since the last break
    qsizetype copied = 0; // characters of `text` already in `shown`
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto [code, width] = breakAt(text, i);
        if (width > 0) {
            breaks.append(code);
            run = 0;
            i += width - 1;
            continue;
        }
        if (run >= LongLine && !text[i].isLowSurrogate()) {
            if (shown.isNull())
                shown.reserve(text.size() + text.size() / LongLine);
            shown.append(text.sliced(copied, i - copied));
            shown.append(u'\n');
            copied = i;
            breaks.append(Soft);
            run = 0;
        }
        ++run;
    }
    if (!shown.isNull())
        shown.append(text.sliced(copied));
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

TextEditor::TextEditor(QWidget *parent)
    : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(document(), &QTextDocument::contentsChange, this, &TextEditor::documentChanged);
}

void TextEditor::setText(const QString &text) {
    QString shown;
    m_breaks = breaksOf(text, shown);
    m_settingText = true;
    QPlainTextEdit::setPlainText(shown.isNull() ? text : shown);
    m_settingText = false;

    const auto first =
        std::find_if(m_breaks.cbegin(), m_breaks.cend(), [](char code) { return code != Soft; });
    m_newBreak = first != m_breaks.cend() && (*first == CrLf || *first == Cr) ? *first : char(Lf);
    m_uniform = std::all_of(m_breaks.cbegin(), m_breaks.cend(),
                            [this](char code) { return code == m_newBreak; });
    m_length = text.size();
    m_rawLength = document()->characterCount() - 1;
    m_blocks = document()->blockCount();
    m_edit = TextEdit();
    if (m_blocks != m_breaks.size() + 1 || m_rawLength != m_length - extraBefore(m_blocks - 1))
        resync();
}

QString TextEditor::text() const {
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

QMimeData *TextEditor::createMimeDataFromSelection() const {
    const QTextCursor cursor = textCursor();
    const auto at = [this](int position) {
        return position + extraBefore(document()->findBlock(position).blockNumber());
    };
    const qsizetype from = at(cursor.selectionStart());
    auto *copied = new QMimeData;
    copied->setText(text().mid(from, at(cursor.selectionEnd()) - from));
    return copied;
}

void TextEditor::selectInText(qsizetype from, qsizetype length) {
    // The block that holds it, and where that block starts in text().
    const auto at = [this](qsizetype position) {
        QTextBlock block = document()->begin();
        while (block.next().isValid() &&
               block.next().position() + extraBefore(block.next().blockNumber()) <= position)
            block = block.next();
        return int(position - extraBefore(block.blockNumber()));
    };
    QTextCursor cursor(document());
    cursor.setPosition(at(from));
    cursor.setPosition(at(from + length), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
}

qsizetype TextEditor::extraBefore(qsizetype block) const {
    block = std::clamp<qsizetype>(block, 0, m_breaks.size());
    if (m_uniform)
        return block * extraOf(m_newBreak);
    const auto end = m_breaks.cbegin() + block;
    return std::count(m_breaks.cbegin(), end, char(CrLf)) -
           std::count(m_breaks.cbegin(), end, char(Soft));
}

void TextEditor::documentChanged(int position, int removed, int added) {
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

    const qsizetype extra = extraBefore(block);
    const qsizetype extraGone = extraBefore(block + goneBreaks) - extra;
    if (newBreaks > 0)
        piece.replace(BlockSeparator, breakText(m_newBreak).toString());

    m_edit.position = position + extra;
    m_edit.removed = removedRaw + extraGone;
    m_edit.lengthBefore = m_length;
    m_edit.added = piece;
    m_breaks.replace(block, goneBreaks, QByteArray(newBreaks, m_newBreak));
    m_length += m_edit.added.size() - m_edit.removed;
    m_rawLength = rawLength;
    m_blocks = doc->blockCount();
    emit userEdited();
}

void TextEditor::resync() {
    QTextDocument *doc = document();
    m_blocks = doc->blockCount();
    m_rawLength = doc->characterCount() - 1;
    m_breaks = QByteArray(m_blocks - 1, m_newBreak);
    m_uniform = true;
    m_length = m_rawLength + extraBefore(m_blocks - 1);
    // A change that only the whole text describes.
    m_edit = TextEdit();
}
