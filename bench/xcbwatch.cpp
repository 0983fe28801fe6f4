// SPDX-License-Identifier: MIT
// xcbwatch: the barest X11 clipboard listener, the burst's baseline. At each
// XFixes notice that the clipboard has a new owner it asks at once for
// UTF8_STRING, into a property of its own for each request, and prints
// every text it is handed, one a line. It prints "watching" once it listens.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

namespace {

xcb_atom_t atom(xcb_connection_t *c, const std::string &name) {
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, uint16_t(name.size()), name.c_str()), nullptr);
    const xcb_atom_t found = reply ? reply->atom : XCB_NONE;
    std::free(reply);
    return found;
}

} // namespace

int main() {
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return 1;
    const xcb_query_extension_reply_t *xfixes = xcb_get_extension_data(c, &xcb_xfixes_id);
    std::free(xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 1, 0), nullptr));
    const xcb_atom_t clipboard = atom(c, "CLIPBOARD"), utf8 = atom(c, "UTF8_STRING");
    const xcb_window_t window = xcb_generate_id(c);
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_xfixes_select_selection_input(c, window, clipboard,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER);
    xcb_flush(c);
    std::puts("watching");
    std::fflush(stdout);
    unsigned requests = 0;
    while (xcb_generic_event_t *event = xcb_wait_for_event(c)) {
        const uint8_t type = event->response_type & 0x7f;
        if (type == xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY) {
            const auto *notify = reinterpret_cast<xcb_xfixes_selection_notify_event_t *>(event);
            const xcb_atom_t property = atom(c, "XCBWATCH_" + std::to_string(requests++ % 256));
            xcb_convert_selection(c, window, clipboard, utf8, property,
                                  notify->selection_timestamp);
            xcb_flush(c);
        } else if (type == XCB_SELECTION_NOTIFY) {
            const auto *notify = reinterpret_cast<xcb_selection_notify_event_t *>(event);
            xcb_get_property_reply_t *reply = xcb_get_property_reply(
                c, xcb_get_property(c, 1, window, notify->property, XCB_ATOM_ANY, 0, 1 << 20),
                nullptr);
            if (reply && notify->property != XCB_NONE) {
                std::printf("%.*s\n", xcb_get_property_value_length(reply),
                            static_cast<const char *>(xcb_get_property_value(reply)));
                std::fflush(stdout);
            }
            std::free(reply);
        }
        std::free(event);
    }
    return 0;
}
