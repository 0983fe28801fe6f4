// SPDX-License-Identifier: MIT
#include "platform/x11/x11clipboard.h"

#include "platform/logging.h"
#include "platform/x11/connection.h"
#include "platform/x11/watcher.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

X11Clipboard::X11Clipboard(bool xwayland, QString display)
    : m_xwayland(xwayland)
    , m_display(std::move(display)) {}

X11Clipboard::~X11Clipboard() {
    m_watcher.reset(); // its thread ends before what it tells goes
}

void X11Clipboard::setText(const QString &text) {
    // Read back at once, as the toolkit reads its own copies; the copy is
    // told as a change once the X server has made it the clipboard's.
    m_current = ClipContent::ofText(text, {QStringLiteral("text/plain")});
    QGuiApplication::clipboard()->setText(text);
}

void X11Clipboard::setImage(const QImage &image) {
    if (image.isNull())
        return;
    m_current = ClipContent::ofImage(image, {QStringLiteral("image/png")});
    QGuiApplication::clipboard()->setImage(image);
}

void X11Clipboard::clear() {
    m_current = ClipContent();
    QGuiApplication::clipboard()->clear();
}

ClipContent X11Clipboard::ownContent() {
    // Made here, by a command or by the toolkit's own widgets (a copy out
    // of the text editor, the search field): the toolkit holds it.
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return {};
    if (data->hasImage())
        return ClipContent::ofImage(qvariant_cast<QImage>(data->imageData()), data->formats());
    return ClipContent::ofText(data->text(), data->formats());
}

QString X11Clipboard::name() const {
    return m_xwayland ? QStringLiteral("X11（XWayland）") : QStringLiteral("X11");
}

std::unique_ptr<Clipboard> makeX11Clipboard(bool xwayland, const QString &display, Result *whyNot) {
    auto *application =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!application) {
        if (whyNot)
            *whyNot = {Reason::NoClipboard, {}, QStringLiteral("the windows are not on X11")};
        return nullptr;
    }
    std::unique_ptr<x11::Connection> connection = x11::Connection::open({}, whyNot);
    if (!connection)
        return nullptr;
    std::unique_ptr<X11Clipboard> clipboard(new X11Clipboard(xwayland, display));
    X11Clipboard *self = clipboard.get();
    // Told on the watcher's thread, handled on this one in the same order.
    x11::Watcher::Events events;
    events.changed = [self](quint64 change, qint64 madeMs, bool own) {
        QMetaObject::invokeMethod(
            self,
            [self, change, madeMs, own] {
                const quint64 queued = self->m_queue.add(madeMs);
                if (own)
                    self->m_queue.complete(queued, X11Clipboard::ownContent());
                else
                    self->m_changes.emplace(change, queued);
            },
            Qt::QueuedConnection);
    };
    events.fetched = [self](quint64 change, ClipContent content) {
        QMetaObject::invokeMethod(
            self,
            [self, change, content = std::move(content)] {
                const auto found = self->m_changes.find(change);
                if (found == self->m_changes.end())
                    return;
                self->m_queue.complete(found->second, content);
                self->m_changes.erase(found);
            },
            Qt::QueuedConnection);
    };
    events.lost = [self](const Result &why) {
        qCWarning(lcX11) << "no longer hearing changes:" << why;
        QMetaObject::invokeMethod(
            self,
            [self, why] {
                self->m_failure = why;
                emit self->listeningLost(why);
            },
            Qt::QueuedConnection);
    };
    const xcb_setup_t *ours = xcb_get_setup(application->connection());
    clipboard->m_watcher = std::make_unique<x11::Watcher>(
        std::move(connection), ours->resource_id_base, ours->resource_id_mask, std::move(events));
    return clipboard;
}
