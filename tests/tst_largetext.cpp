// SPDX-License-Identifier: MIT
// 100 MB of text (50 million UTF-16 characters on 700,000 lines) captured, shown, edited,
// saved and deleted. How long the event loop stood still is printed, not asserted.
#include "ui/textbox.h"
#include "ui/textpane.h"
#include "windowrig.h"

#include <QMimeData>
#include <QStringEncoder>
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
        frmMain &form = rig.form;
        TextBox *box = form.fmTxt->txtMain;
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

    void hundredMegabytesAllTheWay() {
        WindowRig rig;
        frmMain &form = rig.form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        // Characters kept as they are, escaped, and written as references.
        const QString line =
            u"剪贴板里的一行文字 plain ASCII words, markup <b>&amp;</b> and an emoji 😀 here\r\n"_s;

        // Afterwards the program alone holds it, as after another program's copy.
        TextBox *box = form.fmTxt->txtMain;
        const double capture = stallMs([&] { rig.clipboard.offerText(line.repeated(700'000)); });
        rig.watcher.stopListening();
        rig.clipboard.clear();
        QCOMPARE(box->textLength(), 700'000 * line.size());
        QCOMPARE(box->document()->blockCount(), 700'001);

        // Typed into the middle key by key, a new line there, and off to the end.
        stallMs(
            [&] { box->setTextCursor(QTextCursor(box->document()->findBlockByNumber(350'000))); });
        double keys = 0;
        for (const QString &k : u"E D I T _ < & > _ 编 辑 _ 😀"_s.split(u' '))
            keys =
                std::max(keys, stallMs([&] { QTest::sendKeyEvent(QTest::Click, box, {}, k, {}); }));
        const double enter = stallMs([&] { QTest::keyClick(box, Qt::Key_Return); });
        const double end = stallMs([&] { QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier); });
        const QString edited = line.repeated(350'000) + u"EDIT_<&>_编辑_😀\r\n"_s;
        QVERIFY(rig.texts().text(0) == edited + line.repeated(350'000));

        // Saving deletes it afterwards.
        const double save = stallMs([&] { form.menuSaveAllTxt_Click(); });
        QVERIFY(rig.dialogs.messages.isEmpty());
        QCOMPARE(rig.texts().count() + box->textLength(), 0);
        const QFileInfoList files = QDir(rig.store.options().txtPath).entryInfoList({u"*.htm"_s});
        QCOMPARE(files.size(), 1);
        QFile file(files[0].filePath());
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        QStringEncoder gbk("GBK");
        const QByteArray saved =
            gbk(u"剪贴板里的一行文字 plain ASCII words, markup &lt;b&gt;&amp;amp;"
                u"&lt;/b&gt; and an emoji &#x1F600; here\r\n"_s);
        QVERIFY(bytes.endsWith(
            saved.repeated(350'000) + gbk(u"EDIT_&lt;&amp;&gt;_编辑_&#x1F600;\r\n"_s) +
            saved.repeated(350'000) + "<br><br>\r\n</font></p></body></html>\r\n"));

        qInfo("100 MB of text; the event loop stood still %.0f ms capturing and showing it, "
              "%.1f ms a key typed, %.0f ms Enter, %.1f ms Ctrl+End, %.0f ms saving %.0f MB",
              capture, keys, enter, end, save, double(bytes.size()) / 1e6);
    }
};

QTEST_MAIN(tst_LargeText)
#include "tst_largetext.moc"
