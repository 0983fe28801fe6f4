// SPDX-License-Identifier: MIT
#include "platform/clipboardaccess.h"

#include "platform/logging.h"
#include "platform/qtclipboard.h"

#ifdef ORLO_WAYLAND
#include "platform/wayland/connection.h"
#include "platform/wayland/dataclipboard.h"
#endif

ClipboardAccess chooseClipboardAccess() {
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return {};
#ifdef ORLO_WAYLAND
    Result whyNot;
    if (std::shared_ptr<wayland::Connection> connection = wayland::Connection::open(&whyNot))
        return {std::move(connection), {}};
    qCInfo(lcWayland) << "no data-control here:" << whyNot;
#endif
    if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "xcb");
        return {};
    }
    qCWarning(lcWayland) << "neither data-control nor XWayland: copies made in the background "
                            "cannot be seen";
    return {nullptr, {Reason::NoDataControl, qEnvironmentVariable("WAYLAND_DISPLAY"), {}}};
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
    return std::make_unique<QtClipboard>(access.problem);
}
