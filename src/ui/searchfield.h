// SPDX-License-Identifier: MIT
#pragma once

#include <QKeySequence>
#include <QLineEdit>

/// The search field of the toolbar. Esc empties it; Enter and Down ask for
/// the next match (while an entry is picked from the keyboard, PickMode
/// takes those keys); Ctrl+E selects its words. Keys typed into it stay there: the window's
/// shortcuts never take the keys it uses itself, nor those of `guarded` commands (ones that delete
/// data), while it has the focus.
class SearchField final : public QLineEdit {
    Q_OBJECT
public:
    explicit SearchField(QList<QKeySequence> guarded, QWidget *parent = nullptr);

signals:
    void nextRequested();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QList<QKeySequence> m_guarded;
};
