// SPDX-License-Identifier: MIT
// What the back ends that fetch each change themselves (X11's watcher,
// Wayland's data-control) ask an owner for, and how many bytes and how much
// time they give it: one policy for both, each on its watcher's thread.
#pragma once

#include "platform/result.h"

#include <QByteArray>
#include <QStringList>
#include <atomic>
#include <map>
#include <memory>

namespace fetch {

/// Offered types looked at: a longer list is cut here, so that an owner
/// listing a million costs what one listing a thousand does.
inline constexpr qsizetype TypesLookedAt = 1000;
/// Changes fetched at once; past this the oldest is given up, so that an
/// owner re-taking the clipboard in a loop uses up neither memory nor pipes.
inline constexpr size_t ChangesAtOnce = 64;
/// An owner silent this long is given up on, and one still sending after
/// CapMs.
inline constexpr qint64 IdleMs = 5000;
inline constexpr qint64 CapMs = 60'000;
/// Bytes that the changes fetched and not yet handed on hold together.
inline constexpr qint64 BudgetBytes = qint64(1) << 30;

/// The offered types looked at: each once, at most TypesLookedAt.
QStringList lookedAt(const QStringList &offered);
/// The types worth fetching from an offer: the best text, the best picture
/// the toolkit can read, and the markers that decide the offer's kinds (local
/// files, secrets); one of each marker. Others are only listed.
QStringList typesToFetch(const QStringList &offered);
/// The text type to fetch, the best first: UTF-8 under any name, another
/// charset the toolkit knows, then X11's STRING (Latin-1), TEXT and
/// COMPOUND_TEXT; empty when none is offered.
QString textTypeToFetch(const QStringList &offered);
/// Whether `type` is a marker: small data that only decides the kinds.
bool isMarker(const QString &type);
/// The most bytes of `type` worth having: the entry limits for text and
/// pictures, a list of paths or a word for markers.
qint64 limitFor(const QString &type);
/// What a change is refused for when its transfer of `type` went past its
/// limit or the budget; None for a marker, which is only not had.
Reason refusedFor(const QString &type);
/// Whether what was had of an offer's markers makes it a secret, before the
/// rest of it is had.
bool marksSecret(const QStringList &offered, const std::map<QString, QByteArray> &had);

/// BudgetBytes of one back end: transfers take from it as bytes come and
/// what they fetched gives it back once the change has been handed on and
/// let go (a Hold), from whichever thread that is.
class Budget final {
public:
    explicit Budget(qint64 bytes = BudgetBytes)
        : m_left(bytes) {}
    /// Takes `bytes`; false, and nothing taken, when fewer are left.
    bool take(qint64 bytes);
    void giveBack(qint64 bytes) { m_left += bytes; }
    qint64 left() const { return m_left; }

private:
    std::atomic<qint64> m_left;
};

/// Bytes taken from a budget, given back when the last copy of it goes.
using Hold = std::shared_ptr<const void>;
Hold hold(const std::shared_ptr<Budget> &budget, qint64 bytes);

} // namespace fetch
