// SPDX-License-Identifier: MIT
#pragma once

#include "platform/watchedclipboard.h"

#include <map>
#include <memory>

namespace x11 {
class Watcher;
}

/// The X11 clipboard: changes heard and fetched by a watcher of its own
/// (x11::Watcher) and handed on in the order they were made; the program's
/// own copies are made through the toolkit's clipboard, which also tells
/// what they were.
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
    /// What this program put on the clipboard last.
    static ClipContent ownContent();
    friend std::unique_ptr<Clipboard> makeX11Clipboard(bool xwayland, const QString &display,
                                                       Result *whyNot);
    X11Clipboard(bool xwayland, QString display);

    std::unique_ptr<x11::Watcher> m_watcher;
    std::map<quint64, quint64> m_changes; ///< the watcher's numbers, in the queue
    bool m_xwayland;
    QString m_display;
};

/// The X11 clipboard of the application's X server, watched on a connection
/// of its own; nothing, and why, when that cannot be had. `xwayland`: the
/// server is this Wayland session's; `display`, when not empty, is shown as
/// the one watched (a server that cannot be told to be the session's).
std::unique_ptr<Clipboard> makeX11Clipboard(bool xwayland, const QString &display, Result *whyNot);
