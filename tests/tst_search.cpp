// SPDX-License-Identifier: MIT
// Finding entries again: the matching rules, the words read in pictures in
// the background, and the search field of the window.
#include "core/archive.h"
#include "core/archiveindex.h"
#include "core/picturereader.h"
#include "core/search.h"
#include "core/textfile.h"
#include "ui/pictureview.h"
#include "ui/searchfield.h"
#include "ui/texteditor.h"
#include "windowrig.h"

#include <QAbstractItemModelTester>
#include <QElapsedTimer>
#include <QLabel>
#include <QListView>
#include <QSignalSpy>
#include <future>
#include <semaphore>

using namespace Qt::StringLiterals;

namespace {

/// Reads the picture's first pixel as a word, once the test lets it.
struct FakeRecognizer final : TextRecognizer {
    bool available() const override { return true; }
    QString read(QImage picture) override {
        gate.acquire();
        order << picture.pixelColor(0, 0).name();
        return u"词 语 "_s + order.last();
    }
    void release() override { ++released; }
    std::counting_semaphore<100> gate{0};
    QStringList order;
    std::atomic<int> released = 0;
};

} // namespace

class tst_Search : public QObject {
    Q_OBJECT

private slots:
    void matching() {
        const struct {
            const char *text, *typed;
            bool found;
        } cases[] = {
            {"Hello World", "world HELLO", true}, // every word, any order and case
            {"Hello World", "hello there", false},
            {"ＡＢＣ１２３ x", "abc123 X", true}, // full-width letters and digits
            {"abc123", "ａＢｃ", true},           // half-width typed full
            {"剪贴板管理器", "贴板　管理", true}, // Chinese as typed
            {"剪貼板", "剪贴", false},            // no traditional for simplified
            {"a😀b", "😀", true},                   // beyond the basic plane
        };
        for (const auto &[text, typed, found] : cases) {
            const SearchWords words(QString::fromUtf8(typed));
            QVERIFY2(words.matches(QString::fromUtf8(text)) == found, typed);
            QVERIFY2(words.matches(QString(5000, u'x') + QString::fromUtf8(text)) == found, typed);
        }
        // What the OCR engine reads has spaces between Chinese characters.
        QCOMPARE(searchableWords(u"剪 贴 板  Sun flower\n管 理"), u"剪贴板 Sun flower 管理"_s);
    }

    void picturesAreReadNewestFirstAndForgottenWhenTheyGo() {
        TestRig rig;
        FakeRecognizer recognizer;
        PictureReader reader(rig.pictures(), recognizer, 50);
        for (const QColor color : {Qt::red, Qt::green, Qt::blue})
            rig.store.capturePicture(testPicture(2, 2, color));
        QCOMPARE(reader.waiting(), 3);
        recognizer.gate.release(3);
        QTRY_COMPARE(reader.waiting(), 0);
        // The first was being read; then the newest.
        QCOMPARE(recognizer.order, (QStringList{"#ff0000", "#0000ff", "#00ff00"}));
        QCOMPARE(rig.pictures().words(2), u"词语 #0000ff"_s);
        QTRY_COMPARE(recognizer.released.load(), 1); // idle: the engine goes
        // One gone while it is read: its words are dropped.
        rig.store.capturePicture(testPicture(2, 2, Qt::black));
        rig.store.deleteAllPictures();
        recognizer.gate.release();
        QTRY_COMPARE(reader.waiting(), 0);
        rig.store.capturePicture(testPicture(2, 2, Qt::white));
        QCOMPARE(rig.pictures().words(0), QString());
        recognizer.gate.release();
        QTRY_COMPARE(rig.pictures().words(0), u"词语 #ffffff"_s);
    }

