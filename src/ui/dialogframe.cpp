// SPDX-License-Identifier: MIT
#include "ui/dialogframe.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

void frameDialog(QDialog *dialog, QWidget *content, const char *okName,
                 std::initializer_list<QWidget *> tabOrder) {
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
    // Modal to its window only: the tray icon and its menu still answer,
    // and bring the window back with the dialog in front.
    dialog->setWindowModality(Qt::WindowModal);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton *ok = named(buttons->button(QDialogButtonBox::Ok), okName);
    QPushButton *cancel = named(buttons->button(QDialogButtonBox::Cancel), "cmdCancel");
    ok->setText(QStringLiteral("确定"));
    cancel->setText(QStringLiteral("取消"));
    auto *layout = new QVBoxLayout(dialog);
    layout->addWidget(content);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ok->setDefault(true);
    ok->setFocus();
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    QWidget::setTabOrder(ok, cancel);
    QWidget *previous = cancel;
    for (QWidget *next : tabOrder)
        QWidget::setTabOrder(std::exchange(previous, next), next);
}
