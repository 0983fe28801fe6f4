// SPDX-License-Identifier: MIT
// The desktop's boxes, clock and browser, held in memory for tests.
#pragma once

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/launcher.h"

/// Records every box and answers input boxes from a queue.
class FakeDialogs final : public Dialogs {
public:
    struct Shown {
        MessageIcon icon;
        QString text;
    };
    void message(MessageIcon icon, const QString &text) override { messages.append({icon, text}); }
    QString input(const QString &, const QString &) override {
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }

    Answer ask(const QString &question, const QString &, const QString &) override {
        questions.append(question);
        return answer;
    }

    QList<Shown> messages;
    QStringList questions;
    Answer answer = Answer::Cancel;
    QStringList answers;
};

/// A clock that shows a fixed time; tests move it by hand.
class FakeClock final : public Clock {
public:
    QDateTime now() const override { return time; }
    QDateTime time{QDate(2024, 5, 1), QTime(15, 30, 45)};
};

/// Records what was opened; answers with `succeed`.
class FakeLauncher final : public Launcher {
public:
    bool open(const QUrl &url) override {
        opened.append(url);
        return succeed;
    }
    QList<QUrl> opened;
    bool succeed = true;
};
