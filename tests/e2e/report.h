// SPDX-License-Identifier: MIT
// What the observed build of the program wrote down (see observed.cpp).
#pragma once

#include <QJsonObject>
#include <QList>
#include <QSize>
#include <QString>
#include <functional>

namespace e2e {

struct Entry {
    QString caption, text;
    /// "文本00 its text", to compare whole lists at a glance.
    QString shown() const { return caption + u' ' + text; }
};

class ProgramReport {
public:
    explicit ProgramReport(QString path)
        : m_path(std::move(path)) {}
    const QString &path() const { return m_path; }

    QList<Entry> entries() const;
    int changes() const;         ///< clipboard changes handled
    QJsonObject atStart() const; ///< the first line: the status line and its tip
    QSize textViewSize() const;  ///< as last reported
    /// Runs `copy` (another program's copy) and waits until the program has
    /// handled it; the entries it added, or {"copy failed"} / {"not handled"}.
    QList<Entry> take(const std::function<bool()> &copy) const;

private:
    QList<QJsonObject> lines() const;

    QString m_path;
};

} // namespace e2e
