// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>

/// The local date and time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

/// A clock that shows a fixed time; tests move it by hand.
class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime at = QDateTime(QDate(2024, 5, 1), QTime(15, 30, 45)))
        : time(std::move(at)) {}
    QDateTime now() const override { return time; }
    QDateTime time;
};
