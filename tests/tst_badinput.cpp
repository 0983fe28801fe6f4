// SPDX-License-Identifier: MIT
// Bad pictures, copies and journals past the limits, long runs of captures:
// nothing crashes, nothing wrong is kept, and nothing piles up (memory
// staying flat is bench/run's to measure).
#include "testrig.h"

#include "platform/limits.h"

#include <QImageReader>
#include <QSignalSpy>

namespace {

/// Descriptors open now, where the system tells (Linux).
int openFileDescriptors() {
#ifdef Q_OS_LINUX
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
#else
    return 0;
#endif
}

} // namespace

class tst_BadInput : public QObject {
    Q_OBJECT
private slots:
    void brokenPicturesAddNothing() {
        // Truncated, claiming 100000 × 100000 or 0 × 0 pixels, or no picture at all.
        TestRig r;
        for (const char *name :
             {"truncated", "claims-100000x100000", "zero-size", "not-a-picture"}) {
            QFile file(QFINDTESTDATA(QStringLiteral("data/%1.png").arg(QLatin1String(name))));
            QVERIFY(file.open(QIODevice::ReadOnly));
            r.clipboard.offer(QStringLiteral("image/png"), file.readAll());
        }
        QVERIFY(r.tempPictures().isEmpty());
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
                 QStringLiteral("复制的内容太大（超过 67108864 个字符），没有记录。"));
        QVERIFY(messageFor({Reason::TextsTooLarge, {}, {}})
                    .text.startsWith(u"所有文本条目加在一起已满"));
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
            }
        }
    }
};

QTEST_MAIN(tst_BadInput)
#include "tst_badinput.moc"
