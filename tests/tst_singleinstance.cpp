// SPDX-License-Identifier: MIT
#include "app/singleinstance.h"

#include <QLockFile>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <future>

using namespace Qt::StringLiterals;
using Role = SingleInstance::Role;

const QString Name = u"orlo-test"_s;

/// The host a lock file names, as Qt writes it.
QByteArray hostName() {
#ifdef Q_OS_WIN
    return qgetenv("COMPUTERNAME");
#else
    return QSysInfo::machineHostName().toUtf8();
#endif
}

class tst_SingleInstance : public QObject {
    Q_OBJECT

private slots:
    void firstStartRunsLaterOnesReachIt_data() {
        QTest::addColumn<bool>("stale");
        QTest::newRow("nothing left behind") << false;
        QTest::newRow("lock and socket of a killed program") << true;
    }
    void firstStartRunsLaterOnesReachIt() {
        QFETCH(bool, stale);
        QTemporaryDir dir;
        if (stale) {
            // 2^22 + 1 is above the highest process id Linux hands out.
            QFile lock(dir.filePath(Name + u".lock"_s));
            QVERIFY(lock.open(QIODevice::WriteOnly));
            lock.write("4194305\norlo-clipboard\n" + hostName() + '\n');
            QVERIFY(QFile(dir.filePath(Name + u".socket"_s)).open(QIODevice::WriteOnly));
        }
        for (int run = 0; run < 2; ++run) { // the second after the first ended
            SingleInstance first(dir.path(), Name);
            QSignalSpy shown(&first, &SingleInstance::showRequested);
            QCOMPARE(first.start(), Role::First);
            for (int later = 0; later < 2; ++later) {
                // Started beside this one's event loop, as another program is:
                // a pipe on Windows passes nothing the other end does not read.
                auto again = std::async(std::launch::async,
                                        [&] { return SingleInstance(dir.path(), Name).start(); });
                QVERIFY(QTest::qWaitFor(
                    [&] {
                        return again.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
                    },
                    10'000));
                QCOMPARE(again.get(), Role::Later);
            }
            QTRY_COMPARE(shown.size(), 2);
        }
    }

    void aLockThatCannotBeHad() {
        QTemporaryDir dir;
        QLockFile held(dir.filePath(Name + u".lock"_s));
        QVERIFY(held.tryLock(0));
        // Held by a live program that does not answer: neither joined nor run beside.
        QCOMPARE(SingleInstance(dir.path(), Name).start(), Role::Unreachable);
        // No folder can be made below a plain file, not even by root: run unguarded.
        QCOMPARE(SingleInstance(dir.filePath(Name + u".lock/sub"_s), Name).start(), Role::First);
    }
};

QTEST_MAIN(tst_SingleInstance)
#include "tst_singleinstance.moc"
