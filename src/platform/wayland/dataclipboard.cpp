// SPDX-License-Identifier: MIT
#include "platform/wayland/dataclipboard.h"

#include "platform/wayland/connection.h"
#include "platform/wayland/watcher.h"

namespace {

// UTF-8 under every name; not STRING, which X11 programs read as Latin-1.
const QStringList ownTextTypes{QStringLiteral("text/plain;charset=utf-8"),
                               QStringLiteral("text/plain"), QStringLiteral("UTF8_STRING")};
const QStringList ownPictureTypes{QStringLiteral("image/png"), QStringLiteral("image/bmp")};

} // namespace

DataControlClipboard::~DataControlClipboard() {
    if (m_thread.isRunning()) {
        // Its objects go on its thread, before the thread itself.
        onThread([this] { m_watcher.reset(); }, true);
        m_thread.quit();
        m_thread.wait();
    }
}

void DataControlClipboard::onThread(std::function<void()> call, bool wait) {
    QMetaObject::invokeMethod(&m_onThread, std::move(call),
                              wait ? Qt::BlockingQueuedConnection : Qt::QueuedConnection);
}

void DataControlClipboard::setText(const QString &text) {
    own(ClipContent::ofText(text, ownTextTypes));
}

void DataControlClipboard::setImage(const QImage &image) {
    if (!image.isNull())
        own(ClipContent::ofImage(image, ownPictureTypes));
}

void DataControlClipboard::own(const ClipContent &content) {
    if (!m_failure.ok())
        return;
    // As on X11, our own copy reads back at once, and is told as a change
    // when the compositor has made it the clipboard's content.
    m_current = content;
    onThread([watcher = m_watcher.get(), content] { watcher->own(content); });
}

void DataControlClipboard::clear() {
    if (!m_failure.ok())
        return;
    m_current = ClipContent();
    onThread([watcher = m_watcher.get()] { watcher->clear(); });
}

std::unique_ptr<Clipboard> makeDataControlClipboard(std::shared_ptr<wayland::Connection> connection,
                                                    Result *whyNot) {
    if (!connection)
        return nullptr;
    std::unique_ptr<DataControlClipboard> clipboard(new DataControlClipboard);
    DataControlClipboard *self = clipboard.get();
    // Told on the watcher's thread, handled on this one in the same order.
    wayland::Watcher::Events events;
    events.changed = [self](quint64 change, qint64 madeMs, bool quiet) {
        QMetaObject::invokeMethod(
            self, [self, change, madeMs, quiet] { self->heard(change, madeMs, quiet); },
            Qt::QueuedConnection);
    };
    events.fetched = [self](quint64 change, ClipContent content) {
        self->fetchedLater(change, std::move(content));
    };
    events.lost = [self](const Result &why) {
        self->lostLater(why);
    };
    readablePictureTypes(); // made here, before the watcher's thread asks
    self->m_thread.setObjectName(QStringLiteral("orlo-wayland"));
    self->m_onThread.moveToThread(&self->m_thread);
    self->m_thread.start();
    bool started = false;
    self->onThread(
        [&] {
            self->m_watcher = std::make_unique<wayland::Watcher>(std::move(connection), events);
            started = self->m_watcher->start(whyNot);
        },
        true);
    if (!started)
        return nullptr;
    return clipboard;
}
