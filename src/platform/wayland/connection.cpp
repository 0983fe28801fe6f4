// SPDX-License-Identifier: MIT
#include "platform/wayland/connection.h"

#include "platform/logging.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <vector>
#include <wayland-client.h>

namespace wayland {

struct Connection::Globals {
    struct Manager {
        const DataControlProtocol *protocol;
        uint32_t name, version;
    };
    wl_registry *registry = nullptr;
    uint32_t seatName = 0;
    wl_seat *seat = nullptr;
    std::vector<Manager> managers;
    bool lost = false; ///< the seat went away

    static void global(void *data, wl_registry *registry, uint32_t name, const char *interface,
                       uint32_t version) {
        auto *self = static_cast<Globals *>(data);
        if (std::strcmp(interface, wl_seat_interface.name) == 0 && !self->seat) {
            self->seatName = name; // the first seat: sessions have one
            self->seat =
                static_cast<wl_seat *>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
            return;
        }
        for (const DataControlProtocol &protocol : dataControlProtocols()) {
            if (std::strcmp(interface, protocol.name) == 0)
                self->managers.push_back({&protocol, name, version});
        }
    }
    static void globalRemove(void *data, wl_registry *, uint32_t name) {
        auto *self = static_cast<Globals *>(data);
        if (name == self->seatName)
            self->lost = true;
    }
    static constexpr wl_registry_listener listener{&global, &globalRemove};
};

wl_proxy *Connection::seat() const {
    return reinterpret_cast<wl_proxy *>(m_globals->seat);
}

std::unique_ptr<Connection> Connection::open(Result *whyNot) {
    auto fail = [whyNot](const QString &why) {
        if (whyNot)
            *whyNot = {Reason::NoDataControl, qEnvironmentVariable("WAYLAND_DISPLAY"), why};
        return nullptr;
    };
    // Without it libwayland would try "wayland-0", a compositor the session never named.
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return fail(QStringLiteral("WAYLAND_DISPLAY is not set"));
    std::unique_ptr<Connection> connection(new Connection);
    connection->m_display = wl_display_connect(nullptr);
    if (!connection->m_display)
        return fail(QStringLiteral("cannot connect: ") +
                    QString::fromLocal8Bit(std::strerror(errno)));
    if (!connection->bindGlobals(whyNot))
        return nullptr;
    return connection;
}

Connection::~Connection() {
    m_readable.reset();
    m_writable.reset();
    if (!m_display)
        return;
    m_manager.reset();
    if (m_globals) {
        if (m_globals->seat)
            wl_seat_destroy(m_globals->seat);
        if (m_globals->registry)
            wl_registry_destroy(m_globals->registry);
    }
    wl_display_flush(m_display);
    wl_display_disconnect(m_display);
}

bool Connection::bindGlobals(Result *whyNot) {
    m_globals = std::make_unique<Globals>();
    m_globals->registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_globals->registry, &Globals::listener, m_globals.get());
    if (!roundtrip()) {
        if (whyNot)
            *whyNot = m_failure;
        return false;
    }
    const Globals::Manager *chosen = nullptr;
    for (const DataControlProtocol &protocol : dataControlProtocols()) {
        for (const Globals::Manager &manager : m_globals->managers) {
            if (!chosen && manager.protocol == &protocol)
                chosen = &manager;
        }
    }
    if (!chosen || !m_globals->seat) {
        if (whyNot) {
            *whyNot = {Reason::NoDataControl, qEnvironmentVariable("WAYLAND_DISPLAY"),
                       chosen ? QStringLiteral("no seat")
                              : QStringLiteral("no data-control manager")};
        }
        return false;
    }
    m_protocol = chosen->protocol;
    m_manager.reset(bindManager(m_globals->registry, chosen->name, chosen->version, *m_protocol));
    return true;
}

bool Connection::roundtrip(int timeoutMs) {
    bool done = false;
    static constexpr wl_callback_listener answered{[](void *data, wl_callback *, uint32_t) {
        *static_cast<bool *>(data) = true;
    }};
    wl_callback *sync = wl_display_sync(m_display);
    wl_callback_add_listener(sync, &answered, &done);
    QElapsedTimer clock;
    clock.start();
    bool broken = false;
    while (!done && !broken) {
        if (wl_display_dispatch_pending(m_display) < 0) {
            broken = true;
            break;
        }
        if (done || wl_display_prepare_read(m_display) != 0)
            continue;
        wl_display_flush(m_display);
        pollfd fd{wl_display_get_fd(m_display), POLLIN, 0};
        const int left = int(qMax<qint64>(0, timeoutMs - clock.elapsed()));
        if (::poll(&fd, 1, left) <= 0) {
            wl_display_cancel_read(m_display);
            wl_callback_destroy(sync);
            m_failure = {Reason::NoDataControl, qEnvironmentVariable("WAYLAND_DISPLAY"),
                         QStringLiteral("the compositor did not answer in %1 ms").arg(timeoutMs)};
            qCWarning(lcWayland) << "no answer:" << m_failure;
            return false;
        }
        broken = wl_display_read_events(m_display) < 0;
    }
    wl_callback_destroy(sync);
    return !(broken && checkBroken());
}

void Connection::startDispatching(std::function<void()> onBroken) {
    m_onBroken = std::move(onBroken);
    const int fd = wl_display_get_fd(m_display);
    m_readable = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(m_readable.get(), &QSocketNotifier::activated, m_readable.get(),
                     [this] { readEvents(); });
    m_writable = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
    m_writable->setEnabled(false);
    QObject::connect(m_writable.get(), &QSocketNotifier::activated, m_writable.get(),
                     [this] { flush(); });
    // Events read by a libwayland call made elsewhere (a roundtrip) wait in
    // the queue with the socket empty: dispatch them before the loop sleeps.
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     m_readable.get(), [this] {
                         dispatchPending();
                         flush();
                     });
    dispatchPending();
    flush();
}

void Connection::readEvents() {
    if (!m_failure.ok())
        return;
    while (wl_display_prepare_read(m_display) != 0) {
        dispatchPending();
        if (!m_failure.ok())
            return;
    }
    // Reads what is there; libwayland's socket reads never wait.
    if (wl_display_read_events(m_display) < 0) {
        checkBroken();
        return;
    }
    dispatchPending();
    flush();
}

void Connection::dispatchPending() {
    if (!m_failure.ok())
        return;
    if (wl_display_dispatch_pending(m_display) < 0 || m_globals->lost)
        checkBroken();
}

void Connection::flush() {
    if (!m_failure.ok())
        return;
    const int sent = wl_display_flush(m_display);
    const bool full = sent < 0 && errno == EAGAIN;
    // A full socket takes the rest when it can.
    if (m_writable)
        m_writable->setEnabled(full);
    if (sent < 0 && !full)
        checkBroken();
}

bool Connection::checkBroken() {
    const int error = wl_display_get_error(m_display);
    if (error == 0 && !m_globals->lost)
        return false;
    if (m_failure.ok()) {
        m_failure = {Reason::ConnectionLost, qEnvironmentVariable("WAYLAND_DISPLAY"),
                     m_globals->lost ? QStringLiteral("the seat went away")
                                     : QString::fromLocal8Bit(std::strerror(error))};
        qCWarning(lcWayland) << "connection failed:" << m_failure;
        if (m_readable)
            m_readable->setEnabled(false);
        if (m_writable)
            m_writable->setEnabled(false);
        if (m_onBroken)
            m_onBroken();
    }
    return true;
}

} // namespace wayland
