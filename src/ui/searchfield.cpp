// SPDX-License-Identifier: MIT
#include "ui/searchfield.h"

#include <QKeyEvent>
#include <QToolButton>

SearchField::SearchField(QList<QKeySequence> guarded, QWidget *parent)
    : QLineEdit(parent)
    , m_guarded(std::move(guarded)) {
    setObjectName(QStringLiteral("search"));
    setPlaceholderText(QStringLiteral("搜索文本和图片中的文字"));
    setAccessibleName(QStringLiteral("搜索"));
    setClearButtonEnabled(true);
    for (QToolButton *clear : findChildren<QToolButton *>())
        clear->setAccessibleName(QStringLiteral("清除搜索"));
}

bool SearchField::event(QEvent *event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        // Ctrl+E, the window's key to the field, selects its words here too
        // (the field's own Ctrl+E would go to the end).
        if (key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_E)) {
            event->ignore();
            return true;
        }
        if (m_guarded.contains(QKeySequence(key->keyCombination()))) {
            event->accept(); // delivered here, where it does nothing
            return true;
        }
    }
    return QLineEdit::event(event);
}

void SearchField::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        clear();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down:
        emit nextRequested();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}
