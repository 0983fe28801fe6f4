// SPDX-License-Identifier: MIT
// Broken data folders and a save killed halfway: nothing captured is lost,
// and no piece of a file is left.
#include "brokenfolder.h"
#include "core/textfile.h"
#include "testrig.h"

#include <QSignalSpy>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

class tst_Faults : public QObject {
    Q_OBJECT

private slots:
    void brokenFolderLosesNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("automatic");
        for (const QString &kind : {u"text"_s, u"pictures"_s})
            for (const QString &fault : {u"missing"_s, u"read-only"_s, u"full"_s})
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
        QSignalSpy told(&rig.store, &EntryStore::failed);

        // A hundred entries of 12 kB each: more than a full folder takes.
        const QImage picture = testPicture(64, 64, Qt::darkCyan);
        QStringList texts;
        for (int i = 0; i < 100; ++i) {
            texts << u"第%1条 entry "_s.arg(i, 3, 10, QChar(u'0')).repeated(900);
            text ? rig.clipboard.offerText(texts.constLast()) : rig.clipboard.offerImage(picture);
        }
        const Reason reason = fault == u"missing" ? Reason::FolderMissing
                              : fault == u"full"  ? Reason::WriteFailed
                                                  : Reason::FolderReadOnly;
        if (automatic || temp) { // told once, not at every capture
            QCOMPARE(told.size(), 1);
            QVERIFY(told.at(0).at(0).value<UserMessage>().text.startsWith(
                messageFor(Result{reason, folder, {}}).text));
        } else if (!temp) {
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

    void saveKilledHalfwayLeavesNoPieceOfAFile() {
#ifdef Q_OS_LINUX
        const QTemporaryDir dir;
        const QStringList texts(100, u"剪贴板 entry <&> 文本\r\n"_s.repeated(60'000));
        const QString folder = QFileInfo(dir.path()).canonicalFilePath();
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(SaveTextFile(texts, 0, 99, folder, QDateTime::currentDateTime()).ok() ? 0 : 1);

        // Killed once it has written 16 MB into the file, not yet named there.
        qint64 written = -1;
        for (QDeadlineTimer deadline(60000); written < (16 << 20) && !deadline.hasExpired();) {
            const QDir fds(u"/proc/%1/fd"_s.arg(child));
            for (const QFileInfo &fd : fds.entryInfoList(QDir::Files | QDir::System))
                if (fd.symLinkTarget().startsWith(folder + u'/'))
                    written = fd.size();
        }
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        QVERIFY2(written > 0, "nothing was written");
        QCOMPARE(QDir(folder).entryList({u"*.htm"_s}, QDir::Files), QStringList());
#else
        QSKIP("watches the saving process through /proc");
#endif
    }
};

QTEST_MAIN(tst_Faults)
#include "tst_faults.moc"
