// SPDX-License-Identifier: MIT
#include "platform/clipboardaccess.h"

#include "platform/qtclipboard.h"

#ifdef ORLO_WAYLAND
#include "platform/wayland/connection.h"
#include "platform/wayland/dataclipboard.h"
#endif

ClipboardAccess chooseClipboardAccess() {
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return {};
#ifdef ORLO_WAYLAND
    QString whyNot;
    if (std::shared_ptr<wayland::Connection> connection = wayland::Connection::open(&whyNot))
        return {std::move(connection), {}};
#endif
    if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "xcb");
        return {};
    }
    return {nullptr,
            QStringLiteral("\n这个Wayland桌面既不提供数据控制（data-control）协议，也没有XWayland，"
                           "程序在后台时看不到复制的内容。")};
}

std::unique_ptr<Clipboard> openClipboard(ClipboardAccess &access) {
#ifdef ORLO_WAYLAND
    if (access.dataControl) {
        QString whyNot;
        if (std::unique_ptr<Clipboard> clipboard =
                makeDataControlClipboard(std::move(access.dataControl), &whyNot))
            return clipboard;
        return std::make_unique<QtClipboard>(u'\n' + whyNot);
    }
#endif
    return std::make_unique<QtClipboard>(access.problem);
}
