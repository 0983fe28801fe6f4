// SPDX-License-Identifier: MIT
// What the clipboard held after one change, as a back end that fetches each
// change itself (X11's watcher, Wayland's data-control) answers for it.
#pragma once

#include "platform/clipboard.h"
#include "platform/fetchpolicy.h"

#include <QByteArray>
#include <map>

/// The charset a text type names ("text/plain;charset=…"); empty when none.
QString charsetOf(const QString &type);
/// Text in `type`'s encoding; nothing when it cannot be decoded.
std::optional<QString> decodeText(const QString &type, const QByteArray &bytes);

class ClipContent final {
public:
    ClipContent() = default; ///< nothing offered

    /// Another program's offer: `fetched` holds the data of the types that
    /// could be had; the others are known by name only. `hold` is what
    /// they took of their back end's budget, given back when the last copy
    /// of this goes.
    static ClipContent fromOffer(const QStringList &offered,
                                 const std::map<QString, QByteArray> &fetched,
                                 fetch::Hold hold = {});
    /// Our own content, known without asking.
    static ClipContent ofText(const QString &text, const QStringList &offered);
    static ClipContent ofImage(const QImage &image, const QStringList &offered);

    const ClipOffer &offer() const { return m_offer; }
    std::optional<QString> text() const { return m_text; }
    QImage image() const;
    /// A transfer of this change was cut off past a limit.
    void refuse(Reason why) { m_offer.refused = why; }
    /// The bytes fetched from the owner; none for our own content.
    qint64 bytes() const { return m_bytes; }
    /// How long after the change its content was had, in milliseconds.
    qint64 waitedMs() const { return m_waitedMs; }
    void setWaited(qint64 ms) { m_waitedMs = ms; }

private:
    ClipOffer m_offer;
    std::optional<QString> m_text = QString();
    QByteArray m_pictureBytes;
    QImage m_image;
    qint64 m_bytes = 0;
    qint64 m_waitedMs = 0;
    fetch::Hold m_hold;
};
