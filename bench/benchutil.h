// SPDX-License-Identifier: MIT
// Small helpers shared by the benchmarks: medians and the row format that
// ./bench turns into one table.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

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

} // namespace bench
