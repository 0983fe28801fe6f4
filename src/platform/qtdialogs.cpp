// SPDX-License-Identifier: MIT
#include "platform/qtdialogs.h"

#include "platform/apptitle.h"
#include "platform/logging.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

bool translateQt(QTranslator &translator) {
    const QString name = QStringLiteral("qtbase_zh_CN");
    const QStringList folders = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                 QCoreApplication::applicationDirPath() +
                                     QStringLiteral("/translations")};
    for (const QString &folder : folders) {
        if (translator.load(name, folder))
            return QCoreApplication::installTranslator(&translator);
    }
    qCWarning(lcFiles) << name << "is in none of" << folders << "- Qt's buttons stay in English";
    return false;
}

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

Answer QtDialogs::ask(const QString &question, const QString &first, const QString &second) {
    QMessageBox box(QMessageBox::Question, QString::fromUtf16(AppTitle), question,
                    QMessageBox::NoButton, m_parent);
    const QAbstractButton *one = box.addButton(first, QMessageBox::AcceptRole);
    const QAbstractButton *two = box.addButton(second, QMessageBox::DestructiveRole);
    box.setEscapeButton(box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole));
    box.exec();
    return box.clickedButton() == one   ? Answer::First
           : box.clickedButton() == two ? Answer::Second
                                        : Answer::Cancel;
}

QString QtDialogs::input(const QString &prompt, const QString &title) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, QString(), &ok);
    return ok ? text : QString();
}
