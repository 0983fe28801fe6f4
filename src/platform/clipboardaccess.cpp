// SPDX-License-Identifier: MIT
#include "platform/clipboardaccess.h"

#include "platform/logging.h"
#include "platform/qtclipboard.h"

#include <QGuiApplication>

#ifdef ORLO_WAYLAND
#include "platform/wayland/connection.h"
#include "platform/wayland/dataclipboard.h"
#endif
#ifdef ORLO_X11
#include "platform/x11/connection.h"
#include "platform/x11/x11clipboard.h"
#endif

namespace {

/// XWayland for the windows, when $DISPLAY names this session's X server
/// (or one that cannot be told to be another's).
ClipboardAccess xwaylandAccess() {
    // Else the windows stay on Wayland, whatever the toolkit would choose:
    // it would end the program where DISPLAY names no X server.
    const ClipboardAccess onWayland{
        nullptr,
        "wayland",
        false,
        {},
        {Reason::NoDataControl, qEnvironmentVariable("WAYLAND_DISPLAY"), {}}};
    ClipboardAccess access{nullptr, "xcb", true, {}, {}};
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return onWayland;
#ifdef ORLO_X11
    // Tried first: a DISPLAY left over from another session names no server
    // at all, and the toolkit would end the program when it cannot connect.
    Result whyNot;
    const std::unique_ptr<x11::Connection> x = x11::Connection::open({}, &whyNot);
    if (!x) {
        qCWarning(lcX11) << "no XWayland to watch:" << whyNot;
        return onWayland;
    }
    switch (x11::serverBelongsToWaylandSession(x->xcb())) {
    case x11::Belongs::ToThisSession:
        break;
    case x11::Belongs::Elsewhere:
        qCWarning(lcX11) << "DISPLAY" << qgetenv("DISPLAY") << "is not this session's XWayland";
        return onWayland;
    case x11::Belongs::CannotTell:
        access.xwayland = false;
        access.display = qEnvironmentVariable("DISPLAY");
        break;
    }
#endif
    return access;
}

} // namespace

ClipboardAccess chooseClipboardAccess() {
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return {};
#ifdef ORLO_WAYLAND
    Result whyNot;
    if (std::shared_ptr<wayland::Connection> connection = wayland::Connection::open(&whyNot))
        return {std::move(connection), {}, false, {}, {}};
    qCInfo(lcWayland) << "no data-control here:" << whyNot;
#endif
    ClipboardAccess access = xwaylandAccess();
    if (!access.problem.ok())
        qCWarning(lcWayland) << "neither data-control nor XWayland: copies made in the background "
                                "cannot be seen";
    // The user's choice of window system stands.
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        access.platform.clear();
    return access;
}

ApplicationArguments::ApplicationArguments(int argc, char **argv, const QByteArray &platform) {
    for (int i = 0; i < argc; ++i)
        m_words.emplace_back(argv[i]);
    if (!platform.isEmpty()) {
        m_words.insert(m_words.begin() + qMin(argc, 1), {QByteArray("-platform"), platform});
    }
    for (QByteArray &word : m_words)
        m_pointers.push_back(word.data());
    m_count = int(m_pointers.size());
    m_pointers.push_back(nullptr);
}

std::unique_ptr<Clipboard> openClipboard(ClipboardAccess &access) {
#ifdef ORLO_WAYLAND
    if (access.dataControl) {
        Result whyNot;
        if (std::unique_ptr<Clipboard> clipboard =
                makeDataControlClipboard(std::move(access.dataControl), &whyNot))
            return clipboard;
        return std::make_unique<QtClipboard>(whyNot);
    }
#endif
#ifdef ORLO_X11
    if (QGuiApplication::platformName() == u"xcb") {
        Result whyNot;
        if (std::unique_ptr<Clipboard> clipboard =
                makeX11Clipboard(access.xwayland, access.display, &whyNot))
            return clipboard;
        qCWarning(lcX11) << "no watcher of its own, the toolkit's clipboard instead:" << whyNot;
    }
#endif
    return std::make_unique<QtClipboard>(access.problem);
}
