// SPDX-License-Identifier: MIT
#include "store/entries.h"
#include "store/imagefiles.h"
#include "store/textfile.h"
#include "testrig.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

// The head in code page 936, spelled out byte by byte.
const QByteArray Head =
    "<html><head><meta http-equiv=\"Content-Language\" content=\"zh-cn\"><meta "
    "http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\"><title>"
    "Orlo\xd5\xb3\xcc\xf9\xb0\xe5\xca\xfd\xbe\xdd\xce\xc4\xbc\xfe</title></head>"
    "<body><p><font size=\"3\" face=\"\xcb\xce\xcc\xe5\">\r\n";
const QByteArray Tail = "</font></p></body></html>\r\n";

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList filesIn(const QString &folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QByteArray line(const QByteArray &entry) {
    return entry + "<br><br>\r\n";
}

} // namespace

class tst_DataFiles : public QObject {
    Q_OBJECT

private slots:
    void textFileFormat_data() {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<QByteArray>("lines");
        const auto row = [](const char *name, const QStringList &entries, int first, int last,
                            const QByteArray &lines) {
            QTest::newRow(name) << entries << first << last << lines;
        };
        const QString many(4000, u'中');
        const QByteArray manyBytes = QByteArray("\xd6\xd0").repeated(4000);
        row("no entries", {}, 0, -1, {});
        row("nothing selected", {"a"}, -1, -1, {});
        // The 101 slots exist from the start; indices outside them are left out.
        row("beyond the slots", {"a", "b"}, -3, 400, line("a") + line("b") + line("").repeated(99));
        row("markup", {"<b>x</b>", "a & b &amp;"}, 0, 1,
            line("&lt;b&gt;x&lt;/b&gt;") + line("a &amp; b &amp;amp;"));
        row("line breaks stay", {"one\ntwo", "3\r\n4"}, 0, 1, line("one\ntwo") + line("3\r\n4"));
        row("chinese and euro", {"中文, €"}, 0, 0, line("\xd6\xd0\xce\xc4, \x80"));
        row("emoji and extension B", {"x😀y𠀀"}, 0, 0, line("x&#x1F600;y&#x20000;"));
        row("question marks stay", {"why?", "?😀?", "?한"}, 0, 2,
            line("why?") + line("?&#x1F600;?") + line("?&#xD55C;"));
        row("markup next to an emoji", {"<😀>&"}, 0, 0, line("&lt;&#x1F600;&gt;&amp;"));
        row("half a surrogate pair", {QString(QChar(0xD83D)) + u'a', u'b' + QString(QChar(0xD83D))},
            0, 1, line("&#xFFFD;a") + line("b&#xFFFD;"));
        row("long, emoji at the end", {many + QStringLiteral("😀")}, 0, 0,
            line(manyBytes + "&#x1F600;"));
        row("long, hangul and ?", {many + u'?' + many + QStringLiteral("한?")}, 0, 0,
            line(manyBytes + "?" + manyBytes + "&#xD55C;?"));
    }

