// SPDX-License-Identifier: MIT
#include "settings/dialoglayout.h"

#include "ui/frmmain.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void placeTwips(QWidget *widget, int left, int top, int width, int height) {
    const QSize hint = widget->sizeHint();
    const int w = std::max(tw(width), hint.width());
    const int h = std::max(tw(height), hint.height());
    widget->setGeometry(tw(left), tw(top) - (h - tw(height)) / 2, w, h);
}

void fixDialog(QWidget *dialog, int width, int height, const QWidget *near) {
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
    dialog->setFixedSize(tw(width), tw(height));
    QScreen *screen = near ? near->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame(QPoint(), dialog->size());
        frame.moveCenter(screen->availableGeometry().center());
        dialog->move(frame.topLeft());
    }
}
