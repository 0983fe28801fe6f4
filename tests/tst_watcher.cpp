// SPDX-License-Identifier: MIT
// The copies the watcher is handed: what each kind adds and what it never
// does, what an offer holds read from its MIME types alone, and bad pictures,
// copies and journals past the limits, long runs of captures: nothing
// crashes, nothing wrong is kept, and nothing piles up (memory staying flat
// is bench/run's to measure).
#include "platform/clipcontent.h"
#include "platform/limits.h"
#include "testrig.h"

#include <QElapsedTimer>
#include <QImageReader>
#include <QMimeData>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace {

const QString WindowsFormat = u"application/x-qt-windows-mime;value=\"%1\""_s;

/// Descriptors open now; -1 where the system does not list them (/proc).
int openFileDescriptors() {
    const QDir open(QStringLiteral("/proc/self/fd"));
    return open.exists() ? int(open.entryList(QDir::Files | QDir::System).size()) : -1;
}

} // namespace

class tst_Watcher : public QObject {
    Q_OBJECT

private slots:
    void eachKindOfCopy_data() {
        QTest::addColumn<QString>("formats"); // "type=value" and "picture", joined by '|'
        QTest::addColumn<QStringList>("taken");
        const auto row = [](const char *tag, const QString &formats,
                            const QStringList &taken = {}) {
            QTest::newRow(tag) << formats << taken;
        };
        const QString history =
            u"text/plain=pin|"_s + WindowsFormat.arg("CanIncludeInClipboardHistory");
        row("text", "text/plain=剪贴", {"剪贴"});
        row("picture", "picture", {"图像00"});
        row("both, text first", "picture|text/plain=a", {"a", "图像00"});
        row("rich text alone: an empty entry", "text/rtf={\\rtf1 x}", {""});
        row("rich text by other names", "application/rtf={}|text/richtext=x", {""});
        row("owner did not answer", "text/plain");
        row("empty text: an empty entry", "text/plain=", {""});
        row("the same, rich text beside it", "text/plain|text/rtf={\\rtf1 x}");
        row("web link is text", "text/uri-list=https://example.org/|text/plain=x", {"x"});
        row("files", "text/plain=/a|text/uri-list=file:///a");
        row("gnome copied files", "x-special/gnome-copied-files=copy\nfile:///a|text/plain=/a");
        row("html only", "text/html=<b>x</b>");
        row("secret", "text/plain=pw|x-kde-passwordManagerHint=secret|picture");
        row("not a secret", "text/plain=pw|x-kde-passwordManagerHint=other", {"pw"});
        row("kept out of history", history + u"=\0\0\0\0"_s);
        row("history allowed", history + u"=\1\1\1\1"_s, {"pin"});
        row("excluded from monitors",
            "text/plain=x|" + WindowsFormat.arg("ExcludeClipboardContentFromMonitorProcessing"));
        row("cut off at a limit: told", "text/plain|refused", {"told"});
    }
    void eachKindOfCopy() {
        QFETCH(QString, formats);
        QFETCH(QStringList, taken);
        TestRig rig;
        QStringList order;
        connect(&rig.texts(), &TextEntries::rowsInserted, this,
                [&] { order << rig.texts().text(rig.texts().count() - 1); });
        connect(&rig.pictures(), &PictureEntries::rowsInserted, this,
                [&] { order << rig.pictures().caption(rig.pictures().count() - 1); });
        connect(&rig.store, &EntryStore::failed, this, [&] { order << u"told"_s; });
        QSignalSpy started(&rig.watcher, &ClipboardWatcher::captureStarted);
        QSignalSpy finished(&rig.watcher, &ClipboardWatcher::captureFinished);
        auto *content = new QMimeData;
        for (const QString &format : formats.split(u'|')) {
            // No value stands for an owner that did not answer: null data.
            const bool valued = format.contains(u'=') && !format.endsWith(u'"');
            const QByteArray value =
                valued ? QByteArray("").append(format.section(u'=', -1).toUtf8()) : QByteArray();
            if (format == u"refused")
                rig.clipboard.refused = Reason::TextTooLarge;
            else
                format == u"picture"
                    ? content->setImageData(testPicture(8, 8))
                    : content->setData(valued ? format.section(u'=', 0, -2) : format, value);
        }
        rig.clipboard.offer(content);
        QCOMPARE(order, taken);
        QCOMPARE(rig.tempPictures().size(), int(taken.contains(u"图像00"_s)));
        // Every change is taken whole, whatever it adds.
        QCOMPARE(started.size() + finished.size(), 2);
    }

