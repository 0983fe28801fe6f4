// SPDX-License-Identifier: MIT
#include "ui/statusline.h"

StatusLine::StatusLine(QWidget *parent)
    : QLabel(parent) {
    setObjectName(QStringLiteral("lTip"));
    showIdle();
}

void StatusLine::showBusy(const QString &doing) {
    m_busy = true;
    setText(doing);
}

void StatusLine::showIdle() {
    m_busy = false;
    setText(!m_notice.isEmpty() ? m_notice : !m_found.isEmpty() ? m_found : QStringLiteral("就绪"));
}

void StatusLine::showNotice(const QString &notice) {
    m_notice = notice;
    if (!m_busy)
        showIdle();
}

void StatusLine::setSearch(const QString &found) {
    m_found = found;
    if (!m_busy)
        showIdle();
}

void StatusLine::commandRan() {
    m_notice.clear();
    if (!m_busy)
        showIdle();
}
