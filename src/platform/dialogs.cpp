// SPDX-License-Identifier: MIT
#include "platform/dialogs.h"

#include <QInputDialog>

void QtDialogs::message(QMessageBox::Icon icon, const QString &text, const QString &caption) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok, m_parent);
    box.exec();
}

QString QtDialogs::input(const QString &prompt, const QString &title) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, QString(), &ok);
    return ok ? text : QString();
}
