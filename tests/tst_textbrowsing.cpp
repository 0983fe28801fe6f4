// SPDX-License-Identifier: MIT
// Browsing and editing text entries in the window, and copying back.
#include "testrig.h"
#include "ui/frmmain.h"
#include "ui/textbox.h"

#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QMenu>
#include <QRandomGenerator>

namespace {

/// A window hearing the test clipboard; counts edits not followed piecewise.
struct Window {
    explicit Window(TestRig &r)
        : rig(r)
        , form(r.m) {
        QObject::connect(&rig.clipboard, &Clipboard::changed, &form,
                         [this] { form.MainWndProc(WinMsg::DrawClipboard, 0, 0); });
        QObject::connect(form.txtMain, &TextBox::userEdited, &form,
                         [this] { wholeCopies += form.txtMain->lastEdit().lengthBefore < 0; });
    }
    void copyText(const QString &text) { rig.clipboard.offerText(text); }
    void select(int row) { form.lstTxt->setCurrentRow(row); }
    void moveTo(int from, int to) {
        QTextCursor cursor = form.txtMain->textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        form.txtMain->setTextCursor(cursor);
    }
    const QString &entry(int i) const { return rig.m.TextPages.at(i); }

    TestRig &rig;
    frmMain form;
    int wholeCopies = 0;
};

} // namespace

