// SPDX-License-Identifier: MIT
#include "ui/dialogframe.h"

#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

void frameDialog(QDialog *dialog, QWidget *content, QPushButton *cancel, QPushButton *ok,
                 const QWidget *near) {
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(ok);
    auto *layout = new QVBoxLayout(dialog);
    layout->addWidget(content);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ok->setDefault(true);
    QWidget::setTabOrder(ok, cancel);
    ok->setFocus();
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);

    dialog->adjustSize();
    if (QScreen *screen = near ? near->screen() : QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), dialog->size());
        frame.moveCenter(screen->availableGeometry().center());
        dialog->move(frame.topLeft());
    }
}
