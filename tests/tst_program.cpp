// SPDX-License-Identifier: MIT
// The program brought up and taken down, on fakes, and the one instance
// that runs.
#include "app/program.h"
#include "app/singleinstance.h"
#include "platform/files.h"
#include "platform/statusicon.h"
#include "testrig.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLockFile>
#include <QMenu>
#include <QSessionManager>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <future>
#include <semaphore>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

struct Started : FakeDesktop {
    Started() { program.start(); }
    Program program{platform(), settings, dir.path()};
};

using Role = SingleInstance::Role;
const QString Lock = u"orlo-clipboard.lock"_s;

/// The lock file Qt writes for this very process.
QByteArray lockOfThisProcess() {
    QTemporaryDir dir;
    QLockFile lock(dir.filePath(u"x.lock"_s));
    QFile file(dir.filePath(u"x.lock"_s));
    return lock.tryLock(0) && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_Program : public QObject {
    Q_OBJECT

    QTemporaryDir runtime; // the single instance's fallback lock's folder, the sockets'

private slots:
    void initTestCase() { qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8()); }

    void startsListeningAndTellsWhenItCannot_data() {
        QTest::addColumn<Reason>("atStart");
        QTest::addColumn<bool>("systemError");
        QTest::addColumn<QString>("told");
        QTest::newRow("no clipboard")
            << Reason::NoClipboard << true << u"系统错误!\n无法访问剪贴板"_s;
        // Not a failure but how the desktop is made: plain words, and what to do.
        QTest::newRow("Wayland without data-control")
            << Reason::NoDataControl << false << u"XWayland"_s;
        QTest::newRow("lost later") << Reason::None << true << u"：与Wayland桌面的连接已断开"_s;
    }
    void startsListeningAndTellsWhenItCannot() {
        QFETCH(Reason, atStart);
        QFETCH(bool, systemError);
        QFETCH(QString, told);
        FakeDesktop rig;
        rig.clipboard.failure = {atStart, {}, {}};
        Program program(rig.platform(), rig.settings, rig.dir.path());
        rig.clipboard.offerText(u"before the start"_s); // not taken
        program.start();
        if (atStart == Reason::None)
            emit rig.clipboard.listeningLost({Reason::ConnectionLost, {}, {}});
        QTRY_COMPARE(rig.dialogs.messages.size(), 1); // once the event loop runs
        QCOMPARE(rig.dialogs.messages[0].icon == MessageIcon::Critical, systemError);
        QVERIFY(rig.dialogs.messages[0].text.contains(told));
        // For as long as nothing is caught, the tray icon's tip says so too.
        QCOMPARE(program.tray().icon().toolTip(), u"Orlo粘贴板\n剪贴板监控：不可用"_s);
        // (Without a notification area the window stays reachable: tst_e2e_window.)
        if (atStart != Reason::None) {
            rig.clipboard.offerText(u"after"_s);
            QCOMPARE(program.store().texts().texts(), QStringList{u"after"_s});
        }
        QCOMPARE(program.window().findChild<QLabel *>(u"lTip"_s)->text(), u"就绪"_s);
    }

    void aSessionCheckpointAndTheTrayMenu() {
        Started s;
        // Session managers ask to save at checkpoints, and before logouts that
        // may still be cancelled: nothing may end the program there.
        auto *manager = qApp->findChild<QSessionManager *>();
        QVERIFY(manager);
        emit qApp->commitDataRequest(*manager);
        s.clipboard.offerText(u"still caught"_s);
        const QList<QAction *> items = s.program.tray().menu()->actions();
        QCOMPARE(items.at(3), s.program.window().exitAction());
        // Monitoring off from either menu: nothing is taken; on again, it is.
        for (const char *text : {"not taken", "taken"}) {
            items.at(1)->trigger();
            s.clipboard.offerText(QString::fromLatin1(text));
        }
        QCOMPARE(s.program.store().texts().texts(), (QStringList{u"still caught"_s, u"taken"_s}));
        s.program.window().hide();
        items.at(0)->trigger();
        QVERIFY(s.program.window().isVisible());
    }

    void quittingWaitsForNoDisk() {
#ifdef Q_OS_WIN
        QSKIP("an open file cannot be deleted here: the journal waits for its sync");
#endif
        // A disk that does not finish a sync until the test lets it.
        struct StuckDisk final : Disk {
            void syncAndClose(int fd) const override {
                released.acquire();
                ::close(fd);
            }
            mutable std::binary_semaphore released{0};
        } stuck;
        FakeDesktop rig;
        Program program({rig.clipboard, rig.dialogs, rig.clock, rig.launcher, stuck}, rig.settings,
                        rig.dir.path());
        program.start();
        rig.clipboard.offerText(u"synced later"_s);
        QElapsedTimer clock;
        clock.start();
        program.window().deleteAll();
        program.window().exitAction()->trigger();
        QCOMPARE_LT(clock.elapsed(), 1000);
        QVERIFY(program.unloaded());
        stuck.released.release(2);
    }

    void everyWayOutAsksOnceAndNobodyAskedLosesNothing_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("ends");
        QTest::addColumn<int>("left"); // entries, -1: discarded with their files
        QTest::newRow("window closed, not saved") << u"close"_s << Answer::Second << true << -1;
        QTest::newRow("exit command, cancelled") << u"exit"_s << Answer::Cancel << false << 2;
        QTest::newRow("saved, folder fails") << u"exit"_s << Answer::First << false << 2;
        QTest::newRow("saved") << u"close"_s << Answer::First << true << -1;
        QTest::newRow("session ends") << u"quit"_s << Answer::Cancel << true << 2;
    }
    void everyWayOutAsksOnceAndNobodyAskedLosesNothing() {
        QFETCH(QString, way);
        QFETCH(Answer, answer);
        QFETCH(bool, ends);
        QFETCH(int, left);
        Started s;
        s.clipboard.offerText(u"秘密"_s);
        s.clipboard.offerImage(testPicture(8, 8));
        EntryStore &store = s.program.store();
        Options folders = store.options();
        if (QTest::currentDataTag() == "saved, folder fails"_L1)
            folders.txtPath = folders.imgPath = s.path(u"settings.ini/in"_s);
        store.setFolders(folders);
        s.dialogs.answer = answer;
        if (way == u"close")
            QCOMPARE(s.program.window().close(), ends);
        else if (way == u"exit")
            s.program.window().exitAction()->trigger();
        else
            QVERIFY(QMetaObject::invokeMethod(qApp, "aboutToQuit"));
        QCOMPARE(s.dialogs.questions.size(), way == u"quit" ? 0 : 1);
        QCOMPARE(s.program.unloaded(), ends);
        QCOMPARE(s.program.tray().icon().isVisible(), !ends);
        QCOMPARE(store.texts().count() + store.pictures().count(), std::max(left, 0));
        // The journal and the picture stay for the next start to give back.
        QCOMPARE(QDir(store.folders().temp()).entryList(QDir::Files).size(), left < 0 ? 0 : 2);
        // The quit that follows finds the work done.
        QVERIFY(QMetaObject::invokeMethod(qApp, "aboutToQuit"));
        QCOMPARE(s.dialogs.questions.size(), way == u"quit" ? 0 : 1);
    }

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
        if (!left.isEmpty() && !left.contains("folder") && !left.contains("link"))
            QVERIFY(written(dir.filePath(Lock), left == "empty" ? QByteArray() : left) &&
                    written(dir.filePath(u"orlo-clipboard.address"_s),
                            QFile::encodeName(dir.path() + u"/gone"_s)));
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
                QTRY_VERIFY_WITH_TIMEOUT(
                    again.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 10'000);
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

ORLO_TEST_MAIN(tst_Program)
#include "tst_program.moc"
