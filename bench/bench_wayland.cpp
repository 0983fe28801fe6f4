// SPDX-License-Identifier: MIT
// Capture through Wayland's data-control on a headless sway, against a bare
// data-control listener that reads each copy's text at once (dcwatch):
// the time from starting wl-copy to the entry being listed, and a burst of
// copies, each started once the one before owns the clipboard. Run in the
// session that tests/e2e/wayland/session.sh makes, with ORLO_DCWATCH_BIN
// naming dcwatch (bench/run does both).
#include "benchutil.h"
#include "core/clipboardwatcher.h"
#include "core/entrystore.h"
#include "fakes.h"
#include "platform/wayland/connection.h"
#include "platform/wayland/dataclipboard.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <ctime>
#include <list>
#include <unistd.h>

namespace {

long long monotonicMicroseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000LL + now.tv_nsec / 1000;
}

/// A program of the session, killed with its process group when this goes.
struct Started : QProcess {
    Started(const QString &program, const QStringList &arguments) {
        setChildProcessModifier([] { ::setpgid(0, 0); });
        start(program, arguments);
        group = processId();
    }
    ~Started() override {
        if (group > 0)
            ::kill(pid_t(-group), SIGKILL);
        waitForFinished(3000);
    }
    /// Its next line of output, waiting up to `timeoutMs`; empty when none came.
    QByteArray nextLine(int timeoutMs) {
        return bench::waitFor([this] { return canReadLine(); }, timeoutMs) ? readLine().trimmed()
                                                                           : QByteArray();
    }
    qint64 group = 0;
};

} // namespace

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // This process joins the session's compositor as a client of its own.
    Result why;
    std::unique_ptr<Clipboard> clipboard =
        makeDataControlClipboard(wayland::Connection::open(&why), &why);
    if (!clipboard) {
        std::fprintf(stderr, "no data-control: %s\n", qPrintable(why.detail));
        return 1;
    }
    QTemporaryDir dir;
    FakeClock clock;
    EntryStore store(DataFolders(dir.path()), Options{}, clock);
    store.folders().provide();
    ClipboardWatcher watcher(*clipboard, store);
    watcher.listen();

    Started bare(qEnvironmentVariable("ORLO_DCWATCH_BIN"), {});
    if (bare.nextLine(10'000) != "watching") {
        std::fprintf(stderr, "the bare listener did not start\n");
        return 1;
    }
    // Copies made by another process while this one's event loop runs on;
    // each wl-copy leaves its owner behind in its process group.
    const QString type = QStringLiteral("text/plain;charset=utf-8");
    std::list<Started> copiers;
    auto copy = [&](const QByteArray &text) {
        Started &copier = copiers.emplace_back(QStringLiteral("wl-copy"),
                                               QStringList{QStringLiteral("--type"), type});
        copier.write(text);
        copier.closeWriteChannel();
    };
    QList<double> ours, baseline;
    for (int i = 0; i < 21; ++i) {
        const int before = store.texts().next();
        const long long start = monotonicMicroseconds();
        copy("剪贴板测试 text number " + QByteArray::number(i));
        if (bench::waitFor([&] { return store.texts().next() > before; }))
            ours << (monotonicMicroseconds() - start) / 1000.0;
        // The bare listener's own line for this copy: its event came after the start.
        for (QByteArray line; !(line = bare.nextLine(10'000)).isEmpty();) {
            if (line.split(' ').value(1).toLongLong() >= start) {
                baseline << (line.split(' ').value(2).toLongLong() - start) / 1000.0;
                break;
            }
        }
    }
    const double o = bench::median(ours), b = bench::median(baseline);
    bench::row(QStringLiteral("Wayland text latency (wl-copy → listed)"), bench::ms(o),
               bench::ms(b), bench::times(o / b), QStringLiteral("≤ 1.3×"),
               o <= 1.3 * b && ours.size() == 21);

    // A burst: every copy taken, in the order made?
    store.deleteAllText();
    QStringList taken;
    QObject::connect(&store.texts(), &TextEntries::currentChanged,
                     [&](int row) { taken << store.texts().text(row); });
    const int burst = 100;
    int bareSeen = 0;
    // Each copy once the one before owns the clipboard, as fast as wl-copy goes.
    const Started burster(
        QStringLiteral("sh"),
        {QStringLiteral("-c"),
         QStringLiteral("for i in $(seq 0 %1); do printf 'burst %s' $i | wl-copy --type '%2'; done")
             .arg(burst - 1)
             .arg(type)});
    bench::waitFor([&] { return taken.size() >= burst; }, 30'000);
    for (QByteArray line; !(line = bare.nextLine(1000)).isEmpty();)
        bareSeen += line.split(' ').value(2) != "-1"; // its text read
    int inOrder = 0;
    qsizetype from = 0;
    for (int i = 0; i < burst; ++i) {
        const qsizetype at = taken.indexOf(QStringLiteral("burst %1").arg(i), from);
        if (at >= 0) {
            ++inOrder;
            from = at + 1;
        }
    }
    bench::row(QStringLiteral("Wayland burst of 100 copies"),
               QStringLiteral("%1 of %2 in order").arg(inOrder).arg(burst),
               QStringLiteral("%1 of %2 read").arg(bareSeen).arg(burst), QStringLiteral("-"),
               QStringLiteral("100 of 100, in order"), inOrder == burst);
    return 0;
}
