// SPDX-License-Identifier: MIT
// What owners that drip, never end or flood cost: the order changes are
// handed on in, and the pipes a Wayland transfer is read through.
#include "platform/changequeue.h"
#include "platform/wayland/pipes.h"

#include <QTest>
#include <csignal>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;
using wayland::PipeReader;

namespace {

ClipContent text(const QString &words) {
    return ClipContent::ofText(words, {u"text/plain"_s});
}

struct Pipe {
    Pipe() { QVERIFY(wayland::makeTransferPipe(read, write)); }
    ~Pipe() {
        if (write >= 0)
            ::close(write);
    }
    void put(const QByteArray &bytes) {
        QCOMPARE(::write(write, bytes.data(), bytes.size()), bytes.size());
    }
    int read = -1, write = -1;
};

} // namespace

class tst_Transfers : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { std::signal(SIGPIPE, SIG_IGN); }

    void aSlowChangeHoldsTheNextOnesForAMomentOnly() {
        QStringList handed;
        ChangeQueue queue(
            [&](ClipContent content, bool quiet) {
                handed << (quiet ? u"quiet"_s : content.text().value_or(u"?"_s));
            },
            300);
        const quint64 slow = queue.add(ChangeQueue::now());
        queue.complete(queue.add(ChangeQueue::now()), text(u"b"_s));
        QTest::qWait(150);
        QCOMPARE(handed, QStringList()); // in order while the slow one may still come
        QTRY_COMPARE_WITH_TIMEOUT(handed, QStringList{u"b"_s}, 1000);
        // It held the others once: later ones go at once.
        queue.complete(queue.add(ChangeQueue::now()), text(u"c"_s));
        QTRY_COMPARE_WITH_TIMEOUT(handed.size(), 2, 100);
        queue.complete(slow, text(u"a"_s));
        const quint64 late = queue.add(ChangeQueue::now(), true);
        queue.complete(queue.add(ChangeQueue::now()), text(u"e"_s));
        queue.complete(late, text(u"d"_s));
        QTRY_COMPARE(handed, (QStringList{u"b"_s, u"c"_s, u"a"_s, u"quiet"_s, u"e"_s}));
        QCOMPARE(queue.waiting(), 0u);
    }

    void pipesThatDripNeverEndOrFlood() {
        auto budget = std::make_shared<wayland::TransferBudget>(wayland::TransferBudget{32 << 20});
        int progress = 0, ended = 0;
        const auto reader = [&](Pipe &pipe, qsizetype limit) {
            return std::make_unique<PipeReader>(
                pipe.read, limit, budget, [&] { ++progress; }, [&] { ++ended; });
        };
        // A byte at a time, then the end: all of it.
        Pipe drip, endless, big, flood;
        auto dripping = reader(drip, 1 << 20);
        for (char byte : QByteArray("drip")) {
            drip.put(QByteArray(1, byte));
            QTRY_COMPARE(dripping->data().right(1), QByteArray(1, byte));
        }
        ::close(std::exchange(drip.write, -1));
        QTRY_COMPARE(dripping->state(), PipeReader::State::Done);
        QCOMPARE(dripping->data(), "drip");
        QCOMPARE_GE(progress, 4);
        // Never ending: reading until given up, and then nothing.
        auto waiting = reader(endless, 1 << 20);
        endless.put("part");
        QTest::qWait(50);
        QCOMPARE(waiting->state(), PipeReader::State::Reading);
        waiting->abandon();
        QCOMPARE(waiting->state(), PipeReader::State::Failed);
        QVERIFY(waiting->data().isEmpty());
        // Past its limit, past the budget: cut off, the event loop free meanwhile.
        auto tooLarge = reader(big, 1000);
        big.put(QByteArray(2000, 'x'));
        QTRY_COMPARE(tooLarge->state(), PipeReader::State::TooLarge);
        auto flooded = reader(flood, qsizetype(1) << 30);
        std::thread writer([fd = flood.write] {
            const QByteArray chunk(1 << 20, 'f');
            while (::write(fd, chunk.data(), chunk.size()) > 0) {
            }
        });
        int ticks = 0;
        QTimer tick;
        connect(&tick, &QTimer::timeout, this, [&] { ++ticks; });
        tick.start(1);
        QTRY_COMPARE(flooded->state(), PipeReader::State::CutOff);
        writer.join();
        QCOMPARE_GE(ticks, 3);
        QCOMPARE(ended, 3); // the one given up tells no one
        QCOMPARE(budget->left, 32 << 20);
    }
};

QTEST_MAIN(tst_Transfers)
#include "tst_transfers.moc"
