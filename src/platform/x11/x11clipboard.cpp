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

void X11Clipboard::noteOwnCopy() {
    // Told by the toolkit as it takes the clipboard, from a command here or
    // its own widgets (a copy out of the text editor, the search field).
    const QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *data = clipboard->mimeData();
    if (!clipboard->ownsClipboard() || !data)
        return; // emptied, or another owner's: heard from the watcher
    ClipContent content =
        data->hasImage()
            ? ClipContent::ofImage(qvariant_cast<QImage>(data->imageData()), data->formats())
            : ClipContent::ofText(data->text(), data->formats());
    m_ownCopies.push_back({ChangeQueue::now(), std::move(content)});
    if (m_ownCopies.size() > 16)
        m_ownCopies.pop_front();
}

ClipContent X11Clipboard::ownCopyAt(qint64 madeMs) {
    // Each copy becomes the clipboard's in the order made; one the X server
    // never made the clipboard's is let go after a while. The toolkit tells
    // of a copy only once the server has answered that it took it, so the
    // watcher may well have heard of it a moment before it was noted.
    while (!m_ownCopies.empty() && m_ownCopies.front().madeMs < madeMs - 2000)
        m_ownCopies.pop_front();
    if (m_ownCopies.empty() || m_ownCopies.front().madeMs > madeMs + 1000) {
        qCWarning(lcX11) << "a copy of this program's own that it did not note: read as last set";
        return m_current;
    }
    ClipContent content = std::move(m_ownCopies.front().content);
    m_ownCopies.pop_front();
    return content;
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
                self->heard(change, madeMs);
                if (own)
                    self->fetched(change, self->ownCopyAt(madeMs));
            },
            Qt::QueuedConnection);
    };
    events.fetched = [self](quint64 change, ClipContent content) {
        self->fetchedLater(change, std::move(content));
    };
    events.lost = [self](const Result &why) {
        qCWarning(lcX11) << "no longer hearing changes:" << why;
        self->lostLater(why);
    };
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed, self,
                     [self](QClipboard::Mode mode) {
                         if (mode == QClipboard::Clipboard)
                             self->noteOwnCopy();
                     });
    readablePictureTypes(); // made here, before the watcher's thread asks
    const xcb_setup_t *ours = xcb_get_setup(application->connection());
    clipboard->m_watcher = std::make_unique<x11::Watcher>(
        std::move(connection), ours->resource_id_base, ours->resource_id_mask, std::move(events));
    return clipboard;
}
