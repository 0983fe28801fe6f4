// SPDX-License-Identifier: MIT
// A three-million-character line captured, shown and edited. How long the
// event loop stood still is printed, not asserted.
#include "ui/texteditor.h"
#include "windowrig.h"

#include <QTextBlock>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

/// The longest turn of the event loop: `step` and the turns after it, which do
/// the work it left (layout, painting).
double stallMs(const std::function<void()> &step) {
    qint64 worst = 0;
    for (int turn = 0; turn <= 20; ++turn) {
        QElapsedTimer clock;
        clock.start();
        turn == 0 ? step() : QCoreApplication::processEvents();
        worst = std::max(worst, clock.nsecsElapsed());
    }
    return double(worst) / 1e6;
}

} // namespace

class tst_LargeText : public QObject {
    Q_OBJECT

private slots:
    void aHugeLineWithoutBreaks() {
        WindowRig rig;
        MainWindow &form = rig.form;
        TextEditor *box = rig.find<TextEditor>("txtMain");
        // Minified code: three million characters, a few of them outside the basic plane.
        QString line = u"var a=\"😀\";"_s.repeated(300'000);
        // While the window is hidden, the text box is left alone: the entry is stored.
        const double hidden = stallMs([&] { rig.clipboard.offerText(line); });
        QCOMPARE(rig.texts().text(0), line);
        QCOMPARE(box->textLength(), 0);
        // Shown, no block the editor lays out holds more than a few thousand characters.
        const double shown = stallMs([&] {
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
        });
        QCOMPARE(box->text(), line);
        int longest = 0;
        for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next())
            longest = std::max(longest, block.length());
        QVERIFY2(longest <= 4096 + 2, qPrintable(QString::number(longest))); // a pair stays whole
        // Edited at its end, the entry follows.
        box->moveCursor(QTextCursor::End);
        const double key = stallMs([&] { QTest::keyClick(box, Qt::Key_X); });
        QCOMPARE(rig.texts().text(0), line + u'x');
        qInfo("a 3-million-character line; the event loop stood still %.0f ms capturing it "
              "hidden, %.0f ms showing it, %.1f ms a key typed at its end",
              hidden, shown, key);
    }
};

QTEST_MAIN(tst_LargeText)
#include "tst_largetext.moc"
