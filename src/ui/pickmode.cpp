// SPDX-License-Identifier: MIT
#include "ui/pickmode.h"

#include "ui/entrypane.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

PickMode::PickMode(QWidget *window, QLineEdit *field, Lists lists)
    : QObject(window)
    , m_window(window)
    , m_field(field)
    , m_lists(lists) {
    connect(field, &QLineEdit::textChanged, this, [this] {
        if (m_on)
            chooseNewest();
    });
}

void PickMode::start() {
    if (m_on)
        return;
    m_on = true;
    m_field->installEventFilter(this);
    m_window->installEventFilter(this);
    qApp->installEventFilter(this);
}

void PickMode::stop() {
    if (!m_on)
        return;
    m_on = false;
    m_field->removeEventFilter(this);
    m_window->removeEventFilter(this);
    qApp->removeEventFilter(this);
}

bool PickMode::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::Hide:
        if (watched == m_window)
            stop();
        break;
    case QEvent::MouseButtonPress:
        if (auto *widget = qobject_cast<QWidget *>(watched); widget && widget->window() == m_window)
            stop();
        break;
    case QEvent::KeyPress:
        if (watched != m_field)
            break;
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit picked();
            putAway();
            return true;
        case Qt::Key_Escape:
            putAway();
            return true;
        case Qt::Key_Up:
            step(-1);
            return true;
        case Qt::Key_Down:
            step(1);
            return true;
        default:
            break;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void PickMode::putAway() {
    stop();
    emit putAwayRequested();
}

void PickMode::chooseNewest() {
    for (EntryPane *pane : {m_lists.texts, m_lists.pictures}) {
        if (pane->chooseNewest()) {
            turnTo(pane);
            return;
        }
    }
}

void PickMode::step(int by) {
    const int texts = m_lists.texts->listed();
    const int all = texts + m_lists.pictures->listed();
    if (all == 0)
        return;
    const bool onPictures = m_lists.pictures->isVisibleTo(m_window);
    const int row = onPictures ? m_lists.pictures->chosenRow() : m_lists.texts->chosenRow();
    int at = onPictures && row >= 0 ? texts + row : row;
    at = at < 0 ? (by > 0 ? 0 : all - 1) : qBound(0, at + by, all - 1);
    EntryPane *pane = at < texts ? m_lists.texts : m_lists.pictures;
    turnTo(pane);
    pane->chooseRow(at < texts ? at : at - texts);
}

void PickMode::turnTo(EntryPane *pane) {
    if (!pane->isVisibleTo(m_window))
        (pane == m_lists.texts ? m_lists.showTexts : m_lists.showPictures)->trigger();
}
