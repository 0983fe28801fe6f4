// SPDX-License-Identifier: MIT
#include "core/previews.h"

#include "core/messages.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QRunnable>

namespace {

constexpr int PreviewLines = 10;
constexpr int PreviewColumns = 80;

/// The tip of the picture in `file`: the thumbnail as an inline PNG over
/// its size. Runs on a thread of the pool.
QString makePicturePreview(const QString &file) {
    QImageReader reader(file);
    const QSize size = reader.size();
    if (size.isValid())
        reader.setScaledSize(
            size.scaled(PicturePreviews::Edge, PicturePreviews::Edge, Qt::KeepAspectRatio)
                .boundedTo(size));
    const QImage thumbnail = reader.read();
    QString tip;
    if (!thumbnail.isNull()) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        thumbnail.save(&buffer, "PNG");
        tip = QStringLiteral("<img src=\"data:image/png;base64,%1\"><br>")
                  .arg(QString::fromLatin1(png.toBase64()));
    }
    return tip + pictureSizeText(size, QFileInfo(file).size());
}

} // namespace

QString textPreview(const QString &text) {
    QString lines;
    qsizetype from = 0;
    for (int line = 0; line < PreviewLines && from < text.size(); ++line) {
        qsizetype end = text.indexOf(u'\n', from);
        if (end < 0)
            end = text.size();
        QString shown = text.mid(from, qMin(end - from, PreviewColumns + 1));
        if (shown.endsWith(u'\r'))
            shown.chop(1);
        if (shown.size() > PreviewColumns)
            shown = shown.left(PreviewColumns - 1) + u'…';
        lines += shown.toHtmlEscaped() + u'\n';
        from = end + 1;
    }
    if (from < text.size())
        lines += QStringLiteral("…\n");
    // Rich text, so that a text that looks like markup shows as it is.
    return QStringLiteral("<p style=\"white-space:pre\">%1</p>%2")
        .arg(lines, textSizeText(text.size()));
}

PicturePreviews::PicturePreviews(QObject *parent)
    : QObject(parent) {
    m_pool.setMaxThreadCount(1);
}

PicturePreviews::~PicturePreviews() {
    m_pool.clear();
    m_pool.waitForDone();
}

QString PicturePreviews::preview(int row, const QString &file) {
    if (const auto made = m_made.constFind(row); made != m_made.cend())
        return *made;
    if (!m_asked.contains(row)) {
        const quint64 ask = ++m_asks;
        m_asked.insert(row, ask);
        m_pool.start(QRunnable::create([this, row, ask, file] {
            const QString tip = makePicturePreview(file);
            QMetaObject::invokeMethod(
                this, [this, row, ask, tip] { take(row, ask, tip); }, Qt::QueuedConnection);
        }));
    }
    return {};
}

void PicturePreviews::take(int row, quint64 ask, const QString &tip) {
    if (m_asked.value(row) != ask)
        return;
    m_asked.remove(row);
    m_made.insert(row, tip);
    emit made(row);
}

void PicturePreviews::forget(int row) {
    m_made.remove(row);
    m_asked.remove(row);
}

void PicturePreviews::forgetAll() {
    m_made.clear();
    m_asked.clear();
}
