// SPDX-License-Identifier: MIT
// dctool [--never | --drip] TYPE VALUE [TYPE VALUE]...: a data-control owner
// of the barest kind, for the tests. It owns the clipboard with these types,
// prints "owner" once it does and "asked <type>" for each request, and ends
// when another copy replaces it. With --never it answers no request and holds
// their pipes open until it is killed, as a hung program would; with --drip
// it writes a byte every 100 ms until killed.
#include "platform/wayland/connection.h"

#include <QCoreApplication>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <map>
#include <string>
#include <unistd.h>

using namespace wayland;

namespace {

struct Offer {
    std::map<std::string, std::string> values; ///< by type
    bool never = false, drip = false;
};

void sendData(void *data, wl_proxy *, const char *mimeType, int32_t fd) {
    const auto *offer = static_cast<const Offer *>(data);
    std::printf("asked %s\n", mimeType);
    if (offer->never)
        return; // the pipe stays open
    if (offer->drip) {
        auto *timer = new QTimer(QCoreApplication::instance());
        QObject::connect(timer, &QTimer::timeout, [fd] { (void)!::write(fd, "x", 1); });
        return timer->start(100);
    }
    // A blocking pipe takes the whole value in one write.
    const std::string value = offer->values.count(mimeType) ? offer->values.at(mimeType) : "";
    (void)!::write(fd, value.data(), value.size());
    ::close(fd);
}

void cancelled(void *data, wl_proxy *) {
    const auto *offer = static_cast<const Offer *>(data);
    if (!offer->never && !offer->drip)
        QCoreApplication::quit();
}

const SourceListener sourceListener{&sendData, &cancelled};

} // namespace

int main(int argc, char **argv) {
    std::signal(SIGPIPE, SIG_IGN);
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each line read as it comes
    QCoreApplication app(argc, argv);
    Offer offer;
    int i = 1;
    offer.never = i < argc && std::string(argv[i]) == "--never";
    offer.drip = i < argc && std::string(argv[i]) == "--drip";
    for (i += offer.never || offer.drip; i + 1 < argc; i += 2)
        offer.values[argv[i]] = argv[i + 1];
    if (i != argc || offer.values.empty()) {
        std::fprintf(stderr, "usage: dctool [--never | --drip] TYPE VALUE [TYPE VALUE]...\n");
        return 2;
    }
    Result why;
    std::unique_ptr<Connection> connection = Connection::open(&why);
    if (!connection) {
        std::fprintf(stderr, "dctool: %s\n", qPrintable(why.detail));
        return 1;
    }
    DevicePtr device(
        getDataDevice(connection->protocol(), connection->manager(), connection->seat()));
    SourcePtr source(createDataSource(connection->protocol(), connection->manager()));
    addListener(source.get(), &sourceListener, &offer);
    for (const auto &offered : offer.values)
        offerType(source.get(), offered.first.c_str());
    setSelection(device.get(), source.get());
    if (!connection->roundtrip())
        return 1;
    std::puts("owner");
    connection->startDispatching([] { QCoreApplication::quit(); });
    return QCoreApplication::exec();
}
