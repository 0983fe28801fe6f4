// SPDX-License-Identifier: MIT
#include "platform/fetchpolicy.h"

#include "platform/clipboard.h"
#include "platform/clipcontent.h"
#include "platform/limits.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace fetch {
namespace {

// Lists of paths; the others are a word.
constexpr qint64 listLimit = qint64(16) << 20;
constexpr qint64 wordLimit = 1024;

bool isWindowsHistoryMarker(const QString &type) {
    // Windows programs say with its value whether a copy may be kept.
    return type.contains(u"CanIncludeInClipboardHistory");
}

QString pictureTypeToFetch(const QStringList &offered) {
    for (const QString &type : readablePictureTypes()) {
        if (offered.contains(type))
            return type;
    }
    return {};
}

} // namespace

QStringList lookedAt(const QStringList &offered) {
    QStringList types;
    QSet<QString> seen;
    for (const QString &type : offered) {
        if (types.size() == TypesLookedAt)
            break;
        if (!type.isEmpty() && !seen.contains(type)) {
            seen.insert(type);
            types << type;
        }
    }
    return types;
}

QString textTypeToFetch(const QStringList &offered) {
    if (offered.contains(u"UTF8_STRING"_s))
        return u"UTF8_STRING"_s;
    // text/plain with a charset: UTF-8 first, then any other the toolkit decodes.
    QString withCharset;
    for (const QString &type : offered) {
        if (!type.startsWith(u"text/plain;"))
            continue;
        if (charsetOf(type).compare(u"utf-8", Qt::CaseInsensitive) == 0)
            return type;
        if (withCharset.isEmpty() && decodeText(type, {}))
            withCharset = type;
    }
    if (!withCharset.isEmpty())
        return withCharset;
    for (const QString &type : {u"text/plain"_s, u"STRING"_s, u"TEXT"_s, u"COMPOUND_TEXT"_s}) {
        if (offered.contains(type))
            return type;
    }
    return {};
}

bool isMarker(const QString &type) {
    return type == u"text/uri-list" || type == u"x-special/gnome-copied-files" ||
           type == u"x-kde-passwordManagerHint" || isWindowsHistoryMarker(type);
}

QStringList typesToFetch(const QStringList &offered) {
    QStringList types;
    if (const QString text = textTypeToFetch(offered); !text.isEmpty())
        types << text;
    if (const QString picture = pictureTypeToFetch(offered); !picture.isEmpty())
        types << picture;
    bool windowsMarker = false;
    for (const QString &type : offered) {
        if (!isMarker(type) || (isWindowsHistoryMarker(type) && std::exchange(windowsMarker, true)))
            continue;
        types << type;
    }
    return types;
}

qint64 limitFor(const QString &type) {
    if (isPlainTextType(type))
        return limits::TextTransfer;
    if (isMarker(type))
        return type == u"text/uri-list" || type.startsWith(u"x-special/") ? listLimit : wordLimit;
    return limits::PictureTransfer;
}

Reason refusedFor(const QString &type) {
    if (isPlainTextType(type))
        return Reason::TextTooLarge;
    return isMarker(type) ? Reason::None : Reason::PictureTooLarge;
}

bool marksSecret(const QStringList &offered, const std::map<QString, QByteArray> &had) {
    return clipOfferOf(offered,
                       [&had](const QString &type) {
                           const auto found = had.find(type);
                           return found != had.end() ? found->second : QByteArray();
                       })
        .secret;
}

bool Budget::take(qint64 bytes) {
    qint64 left = m_left.load();
    do {
        if (left < bytes)
            return false;
    } while (!m_left.compare_exchange_weak(left, left - bytes));
    return true;
}

Hold hold(const std::shared_ptr<Budget> &budget, qint64 bytes) {
    if (!budget || bytes <= 0)
        return {};
    return Hold(budget.get(), [budget, bytes](const void *) { budget->giveBack(bytes); });
}

} // namespace fetch
