// SPDX-License-Identifier: MIT
// The clipboard watcher: what each kind of copy adds, and what it never does.
#include "testrig.h"

#include <QMimeData>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

class tst_Watcher : public QObject {
    Q_OBJECT

private slots:
    void eachKindOfCopy_data() {
        QTest::addColumn<QString>("formats"); // "type=value" and "picture", joined by ';'
        QTest::addColumn<QStringList>("taken");
        QTest::newRow("text") << u"text/plain=剪贴"_s << QStringList{u"剪贴"_s};
        QTest::newRow("picture") << u"picture"_s << QStringList{u"图像00"_s};
        QTest::newRow("both, text first")
            << u"picture;text/plain=a"_s << QStringList{u"a"_s, u"图像00"_s};
        QTest::newRow("rich text alone: an empty entry")
            << u"text/rtf={\\rtf1 x}"_s << QStringList{QString()};
        QTest::newRow("owner did not answer") << u"text/plain"_s << QStringList{};
        QTest::newRow("the same, rich text beside it")
            << u"text/plain;text/rtf={\\rtf1 x}"_s << QStringList{};
        QTest::newRow("files") << u"text/plain=/a;text/uri-list=file:///a"_s << QStringList{};
        QTest::newRow("secret") << u"text/plain=pw;x-kde-passwordManagerHint=secret;picture"_s
                                << QStringList{};
        QTest::newRow("cut off at a limit: told")
            << u"text/plain;refused"_s << QStringList{u"told"_s};
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
        for (const QString &format : formats.split(u';')) {
            // No value stands for an owner that did not answer: null data.
            const QByteArray value =
                format.contains(u'=') ? format.section(u'=', 1).toUtf8() : QByteArray();
            if (format == u"refused")
                rig.clipboard.refused = Reason::TextTooLarge;
            else
                format == u"picture" ? content->setImageData(testPicture(8, 8))
                                     : content->setData(format.section(u'=', 0, 0), value);
        }
        rig.clipboard.offer(content);
        QCOMPARE(order, taken);
        QCOMPARE(rig.tempPictures().size(), int(formats.contains(u"picture") && !taken.isEmpty()));
        // Every change is taken whole, whatever it adds.
        QCOMPARE(started.size() + finished.size(), 2);
    }

    void monitoringOffTakesNothing() {
        TestRig rig;
        QSignalSpy started(&rig.watcher, &ClipboardWatcher::captureStarted);
        rig.watcher.setMonitoring(false);
        rig.clipboard.offerText(u"no"_s);
        rig.clipboard.offerImage(testPicture(3, 3));
        QCOMPARE(started.size(), 0);
        QCOMPARE(rig.texts().count() + rig.pictures().count(), 0);
        // The same text twice is heard twice, kept once.
        rig.watcher.setMonitoring(true);
        rig.clipboard.offerText(u"twice"_s);
        rig.clipboard.offerText(u"twice"_s);
        QCOMPARE(started.size(), 2);
        QCOMPARE(rig.texts().count(), 1);
        // Stopped listening, nothing is heard.
        rig.watcher.stopListening();
        rig.clipboard.offerText(u"later"_s);
        QCOMPARE(started.size(), 2);
    }

    void unreadableTextNeverOverwritesTheOldest() {
        TestRig rig;
        for (int i = 0; i < 100; ++i)
            rig.clipboard.offerText(u"t%1"_s.arg(i));
        rig.clipboard.offer(u"text/plain"_s, QByteArray()); // no answer
        QCOMPARE(rig.texts().text(0), u"t0"_s);
        rig.clipboard.offer(u"text/plain"_s, QByteArray("")); // a copy of empty text
        QCOMPARE(rig.texts().text(0), QString());
    }
};

QTEST_MAIN(tst_Watcher)
#include "tst_watcher.moc"
