// SPDX-License-Identifier: MIT
// What a clipboard offer holds, read from its MIME types.
#include "platform/clipcontent.h"
#include "platform/limits.h"
#include "testrig.h"

#include <QElapsedTimer>
#include <QMimeData>
#include <QTest>

using Mime = QList<QPair<QString, QByteArray>>;
using namespace Qt::StringLiterals;

namespace {

const QString WindowsFormat = u"application/x-qt-windows-mime;value=\"%1\""_s;

} // namespace

class tst_ClipboardOffer : public QObject {
    Q_OBJECT
private slots:
    void kindsAndSecrets_data() {
        QTest::addColumn<Mime>("offered");
        QTest::addColumn<int>("kinds");
        QTest::addColumn<bool>("secret");
        const int text = int(ClipKind::Text), picture = int(ClipKind::Picture);
        const auto row = [](const char *name, const Mime &mime, int kinds, bool secret = false) {
            QTest::newRow(name) << mime << kinds << secret;
        };
        row("plain text", {{"text/plain;charset=utf-8", "hi"}}, text);
        row("rich text", {{"application/rtf", "{}"}, {"text/richtext", "x"}},
            int(ClipKind::RichText));
        row("png and text",
            {{"image/png", encodedPicture(testPicture(4, 4))}, {"UTF8_STRING", "t"}},
            text | picture);
        row("metafiles", {{"image/x-wmf", "x"}, {"image/x-emf", "x"}}, int(ClipKind::Metafile));
        // A file manager offers the paths as text as well; no text is taken from it.
        row("file manager copy",
            {{"text/uri-list", "file:///home/u/a.txt\r\n"}, {"text/plain", "/home/u/a.txt"}},
            int(ClipKind::Files));
        row("gnome copied files", {{"x-special/gnome-copied-files", "copy\nfile:///tmp/a"}},
            int(ClipKind::Files));
        row("web link is text", {{"text/uri-list", "https://example.org/"}, {"text/plain", "x"}},
            text);
        row("html only", {{"text/html", "<b>x</b>"}}, 0);
        row("password manager", {{"text/plain", "pw"}, {"x-kde-passwordManagerHint", "secret"}},
            text, true);
        row("not a secret", {{"text/plain", "pw"}, {"x-kde-passwordManagerHint", "other"}}, text);
        row("kept out of history",
            {{"text/plain", "pin"},
             {WindowsFormat.arg("CanIncludeInClipboardHistory"), QByteArray(4, 0)}},
            text, true);
        row("history allowed",
            {{"text/plain", "pin"},
             {WindowsFormat.arg("CanIncludeInClipboardHistory"), QByteArray(4, 1)}},
            text);
        row("excluded from monitors",
            {{WindowsFormat.arg("ExcludeClipboardContentFromMonitorProcessing"), QByteArray()}}, 0,
            true);
    }
    void kindsAndSecrets() {
        QFETCH(Mime, offered);
        QFETCH(int, kinds);
        QFETCH(bool, secret);
        QMimeData data;
        for (const auto &[type, bytes] : offered)
            data.setData(type, bytes);
        const ClipOffer offer = clipOfferOf(&data);
        QCOMPARE(int(offer.kinds.toInt()), kinds);
        QCOMPARE(offer.secret, secret);
        QCOMPARE(offer.mimeTypes.size(), offered.size());
        QCOMPARE(clipOfferOf(nullptr).kinds.toInt(), 0);
        // Read from the types alone, as the watchers' threads do, it is the same.
        const ClipOffer pure =
            clipOfferOf(data.formats(), [&](auto &type) { return data.data(type); });
        QCOMPARE(pure.kinds, offer.kinds);
        QCOMPARE(pure.secret, offer.secret);
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
        // A marker is a word or a list of paths; one past it is only not had.
        QCOMPARE(fetch::limitFor(marker), 1024);
        QCOMPARE(fetch::limitFor(u"text/uri-list"_s), 16 << 20);
        QCOMPARE(fetch::limitFor(u"UTF8_STRING"_s), limits::TextTransfer);
        QCOMPARE(fetch::limitFor(u"image/png"_s), limits::PictureTransfer);
        QCOMPARE(fetch::refusedFor(marker), Reason::None);
        QCOMPARE(fetch::refusedFor(u"TEXT"_s), Reason::TextTooLarge);
        QCOMPARE(fetch::refusedFor(u"image/bmp"_s), Reason::PictureTooLarge);
    }
};

QTEST_MAIN(tst_ClipboardOffer)
#include "tst_clipboardoffer.moc"
