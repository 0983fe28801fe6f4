// SPDX-License-Identifier: MIT
#include "platform/globalshortcut.h"

#include <QGuiApplication>

#ifdef ORLO_STATUS_NOTIFIER
#include "platform/dbus/shortcutportal.h"
#endif
#ifdef ORLO_X11
#include "platform/x11/keygrab.h"
#endif

namespace {

class Unavailable final : public GlobalShortcut {
public:
    explicit Unavailable(Result why)
        : m_why(std::move(why)) {}
    Result bind(const QKeySequence &keys) override {
        if (keys.isEmpty())
            return {};
        Result why = m_why;
        why.subject = keys.toString(QKeySequence::NativeText);
        return why;
    }

private:
    Result m_why;
};

/// A binding that always fails with `why`.
std::unique_ptr<GlobalShortcut> unavailableShortcut(const Result &why) {
    return std::make_unique<Unavailable>(why);
}

} // namespace

std::unique_ptr<GlobalShortcut> makeGlobalShortcut() {
    // Never a grab in a Wayland session: through XWayland it would see the
    // keys only while a window of X11 has the focus.
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
#ifdef ORLO_STATUS_NOTIFIER
        return std::make_unique<dbus::ShortcutPortal>();
#else
        return unavailableShortcut({Reason::NoShortcutPortal, {}, QStringLiteral("no D-Bus")});
#endif
    }
#ifdef ORLO_X11
    if (QGuiApplication::platformName() == u"xcb") {
        Result why;
        if (std::unique_ptr<x11::KeyGrab> grab = x11::KeyGrab::open(&why))
            return grab;
        return unavailableShortcut(why);
    }
#endif
    return unavailableShortcut({Reason::NoShortcutPortal, {}, QGuiApplication::platformName()});
}
