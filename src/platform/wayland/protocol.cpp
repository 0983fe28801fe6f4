// SPDX-License-Identifier: MIT
#include "platform/wayland/protocol.h"

#include <wayland-client.h>

#include "ext-data-control-v1-client.h"
#include "wlr-data-control-unstable-v1-client.h"

// The scanner's interface tables are C. Compiled here, after the headers that
// declare them, they keep the external linkage C would give them; the hidden
// visibility they ask for comes too late for those declarations and is moot
// in a static library.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
extern "C" {
#include "ext-data-control-v1-code.c"
#include "wlr-data-control-unstable-v1-code.c"
}
#pragma GCC diagnostic pop

namespace wayland {
namespace {

// One set of opcodes serves both protocols.
static_assert(EXT_DATA_CONTROL_MANAGER_V1_CREATE_DATA_SOURCE ==
              ZWLR_DATA_CONTROL_MANAGER_V1_CREATE_DATA_SOURCE);
static_assert(EXT_DATA_CONTROL_MANAGER_V1_GET_DATA_DEVICE ==
              ZWLR_DATA_CONTROL_MANAGER_V1_GET_DATA_DEVICE);
static_assert(EXT_DATA_CONTROL_MANAGER_V1_DESTROY == ZWLR_DATA_CONTROL_MANAGER_V1_DESTROY);
static_assert(EXT_DATA_CONTROL_DEVICE_V1_SET_SELECTION ==
              ZWLR_DATA_CONTROL_DEVICE_V1_SET_SELECTION);
static_assert(EXT_DATA_CONTROL_DEVICE_V1_DESTROY == ZWLR_DATA_CONTROL_DEVICE_V1_DESTROY);
static_assert(EXT_DATA_CONTROL_SOURCE_V1_OFFER == ZWLR_DATA_CONTROL_SOURCE_V1_OFFER);
static_assert(EXT_DATA_CONTROL_SOURCE_V1_DESTROY == ZWLR_DATA_CONTROL_SOURCE_V1_DESTROY);
static_assert(EXT_DATA_CONTROL_OFFER_V1_RECEIVE == ZWLR_DATA_CONTROL_OFFER_V1_RECEIVE);
static_assert(EXT_DATA_CONTROL_OFFER_V1_DESTROY == ZWLR_DATA_CONTROL_OFFER_V1_DESTROY);
static_assert(sizeof(DeviceListener) == sizeof(ext_data_control_device_v1_listener));
static_assert(sizeof(DeviceListener) == sizeof(zwlr_data_control_device_v1_listener));
static_assert(sizeof(SourceListener) == sizeof(zwlr_data_control_source_v1_listener));
static_assert(sizeof(OfferListener) == sizeof(zwlr_data_control_offer_v1_listener));

// The primary selection is not used: version 1 of wlroots' manager leaves it
// out; the ext protocol always sends it, and its offers are dropped at once.
constexpr DataControlProtocol protocols[] = {
    {"ext_data_control_manager_v1", &ext_data_control_manager_v1_interface,
     &ext_data_control_device_v1_interface, &ext_data_control_source_v1_interface, 1},
    {"zwlr_data_control_manager_v1", &zwlr_data_control_manager_v1_interface,
     &zwlr_data_control_device_v1_interface, &zwlr_data_control_source_v1_interface, 1},
};

void destroyWith(wl_proxy *proxy, uint32_t opcode) {
    wl_proxy_marshal_flags(proxy, opcode, nullptr, wl_proxy_get_version(proxy),
                           WL_MARSHAL_FLAG_DESTROY);
}

template <typename Listener> void add(wl_proxy *proxy, const Listener *listener, void *data) {
    // The scanner's listeners are arrays of function pointers; ours are laid out alike.
    wl_proxy_add_listener(
        proxy, reinterpret_cast<void (**)(void)>(const_cast<Listener *>(listener)), data);
}

} // namespace

std::span<const DataControlProtocol> dataControlProtocols() {
    return protocols;
}

wl_proxy *bindManager(wl_registry *registry, uint32_t name, uint32_t offeredVersion,
                      const DataControlProtocol &protocol) {
    const uint32_t version = offeredVersion < protocol.version ? offeredVersion : protocol.version;
    return static_cast<wl_proxy *>(wl_registry_bind(registry, name, protocol.manager, version));
}

wl_proxy *getDataDevice(const DataControlProtocol &protocol, wl_proxy *manager, wl_proxy *seat) {
    return wl_proxy_marshal_flags(manager, ZWLR_DATA_CONTROL_MANAGER_V1_GET_DATA_DEVICE,
                                  protocol.device, wl_proxy_get_version(manager), 0, nullptr, seat);
}

wl_proxy *createDataSource(const DataControlProtocol &protocol, wl_proxy *manager) {
    return wl_proxy_marshal_flags(manager, ZWLR_DATA_CONTROL_MANAGER_V1_CREATE_DATA_SOURCE,
                                  protocol.source, wl_proxy_get_version(manager), 0, nullptr);
}

void setSelection(wl_proxy *device, wl_proxy *source) {
    wl_proxy_marshal_flags(device, ZWLR_DATA_CONTROL_DEVICE_V1_SET_SELECTION, nullptr,
                           wl_proxy_get_version(device), 0, source);
}

void offerType(wl_proxy *source, const char *mimeType) {
    wl_proxy_marshal_flags(source, ZWLR_DATA_CONTROL_SOURCE_V1_OFFER, nullptr,
                           wl_proxy_get_version(source), 0, mimeType);
}

void receive(wl_proxy *offer, const char *mimeType, int fd) {
    wl_proxy_marshal_flags(offer, ZWLR_DATA_CONTROL_OFFER_V1_RECEIVE, nullptr,
                           wl_proxy_get_version(offer), 0, mimeType, fd);
}

void destroyManager(wl_proxy *manager) {
    destroyWith(manager, ZWLR_DATA_CONTROL_MANAGER_V1_DESTROY);
}

void destroyDevice(wl_proxy *device) {
    destroyWith(device, ZWLR_DATA_CONTROL_DEVICE_V1_DESTROY);
}

void destroySource(wl_proxy *source) {
    destroyWith(source, ZWLR_DATA_CONTROL_SOURCE_V1_DESTROY);
}

void destroyOffer(wl_proxy *offer) {
    destroyWith(offer, ZWLR_DATA_CONTROL_OFFER_V1_DESTROY);
}

void addListener(wl_proxy *device, const DeviceListener *listener, void *data) {
    add(device, listener, data);
}

void addListener(wl_proxy *source, const SourceListener *listener, void *data) {
    add(source, listener, data);
}

void addListener(wl_proxy *offer, const OfferListener *listener, void *data) {
    add(offer, listener, data);
}

} // namespace wayland
