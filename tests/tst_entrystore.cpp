// SPDX-License-Identifier: MIT
// The entries: numbering, the duplicate rule, both overflow policies, and
// what the save and delete commands leave behind.
#include "testrig.h"

#include <QImageReader>

using namespace Qt::StringLiterals;

namespace {

/// Captures the texts t<from>… and as many pictures.
void capture(TestRig &rig, int from, int count) {
    for (int i = from; i < from + count; ++i) {
        rig.store.captureText(u"t%1"_s.arg(i));
        rig.store.capturePicture(testPicture(2, 2, QColor::fromHsv(i % 360, 255, 255)));
    }
}

/// A run that ends without its orderly exit: its temp folder as it left it
/// (journal() to tamper with the journal first), and the next start on it.
struct EndedRun {
    std::unique_ptr<TestRig> rig = std::make_unique<TestRig>();
    QTemporaryDir left;
    Recovery recovered;
    std::unique_ptr<EntryStore> store;
    FakeClock clock;
    QByteArray bytes;
    bool gone = false;

    QString temp() const { return left.path() + u"/data/image/temp"_s; }
    QByteArray &journal() {
        if (gone)
            return bytes;
        const QString from = rig->store.folders().temp();
        QDir().mkpath(temp());
        for (const QString &file : QDir(from).entryList(QDir::Files))
            QFile::copy(from + u'/' + file, temp() + u'/' + file);
        gone = true;
        return bytes = contents(temp() + u"/entries.journal"_s);
    }
    /// The next start; `tampered`: what journal() holds is written first.
    EntryStore &restart(bool tampered = true) {
        journal();
        if (tampered)
            written(temp() + u"/entries.journal"_s, bytes);
        store.reset();
        store = std::make_unique<EntryStore>(DataFolders(left.path()), rig->options(false), clock);
        recovered = store->recover();
        return *store;
    }
};

} // namespace

class tst_EntryStore : public QObject {
    Q_OBJECT

private slots:
    void saveAllTextAfterTheCountWrapped() {
        TestRig rig;
        capture(rig, 0, 101);
        QVERIFY(rig.store.saveAllText().ok());
        const QDir folder(rig.store.options().txtPath); // one file: tst_walk
        const QStringList lines =
            QString::fromLatin1(contents(folder.filePath(folder.entryList(QDir::Files).value(0))))
                .split(u"\r\n"_s);
        QCOMPARE(lines.size(), 103); // the head, 100 entries, the tail
        QCOMPARE(lines[1] + lines[100], u"t100<br><br>t99<br><br>"_s); // slot 0 holds the newest
        // (What stays listed after a save: tst_walk.)
    }

    void aPictureSaveKeepsOnlyWhatFailed() {
        TestRig rig;
        capture(rig, 0, 4);
        // The second picture's file is gone; the fourth's cannot be read.
        QFile::remove(rig.pictures().file(1));
        QFile::remove(rig.pictures().file(3));
        QVERIFY(QDir().mkpath(rig.pictures().file(3)));
        const QString folder = rig.store.options().imgPath;
        const ImageSaveResult copied = rig.store.saveAllPictures();
        QCOMPARE((QList<QList<int>>{copied.saved, copied.gone, copied.failed}),
                 (QList<QList<int>>{{0, 2}, {1}, {3}}));
        QCOMPARE(messageFor(copied).text,
                 messageFor(Result{Reason::PictureUnreadable, folder, {}}).text +
                     u"\n图像03\n图像临时文件不存在\n图像01"_s);
        // What stays is the one that failed, numbered from 0 with its file.
        QCOMPARE(rig.pictures().count(), 1);
        QVERIFY(QFileInfo(rig.pictures().file(0)).isDir());
        // Saved again, only it is copied: nothing is written twice.
        QVERIFY(QDir(rig.pictures().file(0)).removeRecursively());
        QVERIFY(testPicture(2, 2).save(rig.pictures().file(0), "BMP"));
        QVERIFY(rig.store.saveAllPictures().ok());
        QCOMPARE(QDir(folder).entryList({u"*.bmp"_s}, QDir::Files),
                 (QStringList{u"202405011530450.bmp"_s, u"202405011530450_2.bmp"_s,
                              u"202405011530452.bmp"_s}));
        QCOMPARE(messageFor(rig.store.savePicture(-1)).text, u"系统错误!\n图像临时文件不存在"_s);
    }

