// SPDX-License-Identifier: MIT
// The program as a user runs it: time from process start to listening for
// clipboard changes, and its resident memory idle and after 100 captured 4K
// pictures. Needs DISPLAY (bench/run provides a private Xvfb).
#include "benchutil.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <functional>

namespace {

/// A private copy of the program: its own folder, home and settings.
struct Installed {
    explicit Installed(const QString &binary) {
        program = dir.filePath(QStringLiteral("orlo-clipboard"));
        QFile::copy(binary, program);
        for (const char *sub : {"home", "config", "data", "runtime"})
            QDir(dir.path()).mkpath(QString::fromLatin1(sub));
        QFile::setPermissions(dir.filePath(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("runtime")));
    }
    QString tempPicture(int n) const {
        return dir.filePath(
            QStringLiteral("data/image/temp/图像%1.bmp").arg(n, 2, 10, QLatin1Char('0')));
    }
    QTemporaryDir dir;
    QString program;
    QProcessEnvironment env;
};

void stop(QProcess &process) {
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

} // namespace

int main(int argc, char *argv[]) {
    QGuiApplication app(argc, argv);
    const QString binary = app.arguments().value(1, QStringLiteral(ORLO_PROGRAM));
    QClipboard *clipboard = QGuiApplication::clipboard();

    // A tray host, so the program starts hidden behind its icon as usual.
    QProcess trayer;
    trayer.start(QStringLiteral("trayer"), {QStringLiteral("--edge"), QStringLiteral("top")});
    trayer.waitForStarted(3000);

    // Start-up: a new copy every 15 ms from the moment the process is started;
    // the first one taken marks the program as listening. (Faster copies
    // would replace each one before it can be read.) The figure is an upper
    // bound: it holds up to one interval and one capture more.
    QList<double> startups;
    for (int run = 0; run < 5; ++run) {
        Installed installed(binary);
        QProcess program;
        program.setProcessEnvironment(installed.env);
        int copies = 0;
        QTimer copying;
        QObject::connect(&copying, &QTimer::timeout, [&] {
            QImage dot(2, 2, QImage::Format_RGB32);
            dot.fill(QColor::fromRgb(QRandomGenerator::global()->generate()));
            clipboard->setImage(dot);
            ++copies;
        });
        QElapsedTimer timer;
        timer.start();
        program.start(installed.program, {});
        copying.start(15);
        const bool listening =
            bench::waitFor([&] { return QFile::exists(installed.tempPicture(0)); }, 10000, 2);
        copying.stop();
        if (listening)
            startups.append(timer.nsecsElapsed() / 1e6);
        stop(program);
    }
    const double startup = bench::median(startups);
    bench::row(QStringLiteral("start-up: process start → listening"), bench::ms(startup),
               QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("≤ 300 ms"),
               startups.size() == 5 && startup <= 300);

    // Memory, idle and after 100 pictures of a 4K screen.
    Installed installed(binary);
    QProcess program;
    program.setProcessEnvironment(installed.env);
    program.start(installed.program, {});
    program.waitForStarted(5000);
    QThread::msleep(1500);
    const double idleResident = bench::residentMb({program.processId()});
    const double idle = bench::ownMb({program.processId()});

    QImage screen(3840, 2160, QImage::Format_RGB888);
    for (int y = 0; y < screen.height(); ++y)
        std::memset(screen.scanLine(y), y % 256, size_t(screen.bytesPerLine()));
    const QString png = installed.dir.filePath(QStringLiteral("screen.png"));
    screen.save(png, "PNG");
    QList<QProcess *> copiers;
    int captured = 0;
    for (int i = 0; i < 100; ++i) {
        auto *xclip = new QProcess;
        xclip->start(QStringLiteral("xclip"),
                     {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                      QStringLiteral("-quiet"), QStringLiteral("-t"), QStringLiteral("image/png"),
                      QStringLiteral("-i"), png});
        copiers.append(xclip);
        if (bench::waitFor([&] { return QFile::exists(installed.tempPicture(i)); }, 10000, 2))
            ++captured;
    }
    QThread::msleep(1500);
    const double afterResident = bench::residentMb({program.processId()});
    const double after = bench::ownMb({program.processId()});
    // The words in the pictures are read meanwhile, by a process of its own.
    QList<qint64> readers = bench::processTree(program.processId());
    readers.removeFirst();
    const double reading = bench::ownMb(readers);
    for (QProcess *xclip : std::as_const(copiers)) {
        xclip->kill();
        xclip->waitForFinished(1000);
        delete xclip;
    }
    stop(program);
    stop(trayer);

    // The targets are on the program's own memory; resident memory also
    // counts whole the fonts and libraries it shares with every program.
    bench::row(QStringLiteral("memory idle: own (resident)"),
               QStringLiteral("%1 MB (%2 MB)").arg(idle, 0, 'f', 1).arg(idleResident, 0, 'f', 1),
               QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("own ≤ 40 MB"),
               idle > 0 && idle <= 40);
    bench::row(QStringLiteral("memory after 100 4K pictures: own (resident)"),
               QStringLiteral("+%1 MB (+%2 MB), %3 captured")
                   .arg(after - idle, 0, 'f', 1)
                   .arg(afterResident - idleResident, 0, 'f', 1)
                   .arg(captured),
               QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("own ≤ +40 MB"),
               captured == 100 && after - idle <= 40);
    bench::row(QStringLiteral("the reader of their words, while it reads: own"),
               QStringLiteral("%1 MB").arg(reading, 0, 'f', 1), QStringLiteral("-"),
               QStringLiteral("-"), QStringLiteral("-"), true);
    return 0;
}
