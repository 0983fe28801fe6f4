// SPDX-License-Identifier: MIT
#include "app/singleinstance.h"
#include "platform/files.h"

#include <QLockFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <future>

using namespace Qt::StringLiterals;
using Role = SingleInstance::Role;

const QString Lock = u"orlo-clipboard.lock"_s;

/// The lock file Qt writes for this very process.
QByteArray lockOfThisProcess() {
    QTemporaryDir dir;
    QLockFile lock(dir.filePath(u"x.lock"_s));
    QFile file(dir.filePath(u"x.lock"_s));
    return lock.tryLock(0) && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class tst_SingleInstance : public QObject {
    Q_OBJECT

    QTemporaryDir runtime; // the fallback lock's folder, the sockets'

private slots:
    void initTestCase() { qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8()); }

    void firstStartRunsLaterOnesReachIt_data() {
        QTest::addColumn<QByteArray>("left"); // the lock file of a killed program
        QTest::newRow("nothing left behind") << QByteArray();
        // 2^22 + 1 is above the highest process id Linux hands out.
        QTest::newRow("lock and socket of a killed program")
            << QByteArray("4194305\norlo-clipboard\nhost\n");
        // Wine hands the killed program's number to the next one.
        QTest::newRow("killed under this process's number") << lockOfThisProcess();
        for (const char *left : {"empty", "damaged", "folder", "dangling link"})
            QTest::newRow(left) << QByteArray(left);
    }
    void firstStartRunsLaterOnesReachIt() {
        QFETCH(QByteArray, left);
        QTemporaryDir dir;
        if (left == "folder")
            QVERIFY(QDir(dir.path()).mkpath(Lock + u"/x"_s));
        else if (left == "dangling link")
            QVERIFY(QFile::link(dir.filePath(u"gone"_s), dir.filePath(Lock)));
        if (!left.isEmpty() && !left.contains("folder") && !left.contains("link")) {
            QFile lock(dir.filePath(Lock));
            QVERIFY(lock.open(QIODevice::WriteOnly));
            lock.write(left == "empty" ? QByteArray() : left);
            QFile note(dir.filePath(u"orlo-clipboard.address"_s));
            QVERIFY(note.open(QIODevice::WriteOnly) &&
                    note.write(qPrintable(dir.path() + u"/gone"_s)));
        }
        // A later start hands over the token it was started with.
        qputenv("XDG_ACTIVATION_TOKEN", "token_1");
        for (int run = 0; run < 2; ++run) { // the second after the first ended
            SingleInstance first(dir.path());
            QSignalSpy shown(&first, &SingleInstance::showRequested);
            QCOMPARE(first.start(), Role::First);
            // Deleted with its folder: made again at once (not on Windows,
            // where an open file cannot be deleted).
            if (run == 1 && !files::openFilesBlockRenames()) {
                QVERIFY(QDir(dir.path()).removeRecursively());
                QTRY_VERIFY(QFile::exists(dir.filePath(u"orlo-clipboard.address"_s)));
            }
            for (int later = 0; later < 2; ++later) {
                // Started beside this one's event loop, as another program is:
                // a pipe on Windows passes nothing the other end does not read.
                auto again = std::async(std::launch::async,
                                        [&] { return SingleInstance(dir.path()).start(); });
                QVERIFY(QTest::qWaitFor(
                    [&] {
                        return again.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
                    },
                    10'000));
                QCOMPARE(again.get(), Role::Later);
            }
            QTRY_COMPARE(shown.size(), 2);
            QCOMPARE(shown.first().value(0).toString(), u"token_1"_s);
        }
    }

    void aLockThatCannotBeHad() {
        QTemporaryDir dir;
        QLockFile held(dir.filePath(Lock));
        QVERIFY(held.tryLock(0));
        // Held by a live program that does not answer: neither joined nor run beside.
        QCOMPARE(SingleInstance(dir.path()).start(), Role::Unreachable);
        // No lock file can be made below a plain file, not even by root: the
        // user's runtime folder takes the lock.
        QCOMPARE(SingleInstance(dir.filePath(Lock)).start(), Role::First);
    }
};

QTEST_MAIN(tst_SingleInstance)
#include "tst_singleinstance.moc"
