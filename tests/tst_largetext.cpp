// SPDX-License-Identifier: MIT
// A copy of 100 MB of text (50 million UTF-16 characters on 700,000 lines)
// goes the whole way: captured, shown, edited, saved and deleted, while the
// window keeps turning. How long the event loop stood still at each step is
// measured and printed, not asserted: machines differ.
#include "testrig.h"
#include "ui/frmmain.h"
#include "ui/textbox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QListWidget>
#include <QMimeData>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTimer>
#include <functional>

namespace {

constexpr qsizetype TextSize = 50'000'000;

struct Latency {
    double totalMs = 0;
    /// The longest time the event loop did not turn.
    double worstMs = 0;
};

/// Runs `steps` from the event loop, one per turn as input arrives, and
/// measures how long the loop stood still at worst, including the work the
/// steps leave for later turns (layout, painting).
Latency measure(int steps, const std::function<void(int)> &step) {
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 worst = 0;
    int turn = 0;
    QEventLoop loop;
    QTimer beat;
    beat.setInterval(0);
    QObject::connect(&beat, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        worst = std::max(worst, now - last);
        last = now;
    });
    QTimer driver;
    driver.setInterval(0);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (turn < steps)
            step(turn);
        else if (turn == steps + 20)
            loop.quit();
        ++turn;
    });
    last = clock.nsecsElapsed();
    beat.start();
    driver.start();
    loop.exec();
    return {clock.nsecsElapsed() / 1e6, worst / 1e6};
}

/// Text that the data file keeps as it is, escapes, and writes as references.
struct LargeText {
    QString text;
    QList<qsizetype> lineStarts;
};

LargeText largeText() {
    LargeText large;
    large.text.reserve(TextSize + 200);
    const QString words[] = {QStringLiteral("剪贴板里的一行文字"),
                             QStringLiteral("plain ASCII words"),
                             QStringLiteral("markup <b>&amp;</b>"), QStringLiteral("emoji 😀 here")};
    for (qsizetype line = 0; large.text.size() < TextSize; ++line) {
        large.lineStarts.append(large.text.size());
        large.text += QString::number(line).rightJustified(7, u'0');
        for (int w = 0; w < 4; ++w)
            large.text += u' ' + words[(line + w) % 4];
        large.text += QStringLiteral("\r\n");
    }
    large.text.truncate(TextSize);
    return large;
}

/// Presses a key that types `text`, as the keyboard or an input method does.
void typeInto(QWidget *widget, const QString &text) {
    const int key = text == u"\r" ? Qt::Key_Return : 0;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

/// The entry texts of a text data file, from its bytes.
QString savedText(const QByteArray &file) {
    const qsizetype from = file.indexOf("\r\n") + 2;
    const qsizetype to = file.lastIndexOf("<br><br>\r\n");
    if (from < 2 || to < from)
        return QStringLiteral("not a data file");
    const QString encoded = QStringDecoder("GBK").decode(file.mid(from, to - from));
    QString text;
    text.reserve(encoded.size());
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != u'&') {
            text += encoded[i];
            continue;
        }
        const qsizetype end = encoded.indexOf(u';', i);
        const QStringView entity = QStringView(encoded).sliced(i + 1, end - i - 1);
        if (entity == u"lt")
            text += u'<';
        else if (entity == u"gt")
            text += u'>';
        else if (entity == u"amp")
            text += u'&';
        else if (entity.startsWith(u"#x"))
            text += QString::fromUcs4(
                std::array{char32_t(entity.sliced(2).toUInt(nullptr, 16))}.data(), 1);
        i = end;
    }
    return text;
}

double residentMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

} // namespace

class tst_LargeText : public QObject {
    Q_OBJECT

private slots:
    void hundredMegabytesAllTheWay() {
        TestRig rig;
        frmMain form(rig.m);
        QObject::connect(&rig.clipboard, &Clipboard::changed, &form,
                         [&form] { form.MainWndProc(WinMsg::DrawClipboard, 0, 0); });
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const double startMb = residentMb();
        LargeText large = largeText();
        const qsizetype lines = large.lineStarts.size();
        QString edited(large.text.constData(), large.text.size()); // the test's own copy

        // Captured and shown. Afterwards the program alone holds the text, as
        // after another program's copy.
        const Latency capture = measure(1, [&](int) { rig.clipboard.offerText(large.text); });
        large.text = QString();
        rig.clipboard.setMimeData(new QMimeData);
        QCOMPARE(form.lstTxt->count(), 1);
        QCOMPARE(rig.m.TextPages.at(0).size(), TextSize);
        QCOMPARE(form.txtMain->textLength(), TextSize);
        QCOMPARE(form.txtMain->document()->blockCount(), lines);
        const double shownMb = residentMb();

        // Edited in the middle, key by key, one key per turn of the loop.
        const qsizetype line = lines / 2;
        QTextCursor cursor(form.txtMain->document()->findBlockByNumber(int(line)));
        form.txtMain->setTextCursor(cursor);
        const QStringList typed = QStringLiteral("E D I T _ < & > _ 编 辑 _ 😀").split(u' ');
        const Latency keys =
            measure(int(typed.size()), [&](int i) { typeInto(form.txtMain, typed.at(i)); });
        // A new line in what is now the widest one.
        const Latency enter =
            measure(1, [&](int) { typeInto(form.txtMain, QStringLiteral("\r")); });
        edited.insert(large.lineStarts.at(line), typed.join(QString()) + QStringLiteral("\r\n"));
        QCOMPARE(rig.m.TextPages.at(0).size(), edited.size());
        QVERIFY(rig.m.TextPages.at(0) == edited);
        // Paging to the end of the text is one key too.
        const Latency end = measure(
            1, [&](int) { QTest::keyClick(form.txtMain, Qt::Key_End, Qt::ControlModifier); });

        // Saved, which deletes it afterwards.
        const Latency save = measure(1, [&](int) { form.menuSaveAllTxt_Click(); });
        const double deletedMb = residentMb();
        QVERIFY(rig.dialogs.messages.isEmpty());
        QCOMPARE(form.lstTxt->count(), 0);
        QCOMPARE(form.txtMain->textLength(), 0);
        QCOMPARE(rig.m.TextPages.join(QString()), QString());
        const QStringList files =
            QDir(rig.m.TxtPath).entryList({QStringLiteral("*.htm")}, QDir::Files);
        QCOMPARE(files.size(), 1);
        QFile file(rig.m.TxtPath + u'/' + files.constFirst());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.endsWith("<br><br>\r\n</font></p></body></html>\r\n"));
        const QString saved = savedText(bytes);
        QCOMPARE(saved.size(), edited.size());
        QVERIFY(saved == edited);

        qInfo("100 MB text, %lld lines; event loop stood still at most:", qint64(lines));
        qInfo("  capture and show: %.0f ms", capture.worstMs);
        qInfo("  typing %lld characters mid-text: %.1f ms at worst", qint64(typed.size()),
              keys.worstMs);
        qInfo("  Enter there: %.0f ms", enter.worstMs);
        qInfo("  Ctrl+End: %.1f ms", end.worstMs);
        qInfo("  save all (%.0f MB written, then deleted): %.0f ms", double(bytes.size()) / 1e6,
              save.worstMs);
        qInfo("  resident memory: %.0f MB before, %.0f MB shown, %.0f MB after deleting "
              "(the test's own copy of 100 MB included)",
              startMb, shownMb, deletedMb);
    }
};

QTEST_MAIN(tst_LargeText)
#include "tst_largetext.moc"
