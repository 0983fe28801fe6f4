// SPDX-License-Identifier: MIT
// The program brought up and taken down, on fakes.
#include "app/program.h"
#include "platform/statusicon.h"
#include "testrig.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QSessionManager>
#include <QSystemTrayIcon>
#include <semaphore>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

struct Started : FakeDesktop {
    Started() { program.start(); }
    Program program{platform(), settings, dir.path()};
};

} // namespace

class tst_Program : public QObject {
    Q_OBJECT

private slots:
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
        if (atStart == Reason::None) {
            QCOMPARE(program.tray().icon().toolTip(), u"Orlo粘贴板"_s);
            emit rig.clipboard.listeningLost({Reason::ConnectionLost, {}, {}});
        }
        QTRY_COMPARE(rig.dialogs.messages.size(), 1); // once the event loop runs
        QCOMPARE(rig.dialogs.messages[0].icon == MessageIcon::Critical, systemError);
        QCOMPARE(rig.dialogs.messages[0].text.startsWith(u"系统错误!"_s), systemError);
        QVERIFY(rig.dialogs.messages[0].text.contains(told));
        // For as long as nothing is caught, the tray icon's tip says so too.
        QCOMPARE(program.tray().icon().toolTip(), u"Orlo粘贴板\n剪贴板监控：不可用"_s);
        // Without a notification area (offscreen on Linux) the window stays reachable.
        QCOMPARE(program.window().isVisible(), !QSystemTrayIcon::isSystemTrayAvailable());
        if (atStart != Reason::None) {
            rig.clipboard.offerText(u"after"_s);
            QCOMPARE(program.store().texts().texts(), QStringList{u"after"_s});
        }
        QCOMPARE(program.window().findChild<QLabel *>(u"lTip"_s)->text(), u"就绪"_s);
    }

    void aSessionCheckpointIsNoEnd() {
        Started s;
        // Session managers ask to save at checkpoints, and before logouts that
        // may still be cancelled: nothing may end the program there.
        auto *manager = qApp->findChild<QSessionManager *>();
        QVERIFY(manager);
        emit qApp->commitDataRequest(*manager);
        s.clipboard.offerText(u"still caught"_s);
        QCOMPARE(s.program.store().texts().count(), 1);
    }

    void theTrayMenuShowsSwitchesAndEnds() {
        Started s;
        const QList<QAction *> items = s.program.tray().menu()->actions();
        QCOMPARE(items.size(), 4); // with a line before 退出
        QCOMPARE(items.at(0)->text(), u"显示主窗口"_s);
        QCOMPARE(items.at(1), s.program.window().monitoringAction());
        QCOMPARE(items.at(3), s.program.window().exitAction());
        // Monitoring off from either menu: nothing is taken.
        items.at(1)->trigger();
        s.clipboard.offerText(u"not taken"_s);
        QCOMPARE(s.program.store().texts().count(), 0);
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
};

ORLO_TEST_MAIN(tst_Program)
#include "tst_program.moc"
