// SPDX-License-Identifier: MIT
// A test's own program state with its main window, as after start-up.
#pragma once

#include "testrig.h"
#include "ui/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTimer>
#include <functional>

struct WindowRig : TestRig {
    using TestRig::TestRig;
    MainWindow form{store, settings, platform()};

    /// A widget or menu item of the window, by its design name.
    template <typename T = QWidget> T *find(const char *name) const {
        return form.findChild<T *>(QString::fromLatin1(name));
    }
    void trigger(const char *item) const { find<QAction>(item)->trigger(); }
};

/// Once a modal dialog comes up (the command that opens it waits for it),
/// hands it to `act`. Given up after ten seconds, so that a dialog that never
/// came cannot be taken for a later test's.
inline void whenModal(const std::function<void(QDialog *)> &act) {
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act, deadline = QDeadlineTimer(10'000)] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (dialog || deadline.hasExpired())
            poll->deleteLater();
        if (dialog)
            act(dialog);
    });
    poll->start(10);
}
