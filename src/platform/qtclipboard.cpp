// SPDX-License-Identifier: MIT
#include "platform/qtclipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

QClipboard *board() {
    return QGuiApplication::clipboard();
}

} // namespace

QtClipboard::QtClipboard(Result problem, QObject *parent)
    : Clipboard(parent)
    , m_problem(std::move(problem)) {
    if (QClipboard *cb = board()) {
        connect(cb, &QClipboard::dataChanged, this, &Clipboard::changed);
    }
}

ClipOffer QtClipboard::offer() const {
    QClipboard *cb = board();
    return clipOfferOf(cb ? cb->mimeData() : nullptr);
}

std::optional<QString> QtClipboard::readText() const {
    QClipboard *cb = board();
    const QMimeData *data = cb ? cb->mimeData() : nullptr;
    if (!data || !data->hasText())
        return QString();
    // The toolkit gives null data when the owner did not answer in time,
    // refused or went away, and empty data for a copy of nothing. Our own
    // copies come back as they were set.
    const bool own = cb->ownsClipboard();
    // One request whatever is offered: text() asks for UTF-8 text and then,
    // when that failed, for plain text, and an owner that hangs would cost
    // the toolkit's clipboard timeout twice.
    static const QString utf8 = QStringLiteral("text/plain;charset=utf-8");
    if (!own && data->hasFormat(utf8)) {
        const QByteArray bytes = data->data(utf8);
        if (bytes.isNull())
            return std::nullopt;
        return QString::fromUtf8(bytes);
    }
    QString text = data->text();
    if (text.isNull() && !own && data->hasFormat(QStringLiteral("text/plain")))
        return std::nullopt;
    return text;
}

QImage QtClipboard::readImage() const {
    QClipboard *cb = board();
    const QMimeData *data = cb ? cb->mimeData() : nullptr;
    if (!data || !data->hasImage())
        return {};
    return qvariant_cast<QImage>(data->imageData());
}

void QtClipboard::setText(const QString &text) {
    if (QClipboard *cb = board())
        cb->setText(text);
}

void QtClipboard::setImage(const QImage &image) {
    if (QClipboard *cb = board(); cb && !image.isNull())
        cb->setImage(image);
}

void QtClipboard::clear() {
    if (QClipboard *cb = board())
        cb->clear();
}

Result QtClipboard::listening() const {
    if (!board())
        return {Reason::NoClipboard, {}, {}};
    return m_problem;
}

QString QtClipboard::name() const {
    const QString platform = QGuiApplication::platformName();
    if (platform == u"xcb")
        return qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ? QStringLiteral("X11")
                                                              : QStringLiteral("X11（XWayland）");
    if (platform == u"windows")
        return QStringLiteral("Windows");
    // A Wayland desktop without data-control: nothing copied in the background is seen.
    return QStringLiteral("不可用");
}
