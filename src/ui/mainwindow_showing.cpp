// SPDX-License-Identifier: MIT
// Where the main window goes and how it ends: back from the tray or a later
// start (with its dialog, to its place), summoned, put away, and the question
// before an end that would discard what is not saved.
#include "ui/mainwindow.h"

#include "core/entrystore.h"
#include "core/messages.h"
#include "platform/dialogs.h"
#include "platform/windowsystem.h"
#include "ui/pickmode.h"
#include "ui/searchfield.h"
#include "ui/trayicon.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QWindow>
#include <algorithm>

void MainWindow::showFromTray() {
    // Where minimising is not told, nothing the program knows says that the
    // window is in view: it is brought back all the same. A dialog open in
    // it may have been minimised alone.
    const QWidget *dialog = QApplication::activeModalWidget();
    const bool dialogUp = !dialog || (dialog->isVisible() && !dialog->isMinimized());
    if (tellsOfMinimising() && isVisible() && !isMinimized() && dialogUp)
        return;
    bringToFront();
}

void MainWindow::bringToFront() {
    // A Wayland compositor may have minimised or hidden the window without
    // a word, and may not even have told it that it lost the focus (sway's
    // scratchpad); mapped anew, it comes back on every compositor.
    if (isVisible() && !tellsOfMinimising())
        hide();
    // Back where it was, on the screen it was on while that is still there;
    // elsewhere the window manager places it anew.
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (!isVisible() && !m_placeScreen.isEmpty() && placesWindows() &&
        std::any_of(screens.begin(), screens.end(), [this](const QScreen *screen) {
            return screen->name() == m_placeScreen && screen->availableGeometry().contains(m_place);
        })) {
        // Qt tells the window manager a position only when it changes.
        windowHandle()->setPosition(m_place + QPoint(1, 0));
        windowHandle()->setPosition(m_place);
    }
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    // A dialog open in the window comes with it, in front: without it the
    // window would take no input.
    if (QWidget *dialog = QApplication::activeModalWidget(); dialog && dialog != this) {
        dialog->setWindowState(dialog->windowState() & ~Qt::WindowMinimized);
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
    }
}

void MainWindow::requestQuit() {
    if (mayQuit())
        emit quitRequested();
}

bool MainWindow::mayQuit() {
    const int texts = m_store.texts().count();
    const int pictures = m_store.pictures().count();
    if (texts + pictures == 0)
        return true;
    switch (m_platform.dialogs.ask(unsavedQuestion(texts, pictures),
                                   QStringLiteral("保存后退出(&S)"),
                                   QStringLiteral("不保存退出(&N)"))) {
    case Answer::First:
        // As the save-all commands do; a save that fails keeps the program up.
        if (texts > 0)
            saveAllTexts();
        if (pictures > 0)
            saveAllPictures();
        return m_store.texts().count() + m_store.pictures().count() == 0;
    case Answer::Second:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

void MainWindow::summon() {
    // Mapped anew, a window left up on another desktop comes to this one.
    if (isVisible() && !isActiveWindow() && !QApplication::activeModalWidget())
        hide();
    bringToFront();
    // A dialog open comes in front with the window, and keeps the keys.
    if (QApplication::activeModalWidget())
        return;
    m_search->setFocus();
    m_search->selectAll();
    m_pick->start();
}

void MainWindow::closeEvent(QCloseEvent *event) {
    if (!mayQuit())
        return event->ignore();
    emit quitRequested();
    event->accept();
}

void MainWindow::changeEvent(QEvent *event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !(windowState() & Qt::WindowMinimized))
        return;
    // Hidden only while the icon can bring the window back: a notification
    // area may come or go while the program runs. Otherwise the window stays
    // minimised on the taskbar.
    if (m_tray && m_tray->isShown())
        hideToTray();
}

void MainWindow::hideToTray() {
    m_place = geometry().topLeft();
    m_placeScreen = screen()->name();
    hide();
}
