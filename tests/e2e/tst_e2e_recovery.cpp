// SPDX-License-Identifier: MIT
// Nothing caught is lost when the program is killed, and its pictures are
// read again; a huge one-line copy copied out of the view is the same line.
#include "harness.h"

#include <QImage>
#include <QPainter>

using namespace e2e;
using namespace Qt::StringLiterals;

class tst_E2eRecovery : public QObject {
    Q_OBJECT

    Desktop desktop;
    Copier copier;

private slots:
    void initTestCase() {
        if (const QString why = unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QVERIFY(desktop.startTrayHost() && desktop.startWindowManager());
    }

    void aKilledProgramLosesNothing() {
        // A hundred and one texts: 文本00 holds the newest, 文本01 the oldest.
        Orlo orlo;
        QVERIFY(orlo.start());
        for (int i = 1; i <= 101; ++i)
            QCOMPARE(orlo.take(copier.text(u"t%1 😀"_s.arg(i))).size(), 1);
        // A picture with a word in it.
        QImage image(400, 80, QImage::Format_RGB32);
        image.fill(Qt::green);
        QPainter painter(&image);
        painter.setFont(QFont(u"WenQuanYi Zen Hei"_s, 32));
        painter.drawText(20, 60, u"Sunflower"_s);
        const QString png = orlo.folder() + u"/green.png"_s;
        QVERIFY(painter.end() && image.save(png));
        QCOMPARE(orlo.take(copier.file(png, u"image/png"_s)).size(), 1);
        const auto read = [&] {
            return orlo.last(u"read"_s).toString().contains(u"Sunflower"_s);
        };
        QVERIFY(QTest::qWaitFor(read, 60000));
        orlo.kill();

        // Its journal torn at the end, as a power cut in the middle of a write would.
        const QString journal = orlo.folder() + u"/data/image/temp/entries.journal"_s;
        QVERIFY(QFile::resize(journal, QFileInfo(journal).size() - 3));
        QVERIFY(orlo.start());
        QCOMPARE(orlo.status(), u"已恢复上次未保存的 100 条文本和 1 张图片，跳过 1 条损坏的记录"_s);
        QCOMPARE(QImage(orlo.folder() + u"/data/image/temp/图像00.bmp"_s).pixelColor(1, 1),
                 QColor(Qt::green));
        QVERIFY(QTest::qWaitFor(read, 60000)); // taken back, read again

        // The next copy replaces the oldest; a second crash loses nothing.
        QCOMPARE(orlo.take(copier.text(u"t102"_s)).value(0).shown(), u"文本01 t102"_s);
        orlo.kill();
        QVERIFY(orlo.start());
        QCOMPARE(orlo.status(), u"已恢复上次未保存的 100 条文本和 1 张图片"_s);
        QVERIFY(orlo.showWindow() && orlo.pressKeys(u"ctrl+s"_s));
        const QList<QByteArray> lines = savedPage(orlo.folder() + u"/data/text"_s).split('\n');
        QCOMPARE(lines.mid(1, 3), (QList<QByteArray>{"t101 &#x1F600;<br><br>\r", "t102<br><br>\r",
                                                     "t3 &#x1F600;<br><br>\r"}));

        // An end nobody is asked about (the session's) loses nothing either.
        QCOMPARE(orlo.take(copier.text(u"t103"_s)).size(), 1);
        orlo.process().terminate();
        QVERIFY(orlo.process().waitForEnd(10000));
        orlo.kill(); // only forgets what it reported
        QVERIFY(orlo.start());
        QCOMPARE(orlo.entries().size(), 1);
        QCOMPARE(orlo.status(), u"已恢复上次未保存的 1 条文本和 0 张图片"_s);
    }

    void killedWhileTakingTenMegabytes() {
        Orlo orlo;
        QVERIFY(orlo.start());
        QCOMPARE(orlo.take(copier.text(u"before"_s)).size(), 1);
        const QString journal = orlo.folder() + u"/data/image/temp/entries.journal"_s;
        const qint64 before = QFileInfo(journal).size();
        QVERIFY(copier.copyText(QString(10'000'000, u'长')));
        // Killed once the journal has begun to take it.
        QVERIFY(QTest::qWaitFor([&] { return QFileInfo(journal).size() > before; }, 10000));
        orlo.kill();
        QVERIFY(orlo.start());
        QList<Entry> found = orlo.entries();
        found.removeIf([](const Entry &entry) { return !entry.caption.startsWith(u"文本"_s); });
        QCOMPARE(found.value(0).text, u"before"_s);
        QVERIFY(found.size() == 1 || found.value(1).text == QString(10'000'000, u'长'));
    }

    void aHugeOneLineCopiedOutOfTheView() {
        // Minified code, a data address: three million characters, no line
        // break. Shown, the line is the entry's, whole; copied out of the view
        // it is the same text, so no new entry.
        Orlo orlo;
        QVERIFY(orlo.start() && orlo.showWindow());
        const QString shown = u"data:image/png;base64,"_s + QString(3'000'000, u'A');
        QCOMPARE(orlo.take(copier.text(shown)).value(0).text.size(), shown.size());
        const QString click = u"xdotool mousemove --window %1 300 200 click 1"_s.arg(orlo.window());
        QVERIFY(orlo.take([&] { return run(click).ok && orlo.pressKeys(u"ctrl+a ctrl+c"_s); })
                    .isEmpty());
        QVERIFY(run(u"xclip -o -selection clipboard"_s, 10000).output == shown);
    }
};

QTEST_MAIN(tst_E2eRecovery)
#include "tst_e2e_recovery.moc"
