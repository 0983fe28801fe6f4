// SPDX-License-Identifier: MIT
#include "core/clipboardwatcher.h"

#include "core/entrystore.h"
#include "platform/clipboard.h"
#include "platform/logging.h"

ClipboardWatcher::ClipboardWatcher(Clipboard &clipboard, EntryStore &store, QObject *parent)
    : QObject(parent)
    , m_clipboard(clipboard)
    , m_store(store) {}

void ClipboardWatcher::listen() {
    connect(&m_clipboard, &Clipboard::changed, this, &ClipboardWatcher::clipboardChanged,
            Qt::UniqueConnection);
}

void ClipboardWatcher::stopListening() {
    disconnect(&m_clipboard, &Clipboard::changed, this, &ClipboardWatcher::clipboardChanged);
}

void ClipboardWatcher::setMonitoring(bool on) {
    m_monitoring = on;
}

void ClipboardWatcher::clipboardChanged() {
    if (!m_monitoring) {
        qCDebug(lcCapture) << "monitoring is off: the change is left alone";
        return;
    }
    emit captureStarted();
    const ClipOffer offer = m_clipboard.offer();
    // A source may mark its content as a secret (password managers): keep none of it.
    const bool keep = !offer.secret;
    if (!keep)
        qCDebug(lcCapture) << "a secret: nothing of it is kept";
    else if (!offer.kinds.testAnyFlags(ClipKind::Text | ClipKind::RichText | ClipKind::Picture |
                                       ClipKind::Metafile))
        qCDebug(lcCapture) << "neither text nor a picture:" << offer.mimeTypes.size()
                           << "types, nothing taken";
    // Cut off past a limit: the part that came is no copy.
    if (keep && offer.refused != Reason::None)
        m_store.refuse(offer.refused);
    if (keep && offer.kinds.testAnyFlags(ClipKind::Text | ClipKind::RichText)) {
        // Text that was offered but could not be read is not an empty copy:
        // taking it would list a wrong entry, and with the count wrapped it
        // would overwrite the oldest one. Rich text offered alone still gives
        // an empty entry.
        if (const std::optional<QString> text = m_clipboard.readText())
            m_store.captureText(*text);
        else if (offer.refused != Reason::TextTooLarge)
            qCWarning(lcCapture) << "text offered as" << offer.mimeTypes << "could not be read";
    }
    if (keep && offer.kinds.testAnyFlags(ClipKind::Picture | ClipKind::Metafile))
        m_store.capturePicture(m_clipboard.readImage());
    emit captureFinished();
}
