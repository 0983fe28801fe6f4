// SPDX-License-Identifier: MIT
#pragma once

#include "platform/changequeue.h"
#include "platform/clipboard.h"
#include "platform/logging.h"

/// The debug line of a change handed on: the back end, the types offered,
/// the bytes fetched and how long that took; never the content.
inline void traceChange(const QString &backEnd, const ClipContent &content, bool quiet) {
    qCDebug(lcCapture).nospace().noquote()
        << backEnd << (quiet ? ": content at start, " : ": change, ") << content.offer().mimeTypes
        << ", " << content.bytes() << " bytes fetched in " << content.waitedMs() << " ms";
}

/// A clipboard whose changes the program hears and fetches itself, on a
/// connection of its own, and hands on in the order they were made
/// (ChangeQueue). The readers answer at once from what the change being
/// handed on left.
class WatchedClipboard : public Clipboard {
public:
    ClipOffer offer() const final { return m_current.offer(); }
    std::optional<QString> readText() const final { return m_current.text(); }
    QImage readImage() const final { return m_current.image(); }
    Result listening() const final { return m_failure; }

protected:
    WatchedClipboard()
        : m_queue([this](ClipContent content, bool quiet) {
            traceChange(name(), content, quiet);
            m_current = std::move(content);
            if (!quiet)
                emit changed();
        }) {}

    ChangeQueue m_queue;
    /// What the readers answer: the change handed on last, or our own copy.
    ClipContent m_current;
    /// Why changes are no longer heard.
    Result m_failure;
};