    void anEndedRunIsTakenBack_data() {
        // Bytes cut off the journal's end; in 文本01's record, 1 its text or 2
        // its length flipped; records, and the pictures gone or no pictures, damaged.
        QTest::addColumn<QList<int>>("cutFlipDamaged");
        QTest::addColumn<QStringList>("texts");
        const QString edited = u"编辑过的 second"_s;
        QTest::newRow("whole") << QList{0, 0, 2} << QStringList{u"first"_s, edited, u"third"_s};
        // The last record, the edit, is torn: the text it was made on stays.
        QTest::newRow("torn at the end")
            << QList{3, 0, 3} << QStringList{u"first"_s, u"second"_s, u"third"_s};
        // Its edit was made on a text that is not there: left out too, and
        // the later records still read.
        QTest::newRow("damaged inside") << QList{0, 1, 3} << QStringList{u"first"_s, u"third"_s};
        QTest::newRow("damaged length") << QList{0, 2, 3} << QStringList{u"first"_s, u"third"_s};
    }
    void anEndedRunIsTakenBack() {
        QFETCH(QList<int>, cutFlipDamaged);
        QFETCH(QStringList, texts);
        const auto [cut, flip, damaged] =
            std::array{cutFlipDamaged[0], cutFlipDamaged[1], cutFlipDamaged[2]};
        EndedRun run;
        for (const QColor color : {Qt::red, Qt::green, Qt::blue})
            run.rig->store.capturePicture(testPicture(2, 2, color));
        for (const QString &text : {u"first"_s, u"second"_s, u"second"_s, u"third"_s})
            run.rig->store.captureText(text);
        QVERIFY(run.rig->store.editText(1, {0, 0, u"编辑过的 "_s, 6}));
        QVERIFY(QFile::remove(run.rig->pictures().file(0))); // its picture is lost
        QVERIFY(written(run.rig->pictures().file(7), "BM, and no picture"));
        QByteArray &bytes = run.journal();
        const qsizetype second =
            bytes.indexOf(QByteArrayView(reinterpret_cast<const char *>(u"second"), 12));
        if (flip)
            bytes[flip == 1 ? second : bytes.lastIndexOf("\xA7OJR", second) + 5] ^= 1;
        bytes.chop(cut);
        EntryStore &next = run.restart();
        QCOMPARE(next.texts().texts(), texts);
        QCOMPARE((QList<int>{run.recovered.texts, run.recovered.damaged, run.recovered.pictures}),
                 (QList<int>{int(texts.size()), damaged, 2}));
        QCOMPARE(QImage(next.pictures().file(1)).pixelColor(0, 0), QColor(Qt::blue));
        QCOMPARE(QDir(run.left.path() + u"/data/image/unreadable"_s).entryList(QDir::Files),
                 QStringList{u"图像07.bmp"_s});
        // The damaged journal stays beside the new one.
        QVERIFY(QFile::exists(run.temp() + u"/entries.journal.damaged"_s));
        // Numbered on from there, and written down as numbered now.
        next.captureText(u"fourth"_s);
        EntryStore &again = run.restart(false);
        QCOMPARE(run.recovered.damaged, 0);
        QCOMPARE(again.texts().texts(), texts + QStringList{u"fourth"_s});
    }

