// SPDX-License-Identifier: MIT
// Bad pictures and long runs of captures: nothing crashes, nothing wrong is
// kept, and nothing piles up.
#include "testrig.h"

#include "platform/limits.h"

#include <QImageReader>
#include <QSignalSpy>
#include <QtEndian>

namespace {

quint32 crc32(const char *data, int size) {
    quint32 crc = 0xFFFFFFFFu;
    for (int i = 0; i < size; ++i) {
        crc ^= quint8(data[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

/// A valid PNG whose header claims another size, with a correct checksum so
/// that only the size itself can give it away.
QByteArray pngClaiming(quint32 width, quint32 height) {
    QByteArray png = encodedPicture(testPicture(8, 8));
    // IHDR starts at byte 8: length (4), type (4), width (4), height (4), 5 more, CRC.
    qToBigEndian(width, png.data() + 16);
    qToBigEndian(height, png.data() + 20);
    qToBigEndian(crc32(png.constData() + 12, 17), png.data() + 29);
    return png;
}

int openFileDescriptors() {
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
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

class tst_BadInput : public QObject {
    Q_OBJECT
private slots:
    void brokenPicturesAddNothing_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray png = encodedPicture(testPicture(64, 64));
        QTest::newRow("truncated") << png.left(png.size() / 2);
        QTest::newRow("claims 100000 x 100000") << pngClaiming(100000, 100000);
        QTest::newRow("zero size") << pngClaiming(0, 0);
        QTest::newRow("not a picture") << QByteArray("hello, world");
    }
    void brokenPicturesAddNothing() {
        QFETCH(QByteArray, bytes);
        TestRig r;
        const double before = residentMb();
        r.clipboard.offer(QStringLiteral("image/png"), bytes);
        QCOMPARE(r.pictures().count(), 0);
        QVERIFY(r.tempPictures().isEmpty());
        QVERIFY2(residentMb() - before < 200, "a lying header made the reader allocate");
        r.clipboard.offer(QStringLiteral("image/png"), encodedPicture(testPicture(3, 2)));
        QCOMPARE(r.tempPictures(), QStringList{QStringLiteral("图像00.bmp")});
    }

    void screenshotOfAn8kScreenWithAlphaIsTaken() {
        TestRig r;
        QImage screen(7680, 4320, QImage::Format_ARGB32);
        screen.fill(QColor(10, 20, 30, 200));
        r.clipboard.offerImage(std::exchange(screen, QImage()));
        QCOMPARE(QImageReader(r.pictures().file(0)).size(), QSize(7680, 4320));
    }

    void pastTheLimitsNothingIsTakenAndNoStartFails() {
        TestRig r;
        QSignalSpy told(&r.store, &EntryStore::failed);
        // One character too many, twice, then a picture of too many pixels: told once.
        for (int i = 0; i < 2; ++i)
            r.store.captureText(QString(limits::TextLength + 1, u'x'));
        r.store.capturePicture(QImage(8193, 8193, QImage::Format_Mono));
        QCOMPARE(r.texts().count() + r.pictures().count(), 0);
        QCOMPARE(told.size(), 1);
        QCOMPARE(told.at(0).at(0).value<UserMessage>().text,
                 QStringLiteral("复制的内容太大（超过 64 MB），没有记录。"));
        // A journal of 2 GB of garbage is read in seconds; one of 30 GB, more
        // than the entries can ever be, is set aside unread.
        for (const qint64 size : {qint64(2) << 30, qint64(30) << 30}) {
            QFile journal(r.store.folders().temp() + QStringLiteral("/entries.journal"));
            QVERIFY(journal.open(QIODevice::WriteOnly) && journal.write("ORLOJRN2") &&
                    journal.resize(size));
            journal.close();
            EntryStore next(DataFolders(r.dir.path()), r.options(false), r.clock);
            const Recovery recovered = next.recover();
            QCOMPARE(recovered.damaged, int(size < (qint64(3) << 30)));
            QCOMPARE(recovered.setAside.isEmpty(), size < (qint64(3) << 30));
        }
    }

    void thousandCapturesKeepAtMostAHundredOfEach() {
        TestRig r;
        const int descriptors = openFileDescriptors() + 1; // the journal's
        double settled = 0, peak = 0;
        for (int i = 0; i < 1000; ++i) {
            if (i % 2)
                r.clipboard.offerImage(
                    testPicture(64 + i % 7, 48, QColor::fromHsv(i % 360, 200, 200)));
            else
                r.clipboard.offerText(QStringLiteral("capture %1 ").arg(i).repeated(50));
            QVERIFY(r.texts().count() <= 100 && r.pictures().count() <= 100);
            if (i % 100 == 99) {
                QVERIFY(r.tempPictures().size() <= 100);
                QTRY_VERIFY(openFileDescriptors() <= descriptors);
                settled = i == 299 ? residentMb() : settled;
                peak = std::max(peak, residentMb());
            }
        }
        QVERIFY2(peak - settled < 20, qPrintable(QStringLiteral("grew %1 MB").arg(peak - settled)));
    }
};

QTEST_MAIN(tst_BadInput)
#include "tst_badinput.moc"