    void aReaderThatHangsOrCannotStartCostsNoMore() {
        const auto hanging = makeTextRecognizer(QFINDTESTDATA("data/silentreader.sh"));
        if (!hanging)
            QSKIP("no OCR engine on this system");
        // One that never answers is stopped from another thread, as at quitting.
        auto quitting = std::async(std::launch::async, [&] {
            QThread::msleep(200);
            hanging->interrupt();
        });
        QElapsedTimer taken;
        taken.start();
        // Rows wider than a pipe takes at once: the reader ends in the middle of one.
        QCOMPARE(hanging->read(testPicture(8192, 16)), QString());
        QVERIFY(taken.elapsed() < 5000);
        quitting.wait();
        // One that ends at once, as the reader does with no engine installed.
        QCOMPARE(makeTextRecognizer(u"/bin/true"_s)->read(testPicture(8192, 16)), QString());
        const auto missing = makeTextRecognizer(u"/nonexistent/orlo-clipboard"_s);
        QCOMPARE(missing->read(testPicture(8, 8)), QString());
        QVERIFY(!missing->available());
    }

    void theArchive() {
        const QTemporaryDir dir;
        const QString text = dir.filePath(u"text"_s), image = dir.filePath(u"image"_s);
        QVERIFY(QDir().mkpath(text) && QDir().mkpath(image));
        const QDateTime at(QDate(2026, 11, 2), QTime(14, 3));
        saveTextFile({u"old zebra"_s, u"中文 长颈鹿"_s}, 0, 1, text, at);
        const QString newer =
            saveTextFile({u"new Ｚebra"_s, u"old zebra"_s}, 0, 1, text, at.addDays(1)).subject;
        const auto found = [](Archive &archive, const QString &typed) {
            QSignalSpy spy(&archive, &Archive::found);
            archive.search(SearchWords(typed));
            QStringList texts;
            if (spy.wait(5000)) {
                for (const ArchiveMatch &match : spy.last().at(0).value<QList<ArchiveMatch>>())
                    texts << Archive::textOf(match);
            }
            return texts;
        };
        const auto indexed = [&](Archive &archive) {
            QSignalSpy done(&archive, &Archive::indexingChanged);
            return done.wait(5000) && (archive.indexing() ? done.wait(5000) : true);
        };
        const QString cache = dir.filePath(u"cache"_s);
        {
            Archive archive(cache, noTextRecognizer());
            archive.setFolders(text, image);
            QVERIFY(indexed(archive));
            // Newest first, a text saved twice once; short words read through.
            QCOMPARE(found(archive, u"ZEBRA"_s), (QStringList{u"old zebra"_s, u"new Ｚebra"_s}));
            QCOMPARE(found(archive, u"鹿 中文"_s), QStringList{u"中文 长颈鹿"_s});
            QCOMPARE(found(archive, u"zebra 长颈鹿"_s), QStringList());
            // A page gone leaves the results.
            QFile::remove(newer);
            archive.rescan();
            QVERIFY(indexed(archive));
            QCOMPARE(found(archive, u"zebra"_s), QStringList{u"old zebra"_s});
        }
        // A damaged index is made afresh; the user alone reads it.
        const QString index = ArchiveIndex::fileFor(cache, text, image);
        QVERIFY(written(index, QByteArray(4096, 'x')));
        Archive again(cache, noTextRecognizer());
        again.setFolders(text, image);
        QVERIFY(indexed(again));
        QCOMPARE(found(again, u"zebra"_s), QStringList{u"old zebra"_s});
        QVERIFY(ownersOnly(index));
    }