    void afterAWrapTheSameStateComesBack() {
        // (Taken back whole: tst_walk.) The newest torn: then the newest is the
        // one before it, and the next copy replaces the oldest that survived.
        // Damaged inside: the entries after it move up a row; the oldest still
        // goes next.
        for (const auto &[taken, damaged, replaced] :
             {std::tuple{101, u"t100"_s, 0}, std::tuple{130, u"t60"_s, 30}}) {
            EndedRun run;
            capture(*run.rig, 0, taken); // 文本00 holds t100
            QStringList before = run.rig->texts().texts();
            QByteArray &bytes = run.journal();
            const qsizetype at = bytes.lastIndexOf(QByteArrayView(
                reinterpret_cast<const char *>(damaged.utf16()), damaged.size() * 2));
            if (damaged == u"t100") {
                bytes.truncate(at);
            } else { // its picture unreadable too
                bytes[at] = 'x';
                QFile(run.temp() + u'/' + imageCaption(60) + u".bmp"_s).resize(0);
                before.removeOne(damaged);
            }
            EntryStore &next = run.restart();
            QCOMPARE(next.texts().texts().mid(1), before.mid(1));
            QCOMPARE(next.pictures().count(), before.size());
            next.captureText(u"new"_s);
            next.capturePicture(testPicture(2, 2, Qt::black));
            QCOMPARE(next.texts().text(replaced), u"new"_s);
            QCOMPARE(next.pictures().current(), replaced);
            QCOMPARE(next.texts().current(), replaced);
        }
    }

    void savesAndDeletesThatACrashCutShortStayDone_data() {
        QTest::addColumn<QString>("cut"); // what the crash came after
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("pictures");
        const QStringList both{u"t0"_s, u"t1"_s};
        QTest::newRow("a picture copied") << u"picture saved"_s << both << 2;
        QTest::newRow("a picture not yet copied") << u"picture saving"_s << both << 3;
        QTest::newRow("the texts saved") << u"texts saved"_s << QStringList{} << 3;
        QTest::newRow("all pictures deleted") << u"deleted"_s << both << 0;
    }
    void savesAndDeletesThatACrashCutShortStayDone() {
        QFETCH(QString, cut);
        QFETCH(QStringList, texts);
        QFETCH(int, pictures);
        EndedRun run;
        capture(*run.rig, 0, 2);
        run.rig->store.capturePicture(testPicture(2, 2));
        run.journal();
        // What the journal said before the crash; the files stay as they were.
        const QString saved = run.left.filePath(u"saved"_s);
        if (!cut.endsWith(u"saving"))
            QVERIFY(QFile(saved).open(QIODevice::WriteOnly));
        auto journal = std::make_unique<Journal>(run.temp() + u"/entries.journal"_s);
        if (cut.startsWith(u"picture"))
            QVERIFY(journal->saving(Journal::Kind::Pictures, 1, saved).ok());
        else if (cut.startsWith(u"texts"))
            QVERIFY(journal->saving(Journal::Kind::Texts, -1, saved).ok());
        else
            QVERIFY(journal->discarded(Journal::Kind::Pictures).ok());
        journal.reset();
        EntryStore &next = run.restart(false);
        QCOMPARE(next.texts().texts(), texts);
        QCOMPARE(next.pictures().count(), pictures);
        QCOMPARE(QDir(run.temp()).entryList({u"*.bmp"_s}).size(), pictures);
    }

    void aJournalOfTheVersionBeforeIsTakenBack() {
        EndedRun run;
        for (const QColor color : {Qt::green, Qt::blue})
            run.rig->store.capturePicture(testPicture(2, 2, color));
        run.journal() = contents(QFINDTESTDATA("data/legacy.journal"));
        QVERIFY(QFile::rename(run.rig->pictures().file(1), run.rig->pictures().file(5)));
        EntryStore &next = run.restart();
        QCOMPARE(next.texts().texts(),
                 (QStringList{u"第一条 legacy"_s, u"编辑过的 second"_s, u"third"_s}));
        // Its pictures numbered anew, in their old order.
        QCOMPARE(QImage(next.pictures().file(1)).pixelColor(0, 0), QColor(Qt::blue));
        QCOMPARE(run.recovered.damaged, 0);
    }

    void pictureIsWrittenAsAPrivateBmp() {
        TestRig rig;
        QDir(rig.store.folders().temp()).removeRecursively(); // put back by the capture
        rig.store.capturePicture(testPicture(120, 45));
        QImageReader reader(rig.pictures().file(0));
        QCOMPARE(reader.format(), QByteArray("bmp"));
        QCOMPARE(reader.read().convertToFormat(QImage::Format_RGB32), testPicture(120, 45));
        QVERIFY(ownersOnly(reader.fileName()));
    }
};

QTEST_MAIN(tst_EntryStore)
#include "tst_entrystore.moc"
