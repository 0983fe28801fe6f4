// SPDX-License-Identifier: MIT
// Browsing and editing text entries in the window, and copying back.
#include "testrig.h"
#include "ui/frmmain.h"
#include "ui/picturebox.h"
#include "ui/textbox.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>

namespace {

/// A window that hears the test clipboard, as after start-up.
struct Window {
    explicit Window(TestRig &r)
        : rig(r)
        , form(r.m) {
        QObject::connect(&rig.clipboard, &Clipboard::changed, &form,
                         [this] { form.MainWndProc(WinMsg::DrawClipboard, 0, 0); });
    }
    void copyText(const QString &text) { rig.clipboard.offerText(text); }
    void select(int row) { form.lstTxt->setCurrentRow(row); }
    void type(const QString &keys) {
        form.txtMain->moveCursor(QTextCursor::End);
        QTest::keyClicks(form.txtMain, keys);
    }

    TestRig &rig;
    frmMain form;
};

} // namespace

class tst_TextBrowsing : public QObject {
    Q_OBJECT

private slots:
    void anEditSurvivesSelectingAnotherEntry() {
        TestRig rig;
        Window w(rig);
        for (int i = 0; i < 6; ++i)
            w.copyText(QStringLiteral("entry %1").arg(i));
        QCOMPARE(w.form.CurTextPage, qint16(5));
        w.select(3);
        QCOMPARE(w.form.CurTextPage, qint16(3));
        QCOMPARE(w.form.txtMain->text(), QStringLiteral("entry 3"));
        w.type(QStringLiteral(" edited"));
        w.select(5);
        QCOMPARE(w.form.txtMain->text(), QStringLiteral("entry 5"));
        w.select(3);
        QCOMPARE(w.form.txtMain->text(), QStringLiteral("entry 3 edited"));
        QCOMPARE(rig.m.TextPages.at(3), QStringLiteral("entry 3 edited"));
        QCOMPARE(rig.m.TextPages.at(5), QStringLiteral("entry 5"));
    }

    void mouseEditsReachTheEntryAtOnce() {
        TestRig rig;
        Window w(rig);
        w.copyText(QStringLiteral("first"));
        w.copyText(QStringLiteral("second"));
        w.select(0);
        QApplication::clipboard()->setText(QStringLiteral(" pasted"));
        w.form.txtMain->moveCursor(QTextCursor::End);
        std::unique_ptr<QMenu> menu(w.form.txtMain->createStandardContextMenu());
        QAction *paste = menu->findChild<QAction *>(QStringLiteral("edit-paste"));
        QVERIFY(paste);
        paste->trigger();
        QCOMPARE(rig.m.TextPages.at(0), QStringLiteral("first pasted"));
        QCOMPARE(rig.m.TextPages.at(1), QStringLiteral("second"));
    }

    void textTheProgramSetsNeverWritesAnEntry() {
        TestRig rig;
        Window w(rig);
        w.copyText(QStringLiteral("kept"));
        w.select(0);
        // A capture shows its text in the box while entry 0 is current.
        w.copyText(QStringLiteral("captured"));
        QCOMPARE(rig.m.TextPages.at(0), QStringLiteral("kept"));
        QCOMPARE(rig.m.TextPages.at(1), QStringLiteral("captured"));
        // Setting the box by hand writes nowhere either.
        w.form.txtMain->setText(QStringLiteral("shown only"));
        w.form.txtMain->setPlainText(QStringLiteral("shown only"));
        QCOMPARE(rig.m.TextPages.at(1), QStringLiteral("captured"));
    }

    void windowsLineBreaksStayInTheEntryAndTheCopy() {
        TestRig rig;
        Window w(rig);
        w.copyText(QStringLiteral("one\r\ntwo"));
        w.form.txtMain->moveCursor(QTextCursor::End);
        QTest::keyClick(w.form.txtMain, Qt::Key_Return);
        w.type(QStringLiteral("three"));
        QCOMPARE(rig.m.TextPages.at(0), QStringLiteral("one\r\ntwo\r\nthree"));
        // Copying back gives the entry as it stands: the capture finds it newest
        // and adds nothing.
        w.form.menuCopyThis_Click();
        QCOMPARE(rig.clipboard.getText(), QStringLiteral("one\r\ntwo\r\nthree"));
        QCOMPARE(w.form.lstTxt->count(), 1);
    }

