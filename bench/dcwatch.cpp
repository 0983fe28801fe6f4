// SPDX-License-Identifier: MIT
// dcwatch: the barest data-control listener, the benchmark's baseline. For
// each selection it prints "selection <event> <text>": the CLOCK_MONOTONIC µs
// of the event, and of the end of its UTF-8 text, read at once with a
// blocking read (-1 when it has none): the least any clipboard manager can
// take to learn of a copy and to have its text.
#include "platform/wayland/connection.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <unistd.h>
#include <vector>

using namespace wayland;

namespace {

long long monotonicMicroseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000LL + now.tv_nsec / 1000;
}

struct Watched {
    OfferPtr proxy;
    bool hasText = false;
};

struct State {
    Connection *connection = nullptr;
    std::vector<std::unique_ptr<Watched>> offers;
};

void offeredType(void *data, wl_proxy *, const char *mimeType) {
    if (std::strcmp(mimeType, "text/plain;charset=utf-8") == 0)
        static_cast<Watched *>(data)->hasText = true;
}
const OfferListener offerListener{&offeredType};

void dataOffer(void *data, wl_proxy *, wl_proxy *proxy) {
    auto offer = std::make_unique<Watched>();
    offer->proxy.reset(proxy);
    addListener(proxy, &offerListener, offer.get());
    static_cast<State *>(data)->offers.push_back(std::move(offer));
}

long long readText(Connection &connection, wl_proxy *offer) {
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    receive(offer, "text/plain;charset=utf-8", fds[1]);
    connection.flush();
    ::close(fds[1]);
    char buffer[65536];
    while (::read(fds[0], buffer, sizeof buffer) > 0) {
    }
    ::close(fds[0]);
    return monotonicMicroseconds();
}

void selection(void *data, wl_proxy *, wl_proxy *proxy) {
    const long long at = monotonicMicroseconds();
    auto *state = static_cast<State *>(data);
    std::erase_if(state->offers,
                  [proxy](const auto &offer) { return offer->proxy.get() != proxy; });
    const bool hasText = !state->offers.empty() && state->offers.front()->hasText;
    std::printf("selection %lld %lld\n", at, hasText ? readText(*state->connection, proxy) : -1);
    std::fflush(stdout);
}

void finished(void *, wl_proxy *) {}
void primarySelection(void *, wl_proxy *, wl_proxy *) {}
const DeviceListener listener{&dataOffer, &selection, &finished, &primarySelection};

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    Result why;
    std::unique_ptr<Connection> connection = Connection::open(&why);
    if (!connection) {
        std::fprintf(stderr, "dcwatch: %s\n", qPrintable(why.detail));
        return 1;
    }
    State state{connection.get(), {}};
    DevicePtr device(
        getDataDevice(connection->protocol(), connection->manager(), connection->seat()));
    addListener(device.get(), &listener, &state);
    connection->startDispatching([] { QCoreApplication::exit(1); });
    connection->flush();
    std::puts("watching");
    std::fflush(stdout);
    return app.exec();
}
