// SPDX-License-Identifier: MIT
// The text view keeps the text it is given, line breaks and all, and
// describes each of the user's edits as a change that a copy can follow.
#include "ui/textbox.h"

#include <QApplication>
#include <QClipboard>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

namespace {

/// A copy of the box's text kept the way the program keeps an entry.
struct Follower {
    explicit Follower(TextBox &box)
        : copy(box.text()) {
        QObject::connect(&box, &TextBox::userEdited, &box, [this, &box] {
            if (box.lastEdit().lengthBefore != copy.size())
                ++wholeCopies;
            box.applyLastEdit(copy);
        });
    }
    QString copy;
    int wholeCopies = 0;
};

QString withBreaks(QString text, const QString &lineBreak) {
    return text.replace(u'\n', lineBreak);
}

} // namespace

class tst_TextBox : public QObject {
    Q_OBJECT

private slots:
    void givenTextComesBackUnchanged_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("one line") << QStringLiteral("文本 text");
        QTest::newRow("LF") << QStringLiteral("a\nb\n\nc\n");
        QTest::newRow("CRLF") << QStringLiteral("a\r\nb\r\n\r\nc\r\n");
        QTest::newRow("CR") << QStringLiteral("a\rb\r");
        QTest::newRow("mixed") << QStringLiteral("a\r\nb\nc\rd\r\n");
        QTest::newRow("CR then CRLF") << QStringLiteral("\r\r\n\n\r");
        QTest::newRow("separators") << QStringLiteral("a\u2029b\u2028c\uFDD0d\uFDD1e");
        QTest::newRow("no-break space, tab, NUL")
            << QStringLiteral("a\u00A0b\tc") + QChar(0) + QStringLiteral("d");
        QTest::newRow("surrogate pair") << QStringLiteral("😀\r\n𠀀");
    }
    void givenTextComesBackUnchanged() {
        QFETCH(QString, text);
        TextBox box;
        QSignalSpy edits(&box, &TextBox::userEdited);
        box.setText(text);
        QCOMPARE(box.text(), text);
        QCOMPARE(box.textLength(), text.size());
        QCOMPARE(edits.count(), 0);
    }

    void userLineBreaksFollowTheTextsStyle_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        // The caret is put at the end, then Return and "x" are typed.
        QTest::newRow("no breaks") << QStringLiteral("a") << QStringLiteral("a\nx");
        QTest::newRow("LF") << QStringLiteral("a\nb") << QStringLiteral("a\nb\nx");
        QTest::newRow("CRLF") << QStringLiteral("a\r\nb") << QStringLiteral("a\r\nb\r\nx");
        QTest::newRow("CR") << QStringLiteral("a\rb") << QStringLiteral("a\rb\rx");
        QTest::newRow("first break rules")
            << QStringLiteral("a\r\nb\nc") << QStringLiteral("a\r\nb\nc\r\nx");
    }
    void userLineBreaksFollowTheTextsStyle() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        TextBox box;
        box.setText(text);
        Follower entry(box);
        box.moveCursor(QTextCursor::End);
        QTest::keyClick(&box, Qt::Key_Return);
        QTest::keyClicks(&box, QStringLiteral("x"));
        QCOMPARE(box.text(), expected);
        QCOMPARE(entry.copy, expected);
        QCOMPARE(entry.wholeCopies, 0);
    }

    void editsNearBreaksKeepTheOtherBreaks() {
        TextBox box;
        box.setText(QStringLiteral("one\r\ntwo\nthree\rfour"));
        Follower entry(box);
        // Joining "two" and "three" removes the LF between them only.
        QTextCursor cursor = box.textCursor();
        cursor.setPosition(box.document()->findBlockByNumber(2).position());
        box.setTextCursor(cursor);
        QTest::keyClick(&box, Qt::Key_Backspace);
        QCOMPARE(entry.copy, QStringLiteral("one\r\ntwothree\rfour"));
        // Replacing a stretch that holds two breaks of different kinds.
        cursor.setPosition(2);
        cursor.setPosition(box.document()->findBlockByNumber(2).position() + 1,
                           QTextCursor::KeepAnchor);
        box.setTextCursor(cursor);
        QTest::keyClicks(&box, QStringLiteral("Z"));
        QCOMPARE(entry.copy, QStringLiteral("onZour"));
        QCOMPARE(box.text(), entry.copy);
        QCOMPARE(entry.wholeCopies, 0);
    }

    void pasteAndUndoAreEdits() {
        TextBox box;
        box.setText(QStringLiteral("a\r\nb"));
        Follower entry(box);
        QApplication::clipboard()->setText(QStringLiteral("p\nq\r\nr"));
        box.moveCursor(QTextCursor::End);
        box.paste();
        QCOMPARE(entry.copy, QStringLiteral("a\r\nbp\r\nq\r\nr"));
        box.undo();
        QCOMPARE(entry.copy, QStringLiteral("a\r\nb"));
        box.redo();
        QCOMPARE(entry.copy, QStringLiteral("a\r\nbp\r\nq\r\nr"));
        box.selectAll();
        box.cut();
        QCOMPARE(entry.copy, QString());
        QCOMPARE(box.textLength(), 0);
    }

    void programSetsAndStillKeysAreNoEdits() {
        TextBox box;
        QSignalSpy edits(&box, &TextBox::userEdited);
        box.setText(QStringLiteral("a\nb"));
        box.setPlainText(QStringLiteral("c"));
        box.clear();
        box.setText(QStringLiteral("d\ne"));
        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_End, Qt::Key_Home, Qt::Key_Left,
                            Qt::Key_PageDown, Qt::Key_Shift, Qt::Key_Control})
            QTest::keyClick(&box, key);
        // Backspace at the very start changes nothing.
        box.moveCursor(QTextCursor::Start);
        QTest::keyClick(&box, Qt::Key_Backspace);
        QFont font = box.font();
        font.setPointSize(font.pointSize() + 6);
        box.setFont(font);
        QCOMPARE(edits.count(), 0);
        QCOMPARE(box.text(), QStringLiteral("d\ne"));
    }

    void settingTheShownTextAgainKeepsTheUsersPlace() {
        TextBox box;
        const QString text = QStringLiteral("line 1\nline 2\nline 3");
        box.setText(text);
        box.moveCursor(QTextCursor::End);
        box.setText(QString(text));
        QCOMPARE(box.textCursor().position(), box.document()->characterCount() - 1);
        // Once edited, the same text is set again in full.
        QTest::keyClicks(&box, QStringLiteral("!"));
        box.setText(text);
        QCOMPARE(box.text(), text);
    }

    void randomEditsAreFollowedExactly_data() {
        QTest::addColumn<QString>("lineBreak");
        QTest::newRow("LF") << QStringLiteral("\n");
        QTest::newRow("CRLF") << QStringLiteral("\r\n");
        QTest::newRow("CR") << QStringLiteral("\r");
    }
    void randomEditsAreFollowedExactly() {
        QFETCH(QString, lineBreak);
        TextBox box;
        box.setText(withBreaks(QStringLiteral("alpha\nbeta\n\ngamma 文本\ndelta\n"), lineBreak));
        Follower entry(box);
        QRandomGenerator random(20240601);
        const QList<Qt::Key> keys{Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_A,
                                  Qt::Key_Space,  Qt::Key_Left,      Qt::Key_Up};
        for (int step = 0; step < 400; ++step) {
            const int length = box.document()->characterCount() - 1;
            QTextCursor cursor = box.textCursor();
            cursor.setPosition(random.bounded(length + 1));
            if (random.bounded(3) == 0)
                cursor.setPosition(random.bounded(length + 1), QTextCursor::KeepAnchor);
            box.setTextCursor(cursor);
            switch (random.bounded(5)) {
            case 0:
                box.insertPlainText(QStringLiteral("x\ny\r\nz"));
                break;
            case 1:
                random.bounded(2) ? box.undo() : box.redo();
                break;
            default:
                QTest::keyClick(&box, keys.at(random.bounded(int(keys.size()))));
                break;
            }
            QString expected = box.document()->toRawText();
            expected.replace(QChar(QChar::ParagraphSeparator), lineBreak);
            QCOMPARE(entry.copy, expected);
            QCOMPARE(box.textLength(), expected.size());
        }
        QCOMPARE(box.text(), entry.copy);
        QCOMPARE(entry.wholeCopies, 0);
    }

    void aCopyThatWentAstrayIsReplacedWhole() {
        TextBox box;
        box.setText(QStringLiteral("abc"));
        QString stray = QStringLiteral("something else");
        box.moveCursor(QTextCursor::End);
        QTest::keyClicks(&box, QStringLiteral("d"));
        box.applyLastEdit(stray);
        QCOMPARE(stray, QStringLiteral("abcd"));
    }
};

QTEST_MAIN(tst_TextBox)
#include "tst_textbox.moc"