    void stoppedListeningHearsNothing() {
        // (Monitoring switched off and on: tst_program, from the tray's menu.)
        TestRig rig;
        rig.watcher.stopListening();
        rig.clipboard.offerText(u"later"_s);
        QCOMPARE(rig.texts().count(), 0);
    }

    void whatIsFetchedOfALongHostileList() {
        // 50,000 types, some twice, a hundred Windows markers among them, the
        // text past the first hundred: looked at once each, a thousand at most.
        QStringList offered;
        for (int i = 0; i < 50'000; ++i)
            offered << u"x-made-up-%1"_s.arg(i % 40'000);
        for (int i = 0; i < 100; ++i)
            offered.insert(i * 3, WindowsFormat.arg(u"CanIncludeInClipboardHistory%1"_s.arg(i)));
        offered.insert(500, u"text/plain;charset=utf-8"_s);
        QElapsedTimer clock;
        clock.start();
        const QStringList looked = fetch::lookedAt(offered + offered);
        QCOMPARE(looked.size(), fetch::TypesLookedAt);
        const QStringList wanted = fetch::typesToFetch(looked);
        const QString marker = WindowsFormat.arg(u"CanIncludeInClipboardHistory0"_s);
        QCOMPARE(wanted, (QStringList{u"text/plain;charset=utf-8"_s, marker})); // one marker
        const ClipContent content =
            ClipContent::fromOffer(looked, {{wanted[0], "text"}, {marker, QByteArray(4, 0)}});
        QCOMPARE_LT(clock.elapsed(), 2000);
        QVERIFY(content.offer().secret);
        // Metafiles are pictures of their own.
        const auto noBytes = [](const QString &) {
            return QByteArray();
        };
        QCOMPARE(clipOfferOf({u"image/x-wmf"_s, u"image/x-emf"_s}, noBytes).kinds,
                 ClipKinds(ClipKind::Metafile));
        // A marker past its limit is only not had; a text or picture is told.
        QCOMPARE(fetch::refusedFor(marker), Reason::None);
        QCOMPARE(fetch::refusedFor(u"TEXT"_s), Reason::TextTooLarge);
        QCOMPARE(fetch::refusedFor(u"image/bmp"_s), Reason::PictureTooLarge);
    }

    void brokenPicturesAddNothingLargeOnesAreTaken() {
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
        // A screenshot of an 8K screen with alpha is taken whole.
        QImage screen(7680, 4320, QImage::Format_ARGB32);
        screen.fill(QColor(10, 20, 30, 200));
        r.clipboard.offerImage(std::exchange(screen, QImage()));
        QCOMPARE(QImageReader(r.pictures().file(1)).size(), QSize(7680, 4320));
    }

    void pastTheLimitsNothingIsTakenAndNoStartFails() {
        TestRig r;
        // One character too many, twice, then a picture of too many pixels: told once.
        for (int i = 0; i < 2; ++i)
            r.store.captureText(QString(limits::TextLength + 1, u'x'));
        r.store.capturePicture(QImage(8193, 8193, QImage::Format_Mono));
        QCOMPARE(r.texts().count() + r.pictures().count(), 0);
        QCOMPARE(r.told, QStringList{u"复制的内容太大（超过 67108864 个字符），没有记录。"_s});
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
        const int before = openFileDescriptors(), descriptors = before + 1; // the journal's
        for (int i = 0; i < 1000; ++i) {
            i % 2 ? r.clipboard.offerImage(
                        testPicture(64 + i % 7, 48, QColor::fromHsv(i % 360, 200, 200)))
                  : r.clipboard.offerText(QStringLiteral("capture %1 ").arg(i).repeated(50));
            QVERIFY(r.texts().count() <= 100 && r.pictures().count() <= 100);
            if (i % 100 == 99) {
                QVERIFY(r.tempPictures().size() <= 100);
                QTRY_VERIFY(before < 0 || openFileDescriptors() <= descriptors);
            }
        }
        if (before < 0)
            QSKIP("open descriptors not counted: no /proc/self/fd here");
        QVERIFY(before >= 3); // standard input, output and error at least: the count is real
    }
};

QTEST_MAIN(tst_Watcher)
#include "tst_watcher.moc"
