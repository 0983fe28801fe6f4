// SPDX-License-Identifier: MIT
// What the clipboard held after one change, as the back end answers for it.
#pragma once

#include "platform/clipboard.h"

#include <QByteArray>
#include <map>

namespace wayland {

/// The types worth fetching from an offer: the best text, the best picture
/// the toolkit can read, and the small markers that decide the offer's kinds
/// (local files, secrets). Others are only listed.
QStringList typesToFetch(const QStringList &offered);

class ClipContent final {
public:
    ClipContent() = default; ///< nothing offered

    /// Another program's offer: `fetched` holds the data of the types that
    /// could be had; the others are known by name only.
    static ClipContent fromOffer(const QStringList &offered,
                                 const std::map<QString, QByteArray> &fetched);
    /// Our own content, known without asking.
    static ClipContent ofText(const QString &text, const QStringList &offered);
    static ClipContent ofImage(const QImage &image, const QStringList &offered);

    const ClipOffer &offer() const { return m_offer; }
    std::optional<QString> text() const { return m_text; }
    QImage image() const;

private:
    ClipOffer m_offer;
    std::optional<QString> m_text = QString();
    QByteArray m_pictureBytes;
    QImage m_image;
};

} // namespace wayland
