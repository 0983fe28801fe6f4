// SPDX-License-Identifier: MIT
// Small helpers shared by the benchmarks: medians and the row format that
// ./bench turns into one table.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QString>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <unistd.h>

namespace bench {

inline double median(QList<double> values) {
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype mid = values.size() / 2;
    return values.size() % 2 ? values.at(mid) : (values.at(mid - 1) + values.at(mid)) / 2;
}

/// One line of the table: figure, our value, the baseline, their ratio, the
/// target and whether it is met. Printed on stdout, tab-separated.
inline void row(const QString &figure, const QString &ours, const QString &baseline,
                const QString &ratio, const QString &target, bool met) {
    std::printf("ROW\t%s\t%s\t%s\t%s\t%s\t%s\n", qPrintable(figure), qPrintable(ours),
                qPrintable(baseline), qPrintable(ratio), qPrintable(target),
                met ? "met" : "MISSED");
    std::fflush(stdout);
}

/// Runs the event loop until `done` holds or the time is up; false on time-out.
inline bool waitFor(const std::function<bool()> &done, int timeoutMs = 10000, int tickMs = 5) {
    QElapsedTimer timer;
    timer.start();
    QTimer tick; // wakes the loop to look at the clock
    tick.start(tickMs);
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

inline QString ms(double value) {
    return QString::number(value, 'f', 1) + QStringLiteral(" ms");
}

inline QString times(double value) {
    return QString::number(value, 'f', 2) + QStringLiteral("×");
}

/// The fields of /proc/<pid>/stat after the name: state, ppid … (the name
/// may hold spaces and brackets); none once the process is gone.
inline QList<QByteArray> processStat(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2).split(' ');
}

/// A process and the processes it started, the ones they started …
inline QList<qint64> processTree(qint64 pid) {
    QList<qint64> tree{pid};
    const QStringList all = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (qsizetype i = 0; i < tree.size(); ++i) {
        for (const QString &name : all) {
            if (name.toLongLong() > 0 &&
                processStat(name.toLongLong()).value(1).toLongLong() == tree.at(i))
                tree.append(name.toLongLong());
        }
    }
    return tree;
}

/// Resident memory of the processes, in MB.
inline double residentMb(const QList<qint64> &processes) {
    double pages = 0;
    for (const qint64 each : processes)
        pages += processStat(each).value(21).toDouble(); // rss
    return pages * double(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

/// The processes' own memory, in MB: their private pages and their share of
/// the pages they share with others (the proportional set size of
/// /proc/<pid>/smaps_rollup). Unlike resident memory, it does not count
/// whole the fonts and libraries every desktop program maps.
inline double ownMb(const QList<qint64> &processes) {
    double kb = 0;
    for (const qint64 each : processes) {
        QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(each));
        if (!rollup.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : rollup.readAll().split('\n')) {
            if (line.startsWith("Pss:"))
                kb += line.mid(4).trimmed().split(' ').value(0).toDouble();
        }
    }
    return kb / 1024.0;
}

/// Processor time the processes have taken, in ms.
inline double processorMs(const QList<qint64> &processes) {
    double ticks = 0;
    for (const qint64 each : processes) {
        const QList<QByteArray> fields = processStat(each);
        ticks += fields.value(11).toDouble() + fields.value(12).toDouble(); // utime, stime
    }
    return ticks * 1000.0 / double(::sysconf(_SC_CLK_TCK));
}

} // namespace bench
