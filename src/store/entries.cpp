// SPDX-License-Identifier: MIT
#include "store/entries.h"

#include "app/module1.h"
#include "ui/picturebox.h"
#include "ui/textbox.h"

#include <QDir>
#include <QListWidget>

void DeleteAllText(Module1 &m, QListWidget *list, TextBox *view) {
    m.clearTextPages();
    m.TextCount = 0;
    if (list)
        list->clear();
    if (view)
        view->setText(QString());
}

void ForgetAllImages(Module1 &m, QListWidget *list, PictureBox *view, StretchImage *stretched) {
    if (list)
        list->clear();
    if (view)
        view->setPicture(QImage());
    if (stretched)
        stretched->setPicture(view ? view->picture() : QImage());
    m.ImageCount = 0;
}

bool DeleteTempPictures(const Module1 &m) {
    QDir temp(m.tempImageFolder());
    bool all = true;
    const QStringList files =
        temp.entryList({QStringLiteral("*.bmp")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : files)
        all = temp.remove(name) && all;
    return all;
}

QString SaveFailureDescription(const QString &folder, const QString &reason) {
    return QStringLiteral("\n") + QDir::toNativeSeparators(folder) + QStringLiteral("\n") + reason;
}
