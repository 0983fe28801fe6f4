// SPDX-License-Identifier: MIT
#pragma once

#include "platform/result.h"
#include "platform/wayland/protocol.h"

#include <QString>
#include <functional>
#include <memory>

class QSocketNotifier;
struct wl_display;

namespace wayland {

/// A connection of the back end's own to the compositor, with a seat and the
/// data-control manager bound. Its events are read and dispatched from the
/// Qt event loop; the program's windows, if any, use another connection.
class Connection final {
public:
    /// Connects to $WAYLAND_DISPLAY; nothing, and why, when that or the
    /// data-control manager is not to be had.
    static std::unique_ptr<Connection> open(Result *whyNot);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    const DataControlProtocol &protocol() const { return *m_protocol; }
    wl_proxy *manager() const { return m_manager.get(); }
    wl_proxy *seat() const;

    /// Waits for the compositor to have handled every request sent so far and
    /// dispatches the events that came meanwhile, for `timeoutMs` at most: a
    /// compositor that does not answer is a failure. Only while setting up.
    bool roundtrip(int timeoutMs = 5000);
    /// From now on events are read as they come; `onBroken` is called once
    /// when the connection fails.
    void startDispatching(std::function<void()> onBroken);
    /// Sends the requests made so far.
    void flush();
    /// Reads and dispatches the events that have come, without waiting.
    void readEvents();
    /// Why the connection failed; ok while it works.
    const Result &failure() const { return m_failure; }

private:
    Connection() = default;
    bool bindGlobals(Result *whyNot);
    void dispatchPending();
    bool checkBroken();

    struct Globals;
    wl_display *m_display = nullptr;
    std::unique_ptr<Globals> m_globals;
    const DataControlProtocol *m_protocol = nullptr;
    ManagerPtr m_manager;
    std::unique_ptr<QSocketNotifier> m_readable, m_writable;
    std::function<void()> m_onBroken;
    Result m_failure;
};

} // namespace wayland
