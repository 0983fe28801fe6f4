// SPDX-License-Identifier: MIT
// dctool: a data-control owner of the barest kind, for the tests.
//   dctool offer [--never] TYPE VALUE [TYPE VALUE]...
//     owns the clipboard with these types (VALUE "@path": the file's bytes);
//     prints "owner" once it owns it and "asked <type>" for each request.
//     It ends when another copy replaces it; with --never it answers no
//     request and holds their pipes open until it is killed, as a hung
//     program would.
#include "platform/wayland/connection.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

using namespace wayland;

namespace {

void say(const std::string &line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

struct Offered {
    std::string type, data;
};

struct OfferState {
    std::vector<Offered> offered;
    bool never = false;
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
    if (!static_cast<OfferState *>(data)->never)
        QCoreApplication::quit();
}

const SourceListener sourceListener{&sendData, &cancelled};

int offer(Connection &connection, int argc, char **argv) {
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
    DevicePtr device(getDataDevice(connection.protocol(), connection.manager(), connection.seat()));
    SourcePtr source(createDataSource(connection.protocol(), connection.manager()));
    addListener(source.get(), &sourceListener, &state);
    for (const Offered &offered : state.offered)
        offerType(source.get(), offered.type.c_str());
    setSelection(device.get(), source.get());
    if (!connection.roundtrip())
        return 1;
    say("owner");
    connection.startDispatching([] { QCoreApplication::quit(); });
    QCoreApplication::exec();
    say("cancelled");
    for (int fd : state.heldPipes)
        ::close(fd);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication app(argc, argv);
    if (argc < 2 || std::string(argv[1]) != "offer") {
        std::fprintf(stderr, "usage: dctool offer [--never] TYPE VALUE...\n");
        return 2;
    }
    Result why;
    std::unique_ptr<Connection> connection = Connection::open(&why);
    if (!connection) {
        std::fprintf(stderr, "dctool: %s\n", qPrintable(why.detail));
        return 1;
    }
    return offer(*connection, argc, argv);
}