    void editsGoOnlyToSlotsThatExist_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("slotCount");
        QTest::addColumn<bool>("stored");
        QTest::newRow("first") << 0 << 101 << true;
        QTest::newRow("last of the 101") << 100 << 101 << true;
        QTest::newRow("past them") << 101 << 101 << false;
        QTest::newRow("added after a failed save") << 101 << 102 << true;
        QTest::newRow("none selected") << -1 << 101 << false;
        QTest::newRow("far out") << 32767 << 101 << false;
    }
    void editsGoOnlyToSlotsThatExist() {
        QFETCH(int, page);
        QFETCH(int, slotCount);
        QFETCH(bool, stored);
        TestRig rig;
        Window w(rig);
        rig.m.TextPages.resize(slotCount);
        w.form.CurTextPage = qint16(page);
        w.type(QStringLiteral("typed"));
        QCOMPARE(rig.m.TextPages.size(), slotCount);
        if (page >= 0 && page < slotCount)
            QCOMPARE(rig.m.TextPages.at(page), stored ? QStringLiteral("typed") : QString());
        QCOMPARE(rig.m.TextPages.join(QString()), stored ? QStringLiteral("typed") : QString());
    }

    void afterDeletingAllTextTypingGoesToTheCurrentSlot() {
        TestRig rig;
        Window w(rig);
        for (int i = 0; i < 4; ++i)
            w.copyText(QStringLiteral("t%1").arg(i));
        w.select(2);
        w.form.menuDelAllTxt_Click();
        QCOMPARE(w.form.CurTextPage, qint16(2));
        QCOMPARE(w.form.txtMain->text(), QString());
        w.type(QStringLiteral("orphan"));
        QCOMPARE(rig.m.TextPages.at(2), QStringLiteral("orphan"));
        // The next capture is entry 0 and listed as usual.
        w.copyText(QStringLiteral("fresh"));
        QCOMPARE(w.form.lstTxt->item(0)->text(), QStringLiteral("文本00"));
        QCOMPARE(rig.m.TextPages.at(0), QStringLiteral("fresh"));
    }

    void copyingBackInEachView() {
        TestRig rig;
        Window w(rig);
        w.copyText(QStringLiteral("A"));
        w.copyText(QStringLiteral("B"));
        // The newest entry comes back without a new entry; an older one is new again.
        w.form.menuCopyThis_Click();
        QCOMPARE(w.form.lstTxt->count(), 2);
        w.select(0);
        w.form.menuCopyThis_Click();
        QCOMPARE(w.form.lstTxt->count(), 3);
        QCOMPARE(rig.m.TextPages.at(2), QStringLiteral("A"));

        // The picture view with no picture leaves the clipboard alone.
        w.form.menuVImg->trigger();
        w.form.menuCopyThis_Click();
        QCOMPARE(rig.clipboard.getText(), QStringLiteral("A"));
        // With a picture: the whole picture, whatever the display mode; it comes
        // back as a new entry.
        const QImage big = testPicture(900, 700, Qt::magenta);
        rig.clipboard.offerImage(big);
        w.form.menuShowAll_Click();
        w.form.menuCopyThis_Click();
        QCOMPARE(rig.clipboard.getImage().size(), big.size());
        QCOMPARE(w.form.lstImg->count(), 2);
        // The view is read from the frame, also while the window is hidden.
        QVERIFY(!w.form.isVisible());

        // Emptying the clipboard adds nothing.
        w.form.menuClearCB_Click();
        QVERIFY(rig.clipboard.formats().isEmpty());
        QCOMPARE(w.form.lstTxt->count(), 3);
        QCOMPARE(w.form.lstImg->count(), 2);
    }

    void aTenMegabyteEntryStaysResponsive() {
        TestRig rig;
        Window w(rig);
        w.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        QString big;
        const QString line =
            QStringLiteral("0123456789 abcdefghij ABCDEFGHIJ 文本 klmnopqrstuvwxyz ..\r\n");
        big.reserve(10'000'000 + line.size());
        while (big.size() < 10'000'000)
            big += line;
        QElapsedTimer clock;
        clock.start();
        w.copyText(big);
        const qint64 setMs = clock.elapsed();
        QCOMPARE(rig.m.TextPages.at(0).size(), big.size());

        // Keys that change nothing do nothing to the entry.
        const QChar *before = rig.m.TextPages.at(0).constData();
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_End, Qt::Key_PageDown})
            QTest::keyClick(w.form.txtMain, key);
        QCOMPARE(rig.m.TextPages.at(0).constData(), before);

        // Typed keys change the entry where it lies, once it has room to grow.
        QTextCursor middle = w.form.txtMain->textCursor();
        middle.setPosition(w.form.txtMain->document()->characterCount() / 2);
        w.form.txtMain->setTextCursor(middle);
        QTest::keyClick(w.form.txtMain, Qt::Key_X);
        const QChar *grown = rig.m.TextPages.at(0).constData();
        const int keys = 50;
        clock.restart();
        for (int i = 0; i < keys; ++i)
            QTest::keyClick(w.form.txtMain, Qt::Key_Y);
        const double perKeyMs = clock.nsecsElapsed() / 1e6 / keys;
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(w.form.txtMain, Qt::Key_Return);
        QCOMPARE(rig.m.TextPages.at(0).constData(), grown);
        const QString &entry = rig.m.TextPages.at(0);
        QCOMPARE(entry.size(), big.size() + 1 + keys + 5 * 2);
        QCOMPARE(entry.count(u'\n'), big.count(u'\n') + 5);
        QCOMPARE(entry.count(QStringLiteral("\r\n")), big.count(u'\n') + 5);
        qInfo("10 MB entry: captured and shown in %lld ms; %.3f ms per typed letter", setMs,
              perKeyMs);
    }
};

QTEST_MAIN(tst_TextBrowsing)
#include "tst_textbrowsing.moc"
