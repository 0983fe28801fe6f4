// SPDX-License-Identifier: MIT
// What other programs copy, as the running program takes it: one program
// start for the whole group, next to a tray host.
#include "harness.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QRandomGenerator>

using namespace e2e;
using namespace Qt::StringLiterals;

namespace {

QStringList texts(const QList<Entry> &entries) {
    QStringList shown;
    for (const Entry &entry : entries)
        shown << entry.text;
    return shown;
}

/// Offers `data` from this process, as another program would.
std::function<bool()> offered(QMimeData *data) {
    return [data] {
        return (QGuiApplication::clipboard()->setMimeData(data), true);
    };
}

} // namespace

class tst_E2eCapture : public QObject {
    Q_OBJECT

    Desktop desktop;
    Copier copier;
    std::unique_ptr<Orlo> orlo;

private slots:
    void initTestCase() {
        if (const QString why = unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QVERIFY(desktop.startTrayHost());
        orlo = std::make_unique<Orlo>();
        QVERIFY2(orlo->start(), "the program's icon did not appear in the tray");
    }

    void cleanupTestCase() {
        QGuiApplication::clipboard()->clear(); // this process must not stay the owner
        orlo.reset();
    }

    void aBurstWhileTheWindowIsBusy() {
        // 3M characters, 6 MB of UTF-8: the owner hands it over in pieces.
        const QString big = u"剪贴板abc"_s.repeated(500'000);
        QCOMPARE(texts(orlo->take([&] { return copier.copy(u"UTF8_STRING"_s, big.toUtf8()); })),
                 QStringList{big});
        const qsizetype known = orlo->entries().size(), had = orlo->changes(true);
        QStringList burst;
        for (int i = 0; i < 98; ++i)
            burst << u"burst %1;"_s.arg(i);
        QVERIFY(orlo->showWindow());
        orlo->command("block 3000"); // and its thread kept busy for 3 s besides
        QTRY_VERIFY(!orlo->last(u"blocking"_s).isUndefined());
        QVERIFY(copier.burst(burst));
        // The last stays on the clipboard: once it is listed, all are handled.
        QTRY_COMPARE_WITH_TIMEOUT(orlo->entries().constLast().text, burst.last(), 20'000);
        // A copy replaced before any program could ask for it is lost to X11
        // itself; every one whose text the program had is listed, in order,
        // and is where the user finds it: in the file that Ctrl+S writes.
        const QStringList listed = texts(orlo->entries().mid(known));
        QCOMPARE(listed.size(), orlo->changes(true) - had);
        qsizetype at = -1;
        for (const QString &text : listed)
            QVERIFY((at = burst.indexOf(text, at + 1)) >= 0);
        QVERIFY(orlo->pressKeys(u"ctrl+s"_s));
        QStringList inFile;
        for (const QByteArray &line : savedPage(orlo->folder() + u"/data/text"_s).split('\n'))
            if (line.startsWith("burst "))
                inFile << QString::fromLatin1(line.first(line.indexOf(';') + 1));
        QCOMPARE(inFile, listed);
    }

    void aScreenshotWithItsWordsComesInPiecesTextFirst() {
        QImage screen(3840, 2160, QImage::Format_RGB32);
        screen.fill(QColor(236, 236, 236));
        QRandomGenerator random(7);
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < screen.width(); ++x)
                screen.setPixel(x, y, random.generate() | 0xff000000);
        auto *data = new QMimeData;
        data->setText(u"the words of the screenshot"_s);
        data->setImageData(screen);
        const QList<Entry> taken = orlo->take(offered(data));
        QCOMPARE(taken.size(), 2);
        QVERIFY(taken[0].caption.startsWith(u"文本"_s));
        const QImage stored(orlo->folder() + u"/data/image/temp/"_s + taken[1].caption + u".bmp"_s);
        QCOMPARE(stored.convertToFormat(screen.format()), screen);
    }

    void everyTextTypeIsRead_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("UTF-8 as text/plain only")
            << u"text/plain;charset=UTF-8"_s << u"纯文本 1"_s.toUtf8() << u"纯文本 1"_s;
        QTest::newRow("STRING is Latin-1") << u"STRING"_s << QByteArray("caf\xe9 3") << u"café 3"_s;
        QTest::newRow("simple COMPOUND_TEXT")
            << u"COMPOUND_TEXT"_s << QByteArray("a\xe9 \x1b%G\xe4\xb8\xad\x1b%@ 4") << u"aé 中 4"_s;
    }
    void everyTextTypeIsRead() {
        QFETCH(QString, type);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(texts(orlo->take([&] { return copier.copy(type, bytes); })), QStringList{text});
    }

    void aSecretGivesNone() {
        // Its mark is read from the owner like any type (a password manager's).
        auto *data = new QMimeData;
        data->setText(u"password"_s);
        data->setData(u"x-kde-passwordManagerHint"_s, "secret");
        QCOMPARE(texts(orlo->take(offered(data))), QStringList());
    }
};

QTEST_MAIN(tst_E2eCapture)
#include "tst_e2e_capture.moc"