    void textFileFormat() {
        QFETCH(QStringList, entries);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QByteArray, lines);
        TestRig rig;
        for (int i = 0; i < entries.size(); ++i)
            rig.m.setTextPage(i, entries.at(i));
        const SaveResult result = SaveTextFile(rig.m, first, last, rig.m.TxtPath);
        QVERIFY(result.ok);
        QCOMPARE(contents(result.file), Head + lines + Tail);
    }

    void workedExampleAndNames() {
        TestRig rig;
        rig.m.setTextPage(0, QStringLiteral("abc"));
        rig.m.setTextPage(1, QStringLiteral("def"));
        rig.clock.time = QDateTime(QDate(2007, 2, 3), QTime(9, 5, 7));
        for (int i = 0; i < 3; ++i)
            QVERIFY(SaveTextFile(rig.m, 0, 1, rig.m.TxtPath).ok);
        // Saves within one second never replace one another.
        const QStringList names{QStringLiteral("20070203090507.htm"),
                                QStringLiteral("20070203090507_2.htm"),
                                QStringLiteral("20070203090507_3.htm")};
        QCOMPARE(filesIn(rig.m.TxtPath), names);
        const QByteArray bytes = contents(rig.m.TxtPath + u'/' + names.first());
        QCOMPARE(bytes.size(), 263);
        QCOMPARE(bytes, Head + line("abc") + line("def") + Tail);
    }

    void textFailureLeavesNoFile_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        const QString missing = QString::fromUtf16(SaveReason::FolderMissing);
        QTest::newRow("missing folder") << QStringLiteral("missing") << missing;
        QTest::newRow("a file, not a folder") << QStringLiteral("file") << missing;
        QTest::newRow("write fails half-way")
            << QStringLiteral("half-way") << QString::fromUtf16(SaveReason::WriteFailed);
    }

    void textFailureLeavesNoFile() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        TestRig rig;
        rig.m.setTextPage(0, QString(200000, u'a'));
        rig.m.setTextPage(1, QString(200000, u'中'));
        QString folder = rig.m.TxtPath;
        if (kind == QLatin1String("missing"))
            folder = rig.path(QStringLiteral("missing"));
        if (kind == QLatin1String("file")) {
            folder = rig.path(QStringLiteral("file"));
            QFile file(folder);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
#ifdef Q_OS_UNIX
        // Files may not grow past 64 KiB: the write fails with most data to come.
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit small = previous;
        small.rlim_cur = kind == QLatin1String("half-way") ? 64 * 1024 : previous.rlim_cur;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
#else
        if (kind == QLatin1String("half-way"))
            QSKIP("Needs a file size limit.");
#endif
        const SaveResult result = SaveTextFile(rig.m, 0, 1, folder);
#ifdef Q_OS_UNIX
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
#endif
        QVERIFY(!result.ok);
        QCOMPARE(result.reason, reason);
        QVERIFY(filesIn(rig.m.TxtPath).isEmpty());
    }

    void pictureCopies_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<bool>("folderThere");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("failed");
        // Temp pictures exist for entries 7 and 12 only.
        QTest::newRow("7 to 12") << 7 << 12 << true
                                 << QStringList{"2024050115304512.bmp", "202405011530457.bmp"} << 4;
        QTest::newRow("empty range") << 0 << -1 << true << QStringList() << 0;
        QTest::newRow("nothing selected") << -1 << -1 << true << QStringList() << 1;
        QTest::newRow("missing folder") << 7 << 9 << false << QStringList() << 3;
    }

    void pictureCopies() {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(bool, folderThere);
        QFETCH(QStringList, names);
        QFETCH(int, failed);
        TestRig rig;
        for (int n : {7, 12}) {
            QFile file(rig.m.tempImagePath(ImageCaption(n)));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("BM" + QByteArray::number(n)));
        }
        const QString folder = folderThere ? rig.m.ImgPath : rig.path(QStringLiteral("missing"));
        const ImageSaveResult told = SaveImageFiles(rig.m, first, last, folder);
        QCOMPARE(told.failed.size(), failed);
        QCOMPARE(rig.dialogs.messages.size(), failed);
        for (const auto &shown : std::as_const(rig.dialogs.messages))
            QVERIFY(shown.text == QStringLiteral("系统错误!") &&
                    shown.icon == QMessageBox::Critical);
        QCOMPARE(filesIn(rig.m.ImgPath), names);
        if (!names.isEmpty())
            QCOMPARE(contents(rig.m.ImgPath + QStringLiteral("/202405011530457.bmp")), "BM7");

        // The quiet variant: the same outcome, no box; a second copy within
        // the second takes the next free name.
        const ImageSaveResult quiet = CopyImageFiles(rig.m, first, last, folder);
        QCOMPARE(quiet.failed, told.failed);
        QCOMPARE(rig.dialogs.messages.size(), failed);
        QCOMPARE(QFileInfo::exists(rig.m.ImgPath + QStringLiteral("/202405011530457_2.bmp")),
                 !names.isEmpty());
        QCOMPARE(rig.tempPictures().size(), 2);
    }
};

QTEST_MAIN(tst_DataFiles)
#include "tst_datafiles.moc"
