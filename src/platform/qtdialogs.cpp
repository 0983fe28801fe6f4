// SPDX-License-Identifier: MIT
#include "platform/qtdialogs.h"

#include "platform/apptitle.h"

#include <QInputDialog>
#include <QMessageBox>

QtDialogs::QtDialogs(QWidget *parent)
    : m_parent(parent) {}

void QtDialogs::setParent(QWidget *parent) {
    m_parent = parent;
}

void QtDialogs::message(MessageIcon icon, const QString &text) {
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical
                                                  : QMessageBox::Information,
                    QString::fromUtf16(AppTitle), text, QMessageBox::Ok, m_parent);
    box.exec();
}

QString QtDialogs::input(const QString &prompt, const QString &title) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, QString(), &ok);
    return ok ? text : QString();
}