    void theSearchField() {
        WindowRig rig;
        MainWindow &form = rig.form;
        for (const char *list : {"lstTxt", "lstImg"}) // the searches' filters
            new QAbstractItemModelTester(rig.find<QListView>(list)->model(),
                                         QAbstractItemModelTester::FailureReportingMode::Fatal,
                                         &form);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto *field = form.findChild<SearchField *>();
        for (const char *text : {"alpha one", "Gamma", "ＡＬＰＨＡ 中文 two"})
            rig.clipboard.offerText(QString::fromUtf8(text));
        rig.clipboard.offerImage(testPicture(4, 4));
        rig.pictures().setWords(0, u"alpha in a picture"_s);
        QTest::keyClick(&form, Qt::Key_E, Qt::ControlModifier);
        QVERIFY(field->hasFocus());
        QTest::keyClicks(field, u"alpha"_s);
        QCOMPARE(rig.find<QLabel>("lTip")->text(), u"找到 2 条文本和 1 张图片"_s);
        // Ctrl+D deletes nothing from here.
        QTest::keyClick(field, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(rig.texts().count(), 3);
        // Enter shows the first match, its word selected, then the next.
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(rig.find<TextEditor>("txtMain")->textCursor().selectedText(), u"alpha"_s);
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(rig.find<TextEditor>("txtMain")->textCursor().selectedText(), u"ＡＬＰＨＡ"_s);
        // After a capture that does not match (out of view: tst_walk), this
        // page is still the one chosen.
        rig.clipboard.offerText(u"zzz"_s);
        rig.trigger("menuSaveThisTxt");
        const QDir saved(rig.store.options().txtPath, u"*.htm"_s);
        QVERIFY(
            contents(saved.filePath(saved.entryList().value(0))).contains("\xd6\xd0\xce\xc4 two"));
        // Nothing of the kind on show: Enter turns to the kind that has.
        QTest::keyClicks(field, u" picture"_s);
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY(rig.find<PictureView>("fmImg")->isVisible() &&
                rig.find<PictureView>("fmImg")->chosen() == 0);
        QTest::keyClick(field, Qt::Key_Escape);
        QCOMPARE(rig.find<QListView>("lstTxt")->model()->rowCount(), 4);
        QCOMPARE(rig.find<QLabel>("lTip")->text(), u"就绪"_s);
        // Summoned, typing chooses the newest match (and Enter or Esc puts
        // the window away: tst_e2e_window); Up and Down go through the texts,
        // then the pictures, and Enter copies the one chosen.
        form.summon();
        QTest::keyClicks(field, u"alpha"_s);
        QTest::keyClick(field, Qt::Key_Down);
        QVERIFY(rig.find<PictureView>("fmImg")->isVisible());
        QTest::keyClick(field, Qt::Key_Up);
        QTest::keyClick(field, Qt::Key_Up);
        QTest::keyClick(field, Qt::Key_Return);
        // The search stays for when the window comes back from the tray, where
        // Enter shows the next match again.
        QVERIFY(rig.clipboard.readText() == u"alpha one"_s && field->text() == u"alpha"_s);
        form.showFromTray();
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY(!form.isMinimized());
        // Previews: a text's first lines, markup shown as it is, its length;
        // a picture's thumbnail, made on a thread.
        rig.clipboard.offerText(u"%1\n<b>\n"_s.arg(QString(100, u'x')).repeated(12));
        const QString tip =
            rig.texts().index(rig.texts().newest()).data(Qt::ToolTipRole).toString();
        QCOMPARE(tip.count(u'…'), 6);
        QVERIFY(tip.contains(u"&lt;b&gt;"_s) && tip.contains(u"共 1260 个字符"_s));
        const auto pictureTip = [&] {
            return rig.pictures().index(0).data(Qt::ToolTipRole);
        };
        QCOMPARE(pictureTip().toString(), QString());
        QTRY_VERIFY(pictureTip().toString().contains(u"<img src=\"data:image/png;base64,"_s));
        // Under a search, entries replaced in turn leave the list or join it,
        // one is edited, the words change, all go.
        for (int i = 0; i < 100; ++i)
            rig.clipboard.offerText((i % 3 ? u"alpha %1"_s : u"beta %1"_s).arg(i));
        rig.find<TextEditor>("txtMain")->insertPlainText(u"beta"_s);
        QTest::keyClick(field, Qt::Key_Backspace);
        rig.trigger("menuDelAllTxt");
        QCOMPARE(rig.find<QListView>("lstTxt")->model()->rowCount(), 0);
    }
};

ORLO_TEST_MAIN(tst_Search)
#include "tst_search.moc"
