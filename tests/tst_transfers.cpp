// SPDX-License-Identifier: MIT
// What owners that drip, never end or flood cost: the order changes are
// handed on in, and the pipes a Wayland transfer is read through; a
// compositor that never answers.
#include "platform/changequeue.h"
#include "platform/clipboardaccess.h"
#include "platform/wayland/pipes.h"
#ifdef ORLO_X11
#include "platform/x11/transferstate.h"
#endif

#include <QProcessEnvironment>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;
using wayland::PipeReader;

class tst_Transfers : public QObject {
    Q_OBJECT

private slots:
    void aSlowChangeHoldsTheNextOnesForAMomentOnly() {
        QStringList handed;
        ChangeQueue queue([&](ClipContent content, bool) { handed << *content.text(); }, 300);
        const auto complete = [&](quint64 change, const QString &text) {
            queue.complete(change, ClipContent::ofText(text, {u"text/plain"_s}));
        };
        const quint64 slow = queue.add(ChangeQueue::now());
        complete(queue.add(ChangeQueue::now()), u"b"_s);
        QTest::qWait(150);
        QCOMPARE(handed, QStringList()); // in order while the slow one may still come
        QTRY_COMPARE_WITH_TIMEOUT(handed, QStringList{u"b"_s}, 1000);
        // It held the others once: later ones go at once, in order.
        complete(queue.add(ChangeQueue::now()), u"c"_s);
        QTRY_COMPARE_WITH_TIMEOUT(handed.size(), 2, 100);
        complete(slow, u"a"_s);
        QTRY_COMPARE(handed, (QStringList{u"b"_s, u"c"_s, u"a"_s}));
    }

    void pipesThatDripNeverEndOrFlood() {
        std::signal(SIGPIPE, SIG_IGN);
        auto budget = std::make_shared<fetch::Budget>(32 << 20);
        int ended = 0;
        int fds[4][2];
        std::vector<std::unique_ptr<PipeReader>> readers;
        for (auto &fd : fds) {
            QVERIFY(wayland::makeTransferPipe(fd[0], fd[1]));
            readers.push_back(std::make_unique<PipeReader>(
                fd[0], readers.empty() ? 1000 : 1 << 30, budget, [] {}, [&] { ++ended; }));
        }
        auto &[tooLarge, drip, endless, flood] = fds;
        // Past its limit: cut off.
        QCOMPARE(::write(tooLarge[1], QByteArray(2000, 'x').data(), 2000), 2000);
        QTRY_COMPARE(readers[0]->state(), PipeReader::State::TooLarge);
        // A byte at a time, then the end: all of it.
        for (const char byte : QByteArray("drip")) {
            QCOMPARE(::write(drip[1], &byte, 1), 1);
            QTRY_VERIFY(readers[1]->data().endsWith(byte));
        }
        ::close(drip[1]);
        QTRY_COMPARE(readers[1]->state(), PipeReader::State::Done);
        QCOMPARE(readers[1]->data(), "drip");
        // Never ending: read until given up, and then nothing.
        QCOMPARE(::write(endless[1], "part", 4), 4);
        QTest::qWait(50);
        QCOMPARE(readers[2]->state(), PipeReader::State::Reading);
        readers[2]->abandon();
        QVERIFY(readers[2]->data().isEmpty());
        // Past the budget: cut off, the event loop free meanwhile.
        std::thread writer([fd = flood[1]] {
            const QByteArray chunk(1 << 20, 'f');
            while (::write(fd, chunk.data(), chunk.size()) > 0) {
            }
        });
        int ticks = 0;
        QTimer tick;
        connect(&tick, &QTimer::timeout, this, [&] { ++ticks; });
        tick.start(1);
        QTRY_COMPARE(readers[3]->state(), PipeReader::State::CutOff);
        writer.join();
        QCOMPARE_GE(ticks, 3);
        QCOMPARE(ended, 3); // the one given up tells no one
        // What was read is held until the change it is part of is let go.
        QCOMPARE(budget->left(), (32 << 20) - 4);
        ClipContent content = ClipContent::fromOffer(
            {u"text/plain"_s}, {{u"text/plain"_s, readers[1]->takeData()}}, fetch::hold(budget, 4));
        readers.clear();
        QCOMPARE(budget->left(), (32 << 20) - 4);
        content = ClipContent();
        QCOMPARE(budget->left(), 32 << 20);
        for (auto fd : {tooLarge[1], endless[1], flood[1]})
            ::close(fd);
    }

#ifdef ORLO_X11
    void anX11OwnerSendingInPieces_data() {
        // Sent: "incrN" announces pieces of N bytes in all, "a:…" answers at
        // once, "p:…" is a piece, "+N" bytes left unread, "@T" at T ms. Ended:
        // the state, or "@T" still sending, to be given up on at T ms.
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("ended");
        QTest::addColumn<QString>("had");
        QTest::newRow("at once") << u"a:whole@10"_s << u"Done"_s << u"whole"_s;
        QTest::newRow("in pieces")
            << u"incr@10 p:abc@20 p:de@30 p:@40"_s << u"Done"_s << u"abcde"_s;
        QTest::newRow("announced past the limit") << u"incr32"_s << u"TooLarge"_s << QString();
        QTest::newRow("a piece past it")
            << u"incr p:abcdefgh p:abcdefgh+1"_s << u"TooLarge"_s << QString();
        QTest::newRow("past the budget (9)")
            << u"incr p:abcdefgh p:ab"_s << u"CutOff"_s << QString();
        QTest::newRow("a stalled owner") << u"incr@10 p:a@4000"_s << u"@9000"_s << u"a"_s;
        QTest::newRow("one that drips for ever")
            << u"incr p:a@4000 p:a@8000 p:a@59999 p:a@60001"_s << u"@60000"_s << u"aaaa"_s;
    }
    void anX11OwnerSendingInPieces() {
        QFETCH(QString, sent);
        QFETCH(QString, ended);
        QFETCH(QString, had);
        const int room = QString::fromLatin1(QTest::currentDataTag()).contains(u"budget") ? 9 : 100;
        fetch::Budget budget(room);
        {
            x11::TransferState transfer(16, budget, 0);
            for (const QString &step : sent.split(u' ')) {
                const QString what = step.section(u'@', 0, 0);
                const qint64 ms = step.section(u'@', 1).toLongLong(),
                             after = what.section(u'+', 1).toLongLong();
                const QByteArray value = what.mid(2).section(u'+', 0, 0).toLatin1();
                const quint32 announced = what.mid(4).toUInt();
                if (what.startsWith(u"incr"))
                    transfer.answered(
                        true, QByteArrayView(reinterpret_cast<const char *>(&announced), 4), 0, ms);
                else if (what.startsWith(u"a:"))
                    transfer.answered(false, value, after, ms);
                else
                    transfer.piece(value, after, ms);
            }
            QCOMPARE(transfer.data(), had.toLatin1());
            QCOMPARE(budget.left(), room - had.size());
            if (ended.startsWith(u'@')) {
                QCOMPARE(transfer.deadline(), ended.mid(1).toLongLong());
                transfer.expire();
                ended = u"TimedOut"_s;
            }
            const char *states[] = {"Asked",    "Incremental", "Done",    "Refused",
                                    "TooLarge", "CutOff",      "TimedOut"};
            QCOMPARE(states[int(transfer.state())], ended.toLatin1());
        }
        QCOMPARE(budget.left(), room); // given back with it
    }
#endif

