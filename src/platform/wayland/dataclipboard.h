// SPDX-License-Identifier: MIT
#pragma once

#include "platform/watchedclipboard.h"

#include <QThread>
#include <memory>

namespace wayland {
class Connection;
class Watcher;
} // namespace wayland

/// The clipboard of a Wayland session through data-control: changes heard
/// and fetched by a watcher on a thread of its own (orlo-wayland,
/// wayland::Watcher) and handed on in the order they were made, a slow one
/// holding the others back a second at most. Our own copies are offered by
/// the watcher too; they read back at once, and are told as changes once the
/// compositor has made them the clipboard's.
class DataControlClipboard final : public WatchedClipboard {
    Q_OBJECT
public:
    ~DataControlClipboard() override;

    void setText(const QString &text) override;
    void setImage(const QImage &image) override;
    void clear() override;
    QString name() const override { return QStringLiteral("Wayland 数据控制"); }

private:
    friend std::unique_ptr<Clipboard>
    makeDataControlClipboard(std::shared_ptr<wayland::Connection> connection, Result *whyNot);
    DataControlClipboard() = default;
    /// Runs `call` on the watcher's thread; waits for it when `wait`.
    void onThread(std::function<void()> call, bool wait = false);
    void own(const ClipContent &content);

    QThread m_thread;
    QObject m_onThread;                          ///< what calls into the thread are made through
    std::unique_ptr<wayland::Watcher> m_watcher; ///< lives on m_thread
};

/// The data-control clipboard on `connection`, the only owner of it from
/// now on; nothing, and why, when there is no connection or the compositor
/// does not let it listen.
std::unique_ptr<Clipboard> makeDataControlClipboard(std::shared_ptr<wayland::Connection> connection,
                                                    Result *whyNot);
