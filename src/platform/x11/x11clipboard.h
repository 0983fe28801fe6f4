// SPDX-License-Identifier: MIT
#pragma once

#include "platform/watchedclipboard.h"

#include <deque>
#include <memory>

namespace x11 {
class Watcher;
}

/// The X11 clipboard: changes heard and fetched by a watcher of its own
/// (x11::Watcher) and handed on in the order they were made; the program's
/// own copies are made through the toolkit's clipboard (by a command or by
/// the toolkit's widgets), and each is known from what was stored when it was
/// made: by the time its change is handed on, another owner may have taken
/// the clipboard.
class X11Clipboard final : public WatchedClipboard {
    Q_OBJECT
public:
    ~X11Clipboard() override;

    void setText(const QString &text) override;
    void setImage(const QImage &image) override;
    void clear() override;
    QString name() const override;
    QString watchedDisplay() const override { return m_display; }

private:
    /// Notes what this program has just put on the clipboard.
    void noteOwnCopy();
    /// What our copy that became the clipboard's at `madeMs` held.
    ClipContent ownCopyAt(qint64 madeMs);
    friend std::unique_ptr<Clipboard> makeX11Clipboard(bool xwayland, const QString &display,
                                                       Result *whyNot);
    X11Clipboard(bool xwayland, QString display);

    std::unique_ptr<x11::Watcher> m_watcher;
    struct OwnCopy {
        qint64 madeMs;
        ClipContent content;
    };
    std::deque<OwnCopy> m_ownCopies; ///< made, not yet told as changes; oldest first
    bool m_xwayland;
    QString m_display;
};

/// The X11 clipboard of the application's X server, watched on a connection
/// of its own; nothing, and why, when that cannot be had. `xwayland`: the
/// server is this Wayland session's; `display`, when not empty, is shown as
/// the one watched (a server that cannot be told to be the session's).
std::unique_ptr<Clipboard> makeX11Clipboard(bool xwayland, const QString &display, Result *whyNot);