class tst_TextBrowsing : public QObject {
    Q_OBJECT

private slots:
    void entriesKeepTheirLineBreaksThroughEdits_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("from"); // the selection typed over
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("keys"); // "\r" is Return, "\b" Backspace
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *tag, const QString &text, int from = 0, int to = 0,
                            const QString &keys = {}, const QString &expected = {}) {
            QTest::newRow(tag) << text << from << to << keys << (keys.isEmpty() ? text : expected);
        };
        row("mixed", "a\r\nb\nc\rd\r\n");
        row("CR, CRLF", "\r\r\n\n\r");
        row("separators", "a\u2029b\u2028c\uFDD0d\uFDD1e");
        row("NUL, surrogates", QStringLiteral("a\u00A0b\t") + QChar(0) + QStringLiteral("😀\r\n𠀀"));
        row("no breaks", "a", 1, 1, "\rx", "a\nx");
        row("CRLF", "a\r\nb", 3, 3, "\rx", "a\r\nb\r\nx");
        row("CR", "a\rb", 3, 3, "\rx", "a\rb\rx");
        row("first rules", "a\r\nb\nc", 5, 5, "\rx", "a\r\nb\nc\r\nx");
        row("join at LF", "1\r\n2\n3\r4", 4, 4, "\b", "1\r\n23\r4");
        row("over two kinds", "1\r\n2\n3\r4", 0, 5, "Z", "Z\r4");
    }
    void entriesKeepTheirLineBreaksThroughEdits() {
        QFETCH(QString, text);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        TestRig rig;
        Window w(rig);
        w.copyText(text);
        QCOMPARE(w.form.txtMain->text(), text);
        w.moveTo(from, to);
        QTest::keyClicks(w.form.txtMain, keys);
        QCOMPARE(w.entry(0), expected);
        QCOMPARE(w.wholeCopies, 0);
    }

    void aMouseEditSurvivesSelectingAnotherEntry() {
        TestRig rig;
        Window w(rig);
        for (const char *text : {"entry", "other", "entry"})
            w.copyText(QString::fromLatin1(text));
        w.select(0);
        QApplication::clipboard()->setText(QStringLiteral(" edited"));
        w.form.txtMain->moveCursor(QTextCursor::End);
        std::unique_ptr<QMenu> menu(w.form.txtMain->createStandardContextMenu());
        QAction *paste = menu->findChild<QAction *>(QStringLiteral("edit-paste"));
        QVERIFY(paste);
        paste->trigger();
        w.select(2);
        QCOMPARE(w.form.txtMain->text(), QStringLiteral("entry"));
        w.select(0);
        QCOMPARE(w.form.txtMain->text(), QStringLiteral("entry edited"));

        // Text the program sets writes into no entry, nor do keys that change
        // nothing, which leave the entry's memory alone.
        w.copyText(QStringLiteral("captured"));
        w.form.txtMain->setPlainText(QStringLiteral("shown only"));
        w.select(0);
        const QChar *before = w.entry(0).constData();
        w.form.txtMain->moveCursor(QTextCursor::Start);
        for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Down, Qt::Key_End, Qt::Key_PageDown})
            QTest::keyClick(w.form.txtMain, key);
        QCOMPARE(w.entry(0).constData(), before);
        QCOMPARE(rig.m.TextPages.mid(0, 4),
                 (QStringList{"entry edited", "other", "entry", "captured"}));
    }

    void randomEditsAreFollowedExactly() {
        TestRig rig;
        Window w(rig);
        w.copyText(QStringLiteral("alpha\r\nbeta\r\n\r\ngamma 文本\r\ndelta\r\n"));
        TextBox *box = w.form.txtMain;
        QApplication::clipboard()->setText(QStringLiteral("x\ny\r\nz"));
        const QStringList keys{"Return", "Backspace", "Del",         "A",
                               "Ctrl+V", "Ctrl+Z",    "Ctrl+Shift+Z"};
        QRandomGenerator random(20240601);
        for (int step = 0; step < 200; ++step) {
            const int length = box->document()->characterCount() - 1;
            const int from = random.bounded(length + 1);
            w.moveTo(from, random.bounded(3) ? from : random.bounded(length + 1));
            const QKeyCombination key = QKeySequence(keys.at(random.bounded(int(keys.size()))))[0];
            QTest::keyClick(box, key.key(), key.keyboardModifiers());
            QString expected = box->document()->toRawText();
            expected.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
            QCOMPARE(w.entry(0), expected);
            QCOMPARE(box->textLength(), expected.size());
        }
        QCOMPARE(w.wholeCopies, 0);
    }

    void editsGoOnlyToSlotsThatExist() {
        // The current page, the slots there are, whether typing stores there.
        for (auto [page, slotCount, stored] :
             {std::tuple{100, 101, true}, {101, 101, false}, {101, 102, true}, {-1, 101, false}}) {
            TestRig rig;
            Window w(rig);
            rig.m.TextPages.resize(slotCount);
            w.form.CurTextPage = qint16(page);
            QTest::keyClicks(w.form.txtMain, QStringLiteral("typed"));
            QCOMPARE(rig.m.TextPages.size(), slotCount);
            QCOMPARE(rig.m.TextPages.join(QString()), stored ? QStringLiteral("typed") : QString());
        }
    }

    void copyingBackInEachView() {
        TestRig rig;
        Window w(rig);
        w.copyText(QStringLiteral("A\r\n"));
        w.copyText(QStringLiteral("B"));
        // The newest entry comes back without a new entry; an older one is new again.
        w.form.menuCopyThis_Click();
        w.select(0);
        w.form.menuCopyThis_Click();
        QCOMPARE(rig.m.TextPages.mid(0, 4), (QStringList{"A\r\n", "B", "A\r\n", ""}));

        // The picture view, also while hidden: no picture leaves the clipboard
        // alone; a picture comes back whole in either display mode.
        w.form.menuVImg->trigger();
        w.form.menuCopyThis_Click();
        QCOMPARE(rig.clipboard.getText(), QStringLiteral("A\r\n"));
        const QImage big = testPicture(900, 700, Qt::magenta);
        rig.clipboard.offerImage(big);
        w.form.menuShowAll_Click();
        w.form.menuCopyThis_Click();
        QCOMPARE(rig.clipboard.getImage().size(), big.size());
        QCOMPARE(w.form.lstImg->count(), 2);
    }
};

QTEST_MAIN(tst_TextBrowsing)
#include "tst_textbrowsing.moc"
