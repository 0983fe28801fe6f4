// SPDX-License-Identifier: MIT
#include "core/archivepage.h"
#include "core/savefile.h"
#include "core/textfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

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

class tst_DataFiles : public QObject {
    Q_OBJECT
    static void row(const char *name, const QStringList &entries, const QList<int> &range,
                    const QByteArray &lines) {
        QTest::newRow(name) << entries << range << lines;
    }

private slots:
    void textFileFormat_data() {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QList<int>>("range");
        QTest::addColumn<QByteArray>("lines");
        const QString half(QChar(0xD83D));
        row("worked example", {"abc", "def"}, {0, 1}, lines({"abc", "def"}));
        row("nothing selected", {"a"}, {-1, -1}, {});
        row("beyond the entries", {"a", "b"}, {-3, 400}, lines({"a", "b"}));
        row("markup and line breaks", {"<b>x</b>", "a & b &amp;", "1\n2\r\n"}, {0, 2},
            lines({"&lt;b&gt;x&lt;/b&gt;", "a &amp; b &amp;amp;", "1\n2\r\n"}));
        row("code page 936, NUL", {QStringLiteral(u"中文,\0 €")}, {0, 0},
            lines({"\xd6\xd0\xce\xc4,&#xFFFD; \x80"}));
        row("references", {"x😀y𠀀", "?😀?", "<한>&", half + u'a' + half + QChar(0)}, {0, 3},
            lines({"x&#x1F600;y&#x20000;", "?&#x1F600;?", "&lt;&#xD55C;&gt;&amp;",
                   "&#xFFFD;a&#xFFFD;&#xFFFD;"}));
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
            lines({QByteArray(8191, 'a') + "&#x1F600;" + QByteArray(8190, '?') +
                       "&#xD55C;\xd6\xd0" + QByteArray(9000, 'b'),
                   QByteArray(8191, 'c') + "&#xFFFD;&#x1F600;",
                   QByteArray(8191, 'd') + "&#x266A;&#xFE00;"}));
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
            QCOMPARE(contents(result.subject), page(lines));
            // Read back, the same entries (half a pair and NUL stood for nothing).
            QStringList saved;
            for (int i = std::max(range.at(0), 0);
                 i <= std::min<int>(range.at(1), entries.size() - 1); ++i) {
                const QList<uint> points = entries.at(i).toUcs4();
                saved << QString::fromUcs4(reinterpret_cast<const char32_t *>(points.data()),
                                           points.size())
                             .replace(QChar(0), QChar::ReplacementCharacter);
            }
            QCOMPARE(readTextPage(contents(result.subject)).entries, saved);
#ifndef Q_OS_WIN // the user's folders there are the user's alone
            // Captured text may be private, whatever the umask says.
            QCOMPARE(QFile::permissions(result.subject) & (QFile::ReadGroup | QFile::ReadOther),
                     QFile::Permissions());
#endif
        }
    }

    void pagesOfOthersReadBack() {
        // The first program's pages are read as they stand, pages edited by
        // hand as plain text, where they can be read.
        const struct {
            QByteArray bytes;
            QStringList entries;
        } cases[] = {
            {page(lines({"a<b>&amp;c", "?\xd6\xd0"})), {"a<b>&amp;c", "?中"}},
            {page(lines({"x &y"})), {"x &y"}},
            {"<html>notes \xe4\xb8\xad", {"<html>notes 中"}},
            {"a\x81", {}},
        };
        for (const auto &[bytes, entries] : cases)
            QCOMPARE(readTextPage(bytes).entries, entries);
        QVERIFY(!readTextPage("a\x81").readable);
        QCOMPARE(savedAt(u"20070203090507_2.htm"_qs, false),
                 QDateTime(QDate(2007, 2, 3), QTime(9, 5, 7), Qt::UTC));
        QVERIFY(savedAt(u"2007020309050712.bmp"_qs, true).isValid());
        for (const char *name : {"notes.htm", "20070203090507.bmp", "2007020309050.htm"})
            QVERIFY2(
                !savedAt(QString::fromLatin1(name), QByteArray(name).endsWith("bmp")).isValid(),
                name);
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

QTEST_MAIN(tst_DataFiles)
#include "tst_datafiles.moc"
