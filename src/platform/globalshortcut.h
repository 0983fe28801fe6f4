// SPDX-License-Identifier: MIT
#pragma once

#include "platform/result.h"

#include <QKeySequence>
#include <QObject>
#include <memory>

class QWindow;

/// One key combination that brings the program up from anywhere, as the
/// session allows it: a key grab of the X server's (X11), the desktop's
/// GlobalShortcuts portal (Wayland), or a hot key of the system's (Windows).
class GlobalShortcut : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~GlobalShortcut() override = default;

    /// Gives up the combination bound before and binds `keys` (empty: none).
    /// What fails at once is returned; what the desktop refuses later is
    /// told by failed().
    virtual Result bind(const QKeySequence &keys) = 0;
    /// After activated(): gives `window`, already shown, the focus the key
    /// press earned, where the window system wants a proof of it (X11: the
    /// time of the key event).
    virtual void giveFocus(QWindow *window) { Q_UNUSED(window) }

signals:
    /// The combination was pressed.
    void activated();
    /// The desktop refused or dropped the binding after bind() returned.
    void failed(const Result &why);
};

/// The way this session offers, once the application object exists; one
/// whose bind() says why not where it offers none.
std::unique_ptr<GlobalShortcut> makeGlobalShortcut();
