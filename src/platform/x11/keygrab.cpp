// SPDX-License-Identifier: MIT
#include "platform/x11/keygrab.h"

#include "platform/logging.h"

#include <QGuiApplication>
#include <QWindow>
#include <array>
#include <cstdlib>

namespace x11 {

namespace {

/// The X keysym of a key as Qt names it; 0 for none this grab knows.
xcb_keysym_t keysymOf(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return xcb_keysym_t(key - Qt::Key_A + 'a');
    if (key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde)
        return xcb_keysym_t(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return xcb_keysym_t(0xffbe + (key - Qt::Key_F1));
    static constexpr std::pair<int, xcb_keysym_t> others[] = {
        {Qt::Key_Escape, 0xff1b}, {Qt::Key_Tab, 0xff09},      {Qt::Key_Backspace, 0xff08},
        {Qt::Key_Return, 0xff0d}, {Qt::Key_Enter, 0xff8d},    {Qt::Key_Insert, 0xff63},
        {Qt::Key_Delete, 0xffff}, {Qt::Key_Pause, 0xff13},    {Qt::Key_Print, 0xff61},
        {Qt::Key_Home, 0xff50},   {Qt::Key_End, 0xff57},      {Qt::Key_Left, 0xff51},
        {Qt::Key_Up, 0xff52},     {Qt::Key_Right, 0xff53},    {Qt::Key_Down, 0xff54},
        {Qt::Key_PageUp, 0xff55}, {Qt::Key_PageDown, 0xff56},
    };
    for (const auto &[qt, sym] : others) {
        if (qt == key)
            return sym;
    }
    return 0;
}

uint16_t modifiersOf(Qt::KeyboardModifiers modifiers) {
    uint16_t mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & Qt::AltModifier)
        mask |= XCB_MOD_MASK_1;
    if (modifiers & Qt::MetaModifier)
        mask |= XCB_MOD_MASK_4;
    return mask;
}

/// The same keys with NumLock (Mod2) and CapsLock on or off.
constexpr std::array<uint16_t, 4> LockVariants = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                                  XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};

/// The key codes whose first two levels give `sym`.
std::vector<xcb_keycode_t> keycodesOf(xcb_connection_t *xcb, xcb_keysym_t sym) {
    const xcb_setup_t *setup = xcb_get_setup(xcb);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    std::vector<xcb_keycode_t> codes;
    xcb_get_keyboard_mapping_reply_t *map = xcb_get_keyboard_mapping_reply(
        xcb, xcb_get_keyboard_mapping(xcb, setup->min_keycode, uint8_t(count)), nullptr);
    if (!map)
        return codes;
    const xcb_keysym_t *syms = xcb_get_keyboard_mapping_keysyms(map);
    const int perCode = map->keysyms_per_keycode;
    for (int code = 0; code < count; ++code) {
        for (int level = 0; level < std::min(perCode, 2); ++level) {
            if (syms[code * perCode + level] == sym) {
                codes.push_back(xcb_keycode_t(setup->min_keycode + code));
                break;
            }
        }
    }
    std::free(map);
    return codes;
}

} // namespace

std::unique_ptr<KeyGrab> KeyGrab::open(Result *whyNot) {
    int screen = 0;
    xcb_connection_t *xcb = xcb_connect(nullptr, &screen);
    if (xcb_connection_has_error(xcb)) {
        xcb_disconnect(xcb);
        *whyNot = {Reason::XServerLost, qEnvironmentVariable("DISPLAY"), {}};
        return nullptr;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(xcb));
    for (; it.rem > 0 && screen > 0; --screen)
        xcb_screen_next(&it);
    return std::unique_ptr<KeyGrab>(new KeyGrab(xcb, it.data->root));
}

KeyGrab::KeyGrab(xcb_connection_t *xcb, xcb_window_t root)
    : m_xcb(xcb)
    , m_root(root)
    , m_readable(xcb_get_file_descriptor(xcb), QSocketNotifier::Read) {
    connect(&m_readable, &QSocketNotifier::activated, this, &KeyGrab::readEvents);
}

KeyGrab::~KeyGrab() {
    m_readable.setEnabled(false);
    xcb_disconnect(m_xcb); // the server lets go of every grab with the connection
}

void KeyGrab::release() {
    for (const xcb_keycode_t code : m_codes) {
        for (const uint16_t locks : LockVariants)
            xcb_ungrab_key(m_xcb, code, m_root, m_modifiers | locks);
    }
    m_codes.clear();
    xcb_flush(m_xcb);
}

Result KeyGrab::bind(const QKeySequence &keys) {
    release();
    if (keys.isEmpty())
        return {};
    const QKeyCombination combination = keys[0];
    const QString named = keys.toString(QKeySequence::NativeText);
    const xcb_keysym_t sym = keysymOf(combination.key());
    std::vector<xcb_keycode_t> codes = sym ? keycodesOf(m_xcb, sym) : std::vector<xcb_keycode_t>();
    if (codes.empty())
        return {Reason::ShortcutRefused, named, QStringLiteral("no key code for it")};
    m_modifiers = modifiersOf(combination.keyboardModifiers());
    // Each grab checked: a combination another client holds is refused.
    std::vector<xcb_void_cookie_t> grabs;
    for (const xcb_keycode_t code : codes) {
        for (const uint16_t locks : LockVariants)
            grabs.push_back(xcb_grab_key_checked(m_xcb, 1, m_root, m_modifiers | locks, code,
                                                 XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    m_codes = std::move(codes);
    Result result;
    for (const xcb_void_cookie_t grab : grabs) {
        if (xcb_generic_error_t *error = xcb_request_check(m_xcb, grab)) {
            result = {Reason::ShortcutTaken, named,
                      QStringLiteral("X error %1").arg(error->error_code)};
            std::free(error);
        }
    }
    if (!result.ok())
        release();
    qCInfo(lcShortcut) << "X11 key grab of" << keys.toString() << result;
    // Waiting for the checks may have queued events the socket no longer tells of.
    QMetaObject::invokeMethod(this, &KeyGrab::readEvents, Qt::QueuedConnection);
    return result;
}

void KeyGrab::readEvents() {
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_xcb)) {
        const bool pressed = (event->response_type & 0x7f) == XCB_KEY_PRESS;
        if (pressed)
            m_pressed = reinterpret_cast<xcb_key_press_event_t *>(event)->time;
        std::free(event);
        if (pressed)
            emit activated();
    }
    if (xcb_connection_has_error(m_xcb) && m_readable.isEnabled()) {
        m_readable.setEnabled(false);
        emit failed({Reason::XServerLost, {}, QStringLiteral("key grab connection")});
    }
}

void KeyGrab::giveFocus(QWindow *window) {
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !window)
        return;
    // On the toolkit's own connection, after its request to map the window.
    xcb_connection_t *xcb = x11->connection();
    const QByteArray name = QByteArrayLiteral("_NET_ACTIVE_WINDOW");
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        xcb, xcb_intern_atom(xcb, 0, uint16_t(name.size()), name.constData()), nullptr);
    if (!atom)
        return;
    xcb_client_message_event_t message = {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = xcb_window_t(window->winId());
    message.type = atom->atom;
    message.data.data32[0] = 1; // from an application
    message.data.data32[1] = m_pressed;
    std::free(atom);
    xcb_send_event(xcb, 0, m_root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(xcb);
}

} // namespace x11
