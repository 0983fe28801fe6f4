// SPDX-License-Identifier: MIT
// The data-control protocols at the level of their requests and events.
//
// ext-data-control-v1 and wlroots' zwlr-data-control-v1 that it grew from have
// the same requests and events in the same order, under different names. The
// back end speaks them once, through the interfaces of whichever protocol the
// compositor offers.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

struct wl_interface;
struct wl_proxy;
struct wl_registry;

namespace wayland {

struct DataControlProtocol {
    const char *name; ///< the manager global's interface name
    const wl_interface *manager;
    const wl_interface *device;
    const wl_interface *source;
    uint32_t version; ///< the highest manager version this code asks for
};

/// The protocols built in, the preferred one first.
std::span<const DataControlProtocol> dataControlProtocols();

wl_proxy *bindManager(wl_registry *registry, uint32_t name, uint32_t offeredVersion,
                      const DataControlProtocol &protocol);
wl_proxy *getDataDevice(const DataControlProtocol &protocol, wl_proxy *manager, wl_proxy *seat);
wl_proxy *createDataSource(const DataControlProtocol &protocol, wl_proxy *manager);
/// Makes `source` the clipboard's content; a null source empties it.
void setSelection(wl_proxy *device, wl_proxy *source);
void offerType(wl_proxy *source, const char *mimeType);
/// Asks for the data of one type, to be written into `fd`.
void receive(wl_proxy *offer, const char *mimeType, int fd);

void destroyManager(wl_proxy *manager);
void destroyDevice(wl_proxy *device);
void destroySource(wl_proxy *source);
void destroyOffer(wl_proxy *offer);

template <void (*destroy)(wl_proxy *)> struct ProxyDeleter {
    void operator()(wl_proxy *proxy) const {
        if (proxy)
            destroy(proxy);
    }
};
using ManagerPtr = std::unique_ptr<wl_proxy, ProxyDeleter<destroyManager>>;
using DevicePtr = std::unique_ptr<wl_proxy, ProxyDeleter<destroyDevice>>;
using SourcePtr = std::unique_ptr<wl_proxy, ProxyDeleter<destroySource>>;
using OfferPtr = std::unique_ptr<wl_proxy, ProxyDeleter<destroyOffer>>;

// Event handlers, laid out as the scanner lays out its listeners.
struct DeviceListener {
    void (*dataOffer)(void *data, wl_proxy *device, wl_proxy *offer);
    void (*selection)(void *data, wl_proxy *device, wl_proxy *offer);
    void (*finished)(void *data, wl_proxy *device);
    void (*primarySelection)(void *data, wl_proxy *device, wl_proxy *offer);
};
struct SourceListener {
    void (*send)(void *data, wl_proxy *source, const char *mimeType, int32_t fd);
    void (*cancelled)(void *data, wl_proxy *source);
};
struct OfferListener {
    void (*offer)(void *data, wl_proxy *offer, const char *mimeType);
};

void addListener(wl_proxy *device, const DeviceListener *listener, void *data);
void addListener(wl_proxy *source, const SourceListener *listener, void *data);
void addListener(wl_proxy *offer, const OfferListener *listener, void *data);

} // namespace wayland
