// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>

/// The status line (lTip). A long operation shows what it does and "就绪"
/// when done; a notice for the user (what a start took back) stays until the
/// next command; while a search is on, its count stands where "就绪" would.
class StatusLine final : public QLabel {
    Q_OBJECT
public:
    explicit StatusLine(QWidget *parent = nullptr);

    void showBusy(const QString &doing);
    void showIdle();
    void showNotice(const QString &notice);
    /// The search's count; empty: no search.
    void setSearch(const QString &found);

public slots:
    /// A command ran: a notice has been seen.
    void commandRan();

private:
    bool m_busy = false;
    QString m_notice, m_found;
};
