// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class EntryPane;
class QAction;
class QLineEdit;
class QWidget;

/// Picking an entry from the keyboard, once the window was summoned: typing
/// in the search field chooses the newest entry it keeps, Up and Down move
/// through the entries found (texts, then pictures), Enter asks for the
/// chosen one to go to the clipboard and Esc leaves; both put the window
/// away. It lasts until the window hides or the user clicks into it.
class PickMode final : public QObject {
    Q_OBJECT
public:
    struct Lists {
        EntryPane *texts;
        EntryPane *pictures;
        /// The items that turn the window to the texts or the pictures.
        QAction *showTexts;
        QAction *showPictures;
    };

    PickMode(QWidget *window, QLineEdit *field, Lists lists);

    void start();
    bool isOn() const { return m_on; }

signals:
    /// Enter: the chosen entry is to go to the clipboard (the window is put
    /// away right after).
    void picked();
    /// Enter or Esc: the window is to be put away, as minimising puts it.
    void putAwayRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void stop();
    void putAway();
    void chooseNewest();
    void step(int by);
    /// Turns the window to the list of `pane`.
    void turnTo(EntryPane *pane);

    QWidget *m_window;
    QLineEdit *m_field;
    Lists m_lists;
    bool m_on = false;
};
