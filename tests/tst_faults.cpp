// SPDX-License-Identifier: MIT
// The data pages: their format, read back, and pages of others. Broken data
// folders, a full disk, links and missing permissions: nothing captured is
// lost, and no piece of a file is left.
#include "brokenfolder.h"
#include "core/archivepage.h"
#include "core/textfile.h"
#include "testrig.h"

#include <QSignalSpy>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

/// A page as the first program saved it (data/worked-example.htm, which
/// holds "abc" and "def"), holding `body` instead.
QByteArray page(const QByteArray &body) {
    return contents(QFINDTESTDATA("data/worked-example.htm"))
        .replace("abc<br><br>\r\ndef<br><br>\r\n", body);
}

QByteArray lines(const QList<QByteArray> &entries) {
    return entries.isEmpty() ? QByteArray() : entries.join("<br><br>\r\n") + "<br><br>\r\n";
}

} // namespace

class tst_Faults : public QObject {
    Q_OBJECT
    static void row(const char *name, const QStringList &entries, const QList<int> &range,
                    const QList<QByteArray> &entryLines) {
        QTest::newRow(name) << entries << range << lines(entryLines);
    }

private slots:
    void brokenFolderLosesNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("automatic");
        for (const QString &kind : {u"text"_s, u"pictures"_s})
            for (const QString &fault : {u"read-only"_s, u"full"_s})
                for (const bool automatic : {false, true})
                    QTest::newRow(qPrintable(kind + u' ' + fault + (automatic ? " auto" : "")))
                        << kind << fault << automatic;
        // Pictures that do not fit leave no short file for the view and the saves to take.
        QTest::newRow("temp pictures, full folder") << u"temp"_s << u"full"_s << false;
    }
    void brokenFolderLosesNothing() {
        QFETCH(QString, kind);
        QFETCH(QString, fault);
        QFETCH(bool, automatic);
        const bool text = kind == u"text", temp = kind == u"temp";
        TestRig rig(automatic);
        Options options = rig.store.options();
        (text ? options.txtPath : options.imgPath) = rig.path(u"x"_s);
        rig.store.setFolders(options);
        const QString folder = temp ? rig.store.folders().temp() : rig.path(u"x"_s);
        BrokenFolder broken(folder, fault);
        if (!broken.unavailable.isEmpty())
            QSKIP(qPrintable(broken.unavailable));
        // A hundred entries of 12 kB each: more than a full folder takes.
        const QImage picture = testPicture(64, 64, Qt::darkCyan);
        QStringList texts;
        for (int i = 0; i < 100; ++i) {
            texts << u"第%1条 entry "_s.arg(i, 3, 10, QChar(u'0')).repeated(900);
            text ? rig.clipboard.offerText(texts.constLast()) : rig.clipboard.offerImage(picture);
        }
        const Reason reason = fault == u"full" ? Reason::WriteFailed : Reason::FolderReadOnly;
        if (automatic || temp) { // told once, not at every capture
            QCOMPARE(rig.told.size(), 1);
            QVERIFY(rig.told[0].startsWith(messageFor(Result{reason, folder, {}}).text));
        } else {
            QCOMPARE(text ? rig.store.saveAllText().reason
                          : rig.store.saveAllPictures().failure.reason,
                     reason);
        }

        // Every entry is saved or still there; the folder holds no piece of a file.
        QStringList saved = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        saved.removeAll(u"entries.journal"_s);
        const int listed = (text ? static_cast<EntryList &>(rig.texts()) : rig.pictures()).count();
        // A picture whose temp file could not be written is no entry.
        const qsizetype kept = rig.tempPictures().size();
        QCOMPARE(listed + (text ? 0 : temp ? 100 - kept : saved.size()), 100);
        if (text)
            QCOMPARE(rig.texts().texts(), texts);
        QVERIFY(temp ? kept > 0 && kept < 100 : kept == (text ? 0 : listed));
        for (const QString &name : saved)
            QCOMPARE(QImage(folder + u'/' + name), picture);
    }

    void theJournalOnAFullDisk() {
        TestRig rig;
        BrokenFolder full(rig.store.folders().temp(), u"full"_s); // 1 MB
        if (!full.unavailable.isEmpty())
            QSKIP(qPrintable(full.unavailable));
        QFile other(rig.store.folders().temp() + u"/other"_s); // deleted later: room for a copy
        QVERIFY(other.open(QIODevice::WriteOnly) && other.write(QByteArray(40'000, 'x')));
        // 240 kB each in the journal: the fifth does not fit. All are listed,
        // and the user hears of it once.
        QStringList texts;
        for (int i = 0; i < 7; ++i)
            rig.store.captureText(texts.emplace_back(120'000, QChar(u'a' + i)));
        QCOMPARE(rig.texts().texts(), texts);
        QCOMPARE(rig.told.size(), 1);
        QVERIFY(rig.told[0].startsWith(u"系统错误!\n无法写入未保存数据的记录文件："_s));
        // A start that cannot write the journal afresh keeps the old one whole,
        // and appends to it while that fits.
        texts = texts.mid(0, 4);
        QVERIFY(other.remove());
        for (int start = 0; start < 2; ++start) {
            EntryStore next(DataFolders(rig.dir.path()), rig.options(false), rig.clock);
            QSignalSpy nextTold(&next, &EntryStore::failed);
            QCOMPARE(next.recover().texts, texts.size());
            QCOMPARE(next.texts().texts(), texts);
            next.captureText(texts.emplace_back(u"copy %1"_s.arg(start)));
            QCOMPARE(nextTold.size(), 0);
        }
    }

    void theJournalWhereItsFileWas() {
        // A folder in its place: the text is listed, the user told.
        TestRig blocked;
        QVERIFY(QDir().mkpath(blocked.store.folders().temp() + u"/entries.journal/x"_s));
        blocked.store.captureText(u"listed"_s);
        QCOMPARE(blocked.texts().count(), 1);
        QCOMPARE(blocked.told.size(), 1);
        // No temp folder, and none can be made: listed, and told so.
        TestRig unmade;
        QVERIFY(QDir(unmade.store.folders().temp()).removeRecursively());
        QVERIFY(QFile(unmade.store.folders().temp()).open(QIODevice::WriteOnly));
        unmade.store.captureText(u"listed"_s);
        unmade.store.capturePicture(testPicture(2, 2));
        QCOMPARE(unmade.told.size(), 2);
        for (const QString &message : unmade.told)
            QVERIFY(message.contains(u"无法创建文件夹"_s));
        // Deleted with its folder while the program runs: started again whole.
        TestRig rig;
        rig.store.captureText(u"before"_s);
        if (!QDir(rig.store.folders().temp()).removeRecursively())
            QSKIP("the folder of an open file cannot be deleted here");
        rig.store.captureText(u"after"_s);
        EntryStore next(DataFolders(rig.dir.path()), rig.options(false), rig.clock);
        next.recover();
        QCOMPARE(next.texts().texts(), (QStringList{u"before"_s, u"after"_s}));
    }

    void linksInTheTempFolderAreNotFollowed_data() {
        QTest::addColumn<QString>("link"); // what is a link to the outside file or folder
        for (const char *link : {"entries.journal", "图像00.bmp", "saved 图像00.bmp", "temp"})
            QTest::newRow(link) << QString::fromUtf8(link);
    }
    void linksInTheTempFolderAreNotFollowed() {
#ifdef Q_OS_WIN
        QSKIP("no links here that a user makes");
#endif
        QFETCH(QString, link);
        TestRig rig;
        const QString temp = rig.store.folders().temp(), outside = rig.path(u"outside"_s);
        const QByteArray picture = encodedPicture(testPicture(3, 3), "BMP");
        QVERIFY(written(outside, picture));
        if (link == u"temp") {
            QVERIFY(QDir(temp).removeRecursively() && QFile::link(rig.dir.path(), temp));
            QCOMPARE(rig.store.folders().provide().reason, Reason::TempFolderIsLink);
            QVERIFY(QFile::copy(outside, rig.path(u"x.bmp"_s)));
            deleteTempPictures(temp);
            QVERIFY(QFile::exists(rig.path(u"x.bmp"_s)));
            return;
        }
        // Planted before a start, or after a capture for the save to copy.
        const bool saved = link.startsWith(u"saved");
        const QString name = link.section(u' ', -1);
        rig.store.captureText(u"t"_s);
        rig.store.capturePicture(testPicture(2, 2));
        QFile::remove(temp + u'/' + name);
        QVERIFY(QFile::link(outside, temp + u'/' + name));
        if (!saved) {
            rig.store.recover();
            rig.store.captureText(u"t"_s);
            rig.store.capturePicture(testPicture(2, 2));
        }
        // The outside file is neither read, written, copied nor deleted.
        QCOMPARE(rig.store.saveAllPictures().failed.size(), int(saved));
        QCOMPARE(rig.texts().texts(), QStringList{u"t"_s});
        QCOMPARE(contents(outside), picture);
        QVERIFY(!QFileInfo(temp + u"/entries.journal"_s).isSymLink());
    }

    void whatTheUserMayNotWrite() {
#ifdef Q_OS_UNIX
        if (::geteuid() == 0)
            QSKIP("root may write anything: run as another user (see CMakeLists.txt)");
#else
        QSKIP("the user's folders have no permissions of that kind here");
#endif
        TestRig rig;
        const QString temp = rig.store.folders().temp();
        rig.store.captureText(u"next"_s);
        // A journal the user may not read is kept aside, and said so.
        QVERIFY(QFile::setPermissions(temp + u"/entries.journal"_s, {}));
        EntryStore next(DataFolders(rig.dir.path()), rig.options(false), rig.clock);
        const Recovery recovered = next.recover();
        QCOMPARE(recovered.setAside, u"entries.journal.unreadable"_s);
        QVERIFY(recoveryStatus(recovered).endsWith(u"已另存为 entries.journal.unreadable"_s));
        QVERIFY(QFile::exists(temp + u"/entries.journal.unreadable"_s));
    }

    void textFileFormat_data() {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QList<int>>("range");
        QTest::addColumn<QByteArray>("lines");
        const QString half(QChar(0xD83D));
        row("worked example", {"abc", "def"}, {0, 1}, {"abc", "def"});
        row("nothing selected", {"a"}, {-1, -1}, {});
        row("beyond the entries", {"a", "b"}, {-3, 400}, {"a", "b"});
        row("markup and line breaks", {"<b>x</b>", "a & b &amp;", "1\n2\r\n"}, {0, 2},
            {"&lt;b&gt;x&lt;/b&gt;", "a &amp; b &amp;amp;", "1\n2\r\n"});
        row("code page 936, NUL", {QStringLiteral(u"中文,\0 €")}, {0, 0},
            {"\xd6\xd0\xce\xc4,&#xFFFD; \x80"});
        row("references", {"x😀y𠀀", "?😀?", "<한>&", half + u'a' + half + QChar(0)}, {0, 3},
            {"x&#x1F600;y&#x20000;", "?&#x1F600;?", "&lt;&#xD55C;&gt;&amp;",
             "&#xFFFD;a&#xFFFD;&#xFFFD;"});
        // Long entries go in blocks of thousands of characters: a pair across
        // a block's end, real question marks and a reference in a later block.
        const QString longEntry = QString(8191, u'a') + QStringLiteral("😀") + QString(8190, u'?') +
                                  QStringLiteral("한中") + QString(9000, u'b');
        // Half a pair right before a whole one at a block's end.
        const QString halfThenPair = QString(8191, u'c') + half + QStringLiteral("😀");
        // A block after one that needed references, holding a character that
        // the code page turns into nothing at all.
        const QString nothingAfter = QString(8191, u'd') + QStringLiteral("♪") + QChar(0xFE00);
        row("long entries", {longEntry, halfThenPair, nothingAfter}, {0, 2},
            {QByteArray(8191, 'a') + "&#x1F600;" + QByteArray(8190, '?') + "&#xD55C;\xd6\xd0" +
                 QByteArray(9000, 'b'),
             QByteArray(8191, 'c') + "&#xFFFD;&#x1F600;",
             QByteArray(8191, 'd') + "&#x266A;&#xFE00;"});
    }
    void textFileFormat() {
        QFETCH(QStringList, entries);
        QFETCH(QList<int>, range);
        QFETCH(QByteArray, lines);
        const QTemporaryDir dir;
        const QDateTime at(QDate(2007, 2, 3), QTime(9, 5, 7));
        for (const char *taken : {"", "_2", "_3"}) {
            const Result result = saveTextFile(entries, range.at(0), range.at(1), dir.path(), at);
            QCOMPARE(QFileInfo(result.subject).fileName(),
                     "20070203090507" + QString(taken) + ".htm");
            QCOMPARE(contents(result.subject), page(lines)); // read back: fuzz_pageencoding
            QVERIFY(ownersOnly(result.subject));             // captured text may be private
        }
    }

    void pagesOfOthersReadBack() {
        // The first program's pages are read as they stand, pages edited by
        // hand as plain text, where they can be read.
        for (const auto &[bytes, entries] : QList<std::pair<QByteArray, QStringList>>{
                 {page(lines({"a<b>&amp;c", "?\xd6\xd0"})), {"a<b>&amp;c", "?中"}},
                 {page(lines({"x &y"})), {"x &y"}},
                 {"<html>notes \xe4\xb8\xad", {"<html>notes 中"}},
                 {"a\x81", {}}})
            QCOMPARE(readTextPage(bytes).entries, entries);
        QVERIFY(!readTextPage("a\x81").readable);
        QCOMPARE(savedAt(u"20070203090507_2.htm"_qs, false),
                 QDateTime(QDate(2007, 2, 3), QTime(9, 5, 7), Qt::UTC));
        QVERIFY(savedAt(u"2007020309050712.bmp"_qs, true).isValid());
        for (const QString &name :
             {u"notes.htm"_s, u"20070203090507.bmp"_s, u"2007020309050.htm"_s})
            QVERIFY2(!savedAt(name, name.endsWith(u"bmp")).isValid(), qPrintable(name));
    }

    void textFailureLeavesNoFile() {
        const QTemporaryDir dir;
        const QStringList entry{QString(200000, u'中')};
        const QDateTime now = QDateTime::currentDateTime();
        QFile(dir.filePath(QStringLiteral("file"))).open(QIODevice::WriteOnly);
        for (const char *folder : {"missing", "file"})
            QCOMPARE(saveTextFile(entry, 0, 0, dir.filePath(folder), now).reason,
                     Reason::FolderMissing);
#ifdef Q_OS_UNIX
        // No file may grow past 64 KiB: the write fails with most data to come.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        const rlimit small{64 * 1024, previous.rlim_max};
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const Result result = saveTextFile(entry, 0, 0, dir.path(), now);
        setrlimit(RLIMIT_FSIZE, &previous);
        QCOMPARE(result.reason, Reason::WriteFailed);
#endif
        QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("*.htm")}), QStringList());
    }
};

QTEST_MAIN(tst_Faults)
#include "tst_faults.moc"
