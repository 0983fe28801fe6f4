// SPDX-License-Identifier: MIT
// dctool: a data-control client of the barest kind, for the tests.
//   dctool offer [--never] TYPE VALUE [TYPE VALUE]...
//     owns the clipboard with these types (VALUE "@path": the file's bytes);
//     prints "owner" once it owns it and "asked <type>" for each request.
//     It ends when another copy replaces it; with --never it answers no
//     request and holds their pipes open until it is killed, as a hung
//     program would.
//   dctool watch
//     prints "selection <event> <text>" for each selection event: the
//     CLOCK_MONOTONIC µs of the event, and of the end of its UTF-8 text read
//     at once with a blocking read (-1 when none): the least any clipboard
//     manager can take to learn of a copy and to have its text.
#include "platform/wayland/protocol.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>
#include <wayland-client.h>

using namespace wayland;

namespace {

struct Globals {
    wl_seat *seat = nullptr;
    std::vector<std::pair<const DataControlProtocol *, uint32_t>> managers; // protocol, name
    std::vector<uint32_t> versions;
};

void global(void *data, wl_registry *registry, uint32_t name, const char *interface,
            uint32_t version) {
    auto *globals = static_cast<Globals *>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !globals->seat) {
        globals->seat =
            static_cast<wl_seat *>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    }
    for (const DataControlProtocol &protocol : dataControlProtocols()) {
        if (std::strcmp(interface, protocol.name) == 0) {
            globals->managers.emplace_back(&protocol, name);
            globals->versions.push_back(version);
        }
    }
}

void globalRemove(void *, wl_registry *, uint32_t) {}

const wl_registry_listener registryListener{&global, &globalRemove};

void say(const std::string &line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

long long monotonicMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (long long)now.tv_sec * 1'000'000 + now.tv_nsec / 1000;
}

struct Offered {
    std::string type, data;
};

struct OfferState {
    std::vector<Offered> offered;
    bool never = false;
    bool cancelled = false;
    std::vector<int> heldPipes;
};

void sendData(void *data, wl_proxy *, const char *mimeType, int32_t fd) {
    auto *state = static_cast<OfferState *>(data);
    say(std::string("asked ") + mimeType);
    if (state->never) {
        state->heldPipes.push_back(fd);
        return;
    }
    for (const Offered &offered : state->offered) {
        if (offered.type != mimeType)
            continue;
        size_t written = 0;
        while (written < offered.data.size()) {
            const ssize_t put =
                ::write(fd, offered.data.data() + written, offered.data.size() - written);
            if (put <= 0)
                break;
            written += size_t(put);
        }
    }
    ::close(fd);
}

void cancelled(void *data, wl_proxy *) {
    static_cast<OfferState *>(data)->cancelled = true;
}

const SourceListener sourceListener{&sendData, &cancelled};

int offer(wl_display *display, const DataControlProtocol &protocol, wl_proxy *manager,
          wl_proxy *device, int argc, char **argv) {
    OfferState state;
    int i = 2;
    if (i < argc && std::string(argv[i]) == "--never") {
        state.never = true;
        ++i;
    }
    for (; i + 1 < argc; i += 2) {
        std::string value = argv[i + 1];
        if (!value.empty() && value[0] == '@') {
            std::ifstream file(value.substr(1), std::ios::binary);
            value.assign(std::istreambuf_iterator<char>(file), {});
        }
        state.offered.push_back({argv[i], value});
    }
    if (i != argc || state.offered.empty())
        return 2;
    SourcePtr source(createDataSource(protocol, manager));
    addListener(source.get(), &sourceListener, &state);
    for (const Offered &offered : state.offered)
        offerType(source.get(), offered.type.c_str());
    setSelection(device, source.get());
    if (wl_display_roundtrip(display) < 0)
        return 1;
    say("owner");
    while ((!state.cancelled || state.never) && wl_display_dispatch(display) != -1) {
    }
    say("cancelled");
    for (int fd : state.heldPipes)
        ::close(fd);
    return 0;
}

struct WatchedOffer {
    OfferPtr proxy;
    bool hasText = false;
};

struct WatchState {
    wl_display *display = nullptr;
    std::vector<std::unique_ptr<WatchedOffer>> offers;
};

void offeredType(void *data, wl_proxy *, const char *mimeType) {
    if (std::strcmp(mimeType, "text/plain;charset=utf-8") == 0)
        static_cast<WatchedOffer *>(data)->hasText = true;
}
const OfferListener offerListener{&offeredType};

void dataOffer(void *data, wl_proxy *, wl_proxy *proxy) {
    auto offer = std::make_unique<WatchedOffer>();
    offer->proxy.reset(proxy);
    addListener(proxy, &offerListener, offer.get());
    static_cast<WatchState *>(data)->offers.push_back(std::move(offer));
}

long long readText(wl_display *display, wl_proxy *offer) {
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    receive(offer, "text/plain;charset=utf-8", fds[1]);
    wl_display_flush(display);
    ::close(fds[1]);
    char buffer[65536];
    while (::read(fds[0], buffer, sizeof buffer) > 0) {
    }
    ::close(fds[0]);
    return monotonicMicroseconds();
}

void selection(void *data, wl_proxy *, wl_proxy *proxy) {
    const long long at = monotonicMicroseconds();
    auto *state = static_cast<WatchState *>(data);
    std::erase_if(state->offers,
                  [proxy](const auto &offer) { return offer->proxy.get() != proxy; });
    const bool hasText = !state->offers.empty() && state->offers.front()->hasText;
    const long long textAt = hasText ? readText(state->display, proxy) : -1;
    say("selection " + std::to_string(at) + ' ' + std::to_string(textAt));
}

void finished(void *, wl_proxy *) {}
void primarySelection(void *, wl_proxy *, wl_proxy *) {}

const DeviceListener watchListener{&dataOffer, &selection, &finished, &primarySelection};

} // namespace

int main(int argc, char **argv) {
    std::signal(SIGPIPE, SIG_IGN);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode != "offer" && mode != "watch") {
        std::fprintf(stderr, "usage: dctool offer [--never] TYPE VALUE... | dctool watch\n");
        return 2;
    }
    wl_display *display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "dctool: no Wayland display\n");
        return 1;
    }
    Globals globals;
    wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &globals);
    wl_display_roundtrip(display);
    const DataControlProtocol *protocol = nullptr;
    uint32_t name = 0, version = 0;
    for (const DataControlProtocol &candidate : dataControlProtocols()) {
        for (size_t i = 0; i < globals.managers.size(); ++i) {
            if (!protocol && globals.managers[i].first == &candidate) {
                protocol = &candidate;
                name = globals.managers[i].second;
                version = globals.versions[i];
            }
        }
    }
    if (!protocol || !globals.seat) {
        std::fprintf(stderr, "dctool: no data-control\n");
        return 1;
    }
    ManagerPtr manager(bindManager(registry, name, version, *protocol));
    DevicePtr device(
        getDataDevice(*protocol, manager.get(), reinterpret_cast<wl_proxy *>(globals.seat)));
    int status = 0;
    if (mode == "offer") {
        status = offer(display, *protocol, manager.get(), device.get(), argc, argv);
    } else {
        WatchState state;
        state.display = display;
        addListener(device.get(), &watchListener, &state);
        say("watching");
        while (wl_display_dispatch(display) != -1) {
        }
    }
    device.reset();
    manager.reset();
    wl_display_disconnect(display);
    return status;
}