    void aWaylandSessionWithoutDataControl() {
        // The environment as it was, however the test ends.
        const auto restore = qScopeGuard([saved = QProcessEnvironment::systemEnvironment()] {
            for (const char *name : {"WAYLAND_DISPLAY", "DISPLAY", "QT_QPA_PLATFORM"}) {
                const QString key = QString::fromLatin1(name);
                if (saved.contains(key))
                    qputenv(name, saved.value(key).toLocal8Bit());
                else
                    qunsetenv(name);
            }
        });
        const QByteArray display = qgetenv("DISPLAY");
        qunsetenv("QT_QPA_PLATFORM");
        // A compositor that takes the connection and never answers, and a
        // DISPLAY where no X server answers: said after a while, and the
        // windows stay on Wayland.
        const QTemporaryDir dir;
        sockaddr_un address{AF_UNIX, {}};
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s/x", qPrintable(dir.path()));
        const int silent = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(::bind(silent, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
                ::listen(silent, 1) == 0);
        qputenv("WAYLAND_DISPLAY", address.sun_path);
        qputenv("DISPLAY", ":99");
        const ClipboardAccess none = chooseClipboardAccess();
        QCOMPARE(none.problem.reason, Reason::NoDataControl);
        QCOMPARE(none.platform, "wayland");
        ::close(silent);
        if (display.isEmpty())
            QSKIP("needs an X server: run ./test");
        // With an X server the windows go there, through the arguments
        // alone. One that cannot be told to be this session's is named.
        qputenv("DISPLAY", display);
        const ClipboardAccess access = chooseClipboardAccess();
        QVERIFY(access.problem.ok());
        QCOMPARE(access.display, QString::fromLocal8Bit(display));
        QVERIFY(qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"));
        char program[] = "orlo", option[] = "-x";
        char *argv[] = {program, option};
        ApplicationArguments arguments(2, argv, access.platform);
        QCOMPARE(arguments.count(), 4);
        QCOMPARE(QByteArray(arguments.values()[1]) + arguments.values()[2], "-platformxcb");
    }
};

QTEST_MAIN(tst_Transfers)
#include "tst_transfers.moc"
