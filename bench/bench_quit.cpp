// SPDX-License-Identifier: MIT
// Quitting and deleting everything on a slow disk: the time from the command
// to the window gone (or the lists empty) while the journal's syncs take two
// seconds each, against the same on the system's disk. Needs DISPLAY.
#include "app/program.h"
#include "benchutil.h"
#include "fakes.h"
#include "platform/qtclipboard.h"

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QThread>
#include <unistd.h>

namespace {

/// A disk that takes two seconds for every sync.
class SlowDisk final : public Disk {
public:
    void syncAndClose(int fd) const override {
        QThread::sleep(2);
        ::close(fd);
    }
};

/// Milliseconds from the command to the event loop having done it.
double timed(QAction *command) {
    QElapsedTimer timer;
    timer.start();
    command->trigger();
    QCoreApplication::processEvents();
    return timer.nsecsElapsed() / 1e6;
}

struct Run {
    double deleting = 0, quitting = 0;
};

Run measure(const Disk &disk) {
    QTemporaryDir dir;
    QtClipboard clipboard;
    FakeDialogs dialogs;
    SystemClock clock;
    FakeLauncher launcher;
    SettingsStore settings(dir.filePath(QStringLiteral("settings.ini")));
    Program program({clipboard, dialogs, clock, launcher, disk}, settings, dir.path());
    program.start();
    MainWindow &window = program.window();
    window.show();
    bench::waitFor([&] { return window.isVisible(); });
    Run run;
    for (int round = 0; round < 2; ++round) {
        // Every capture asks for a sync; the disk is still busy with the first.
        for (int i = 0; i < 100; ++i)
            program.store().captureText(QStringLiteral("entry %1 ").arg(i).repeated(100));
        if (round == 0)
            run.deleting = timed(window.findChild<QAction *>(QStringLiteral("menuClearData")));
    }
    run.quitting = timed(window.exitAction());
    if (window.isVisible())
        run.quitting = 1e9;
    return run;
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const Run system = measure(systemDisk());
    const Run slow = measure(SlowDisk());
    bench::row(QStringLiteral("删除所有文本和图片, slow disk (2 s a sync)"),
               bench::ms(slow.deleting), bench::ms(system.deleting),
               bench::times(slow.deleting / system.deleting), QStringLiteral("≤ 100 ms"),
               slow.deleting <= 100);
    bench::row(QStringLiteral("退出 → window gone, slow disk (2 s a sync)"),
               bench::ms(slow.quitting), bench::ms(system.quitting),
               bench::times(slow.quitting / system.quitting), QStringLiteral("≤ 100 ms"),
               slow.quitting <= 100);
    return 0;
}
