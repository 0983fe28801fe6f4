// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QThreadPool>

/// The tip of a text entry as the pointer rests on it: its first lines
/// (10, of 80 characters each at most) and its length.
QString textPreview(const QString &text);

/// The tips of picture entries: a thumbnail (256 px at most) and the
/// picture's size, made on a thread of their own, each once, until
/// forgotten.
class PicturePreviews final : public QObject {
    Q_OBJECT
public:
    static constexpr int Edge = 256;

    explicit PicturePreviews(QObject *parent = nullptr);
    ~PicturePreviews() override;

    /// The tip of entry `row`, read from `file`; null while it is being made
    /// (asked for here the first time; made() tells when it is there).
    QString preview(int row, const QString &file);
    /// Entry `row` changed: its tip is made again when next asked for.
    void forget(int row);
    void forgetAll();

signals:
    void made(int row);

private:
    void take(int row, quint64 ask, const QString &tip);

    QHash<int, QString> m_made;
    /// Rows being made, by the number of the request: a result for an older
    /// one is of a picture since replaced.
    QHash<int, quint64> m_asked;
    quint64 m_asks = 0;
    QThreadPool m_pool;
};
