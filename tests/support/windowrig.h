// SPDX-License-Identifier: MIT
// A test's own program state with its main window, as after start-up.
#pragma once

#include "testrig.h"
#include "ui/frmmain.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

struct WindowRig : TestRig {
    using TestRig::TestRig;
    frmMain form{store, settings, platform()};
};

/// Once a modal dialog comes up (the command that opens it waits for it),
/// hands it to `act`.
inline void whenModal(const std::function<void(QDialog *)> &act) {
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            act(dialog);
        }
    });
    poll->start(10);
}
