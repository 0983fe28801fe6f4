// SPDX-License-Identifier: MIT
#include "app/singleinstance.h"

#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace {

const QString Name = QStringLiteral("orlo-test");

/// A process id that no process has now.
qint64 endedProcessId() {
    QProcess process;
    process.start(QStringLiteral("true"), {});
    process.waitForStarted();
    const qint64 pid = process.processId();
    process.waitForFinished();
    return pid;
}

/// What a program killed while it ran leaves behind.
void leaveLockOfEndedProgram(const QString &folder) {
    QFile lock(folder + u'/' + Name + QStringLiteral(".lock"));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(endedProcessId()) + "\norlo-clipboard\n" +
               QSysInfo::machineHostName().toUtf8() + '\n');
}

void leaveSocketOfEndedProgram(const QString &folder) {
#ifdef Q_OS_UNIX
    const QByteArray path = QFile::encodeName(folder + u'/' + Name + QStringLiteral(".socket"));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    QVERIFY(size_t(path.size()) < sizeof(address.sun_path));
    memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(fd >= 0);
    QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
    ::close(fd); // the socket file stays, with nobody listening
#else
    Q_UNUSED(folder);
#endif
}

} // namespace

class tst_SingleInstance : public QObject {
    Q_OBJECT

private slots:
    void firstStartRunsAndALaterOneReachesIt_data() {
        QTest::addColumn<bool>("staleLock");
        QTest::addColumn<bool>("staleSocket");
        QTest::newRow("nothing left behind") << false << false;
        QTest::newRow("lock of a killed program") << true << false;
        QTest::newRow("socket of a killed program") << false << true;
        QTest::newRow("both") << true << true;
    }
    void firstStartRunsAndALaterOneReachesIt() {
        QFETCH(bool, staleLock);
        QFETCH(bool, staleSocket);
        QTemporaryDir dir;
        if (staleLock)
            leaveLockOfEndedProgram(dir.path());
        if (staleSocket)
            leaveSocketOfEndedProgram(dir.path());

        SingleInstance first(dir.path(), Name);
        QSignalSpy shown(&first, &SingleInstance::showRequested);
        QCOMPARE(first.start(), SingleInstance::Role::First);

        SingleInstance later(dir.path(), Name);
        QCOMPARE(later.start(), SingleInstance::Role::Later);
        QTRY_COMPARE(shown.size(), 1);
        QCOMPARE(SingleInstance(dir.path(), Name).start(), SingleInstance::Role::Later);
        QTRY_COMPARE(shown.size(), 2);
    }

    void theNextStartAfterTheEndRuns() {
        QTemporaryDir dir;
        {
            SingleInstance first(dir.path(), Name);
            QCOMPARE(first.start(), SingleInstance::Role::First);
        }
        SingleInstance next(dir.path(), Name);
        QSignalSpy shown(&next, &SingleInstance::showRequested);
        QCOMPARE(next.start(), SingleInstance::Role::First);
        QCOMPARE(SingleInstance(dir.path(), Name).start(), SingleInstance::Role::Later);
        QTRY_COMPARE(shown.size(), 1);
    }

    void aLiveHolderThatDoesNotAnswerIsNotJoined() {
        QTemporaryDir dir;
        QLockFile held(dir.filePath(Name + QStringLiteral(".lock")));
        QVERIFY(held.tryLock(0));
        QCOMPARE(SingleInstance(dir.path(), Name).start(), SingleInstance::Role::Unreachable);
    }

    void aFolderThatCannotHoldTheLockRunsUnguarded() {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("file")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        // A path below a plain file: no folder can be made there, not even by root.
        QCOMPARE(SingleInstance(file.fileName() + QStringLiteral("/sub"), Name).start(),
                 SingleInstance::Role::First);
    }
};

QTEST_MAIN(tst_SingleInstance)
#include "tst_singleinstance.moc"
