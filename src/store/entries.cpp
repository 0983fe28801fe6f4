// SPDX-License-Identifier: MIT
#include "store/entries.h"

#include "app/module1.h"
#include "ui/picturebox.h"
#include "ui/textbox.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QSaveFile>

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

bool CommitWhole(QSaveFile &file) {
    if (file.flush() && file.commit())
        return true;
    file.cancelWriting();
    return false;
}

QString FolderProblem(const QString &folder) {
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir())
        return QString::fromUtf16(SaveReason::FolderMissing);
    if (!info.isWritable())
        return QString::fromUtf16(SaveReason::FolderReadOnly);
    return QString();
}

QString OpenProblem(const QString &folder) {
    const QString problem = FolderProblem(folder);
    return problem.isEmpty() ? QString::fromUtf16(SaveReason::CannotCreate) : problem;
}

QString FreeDataFileName(const QString &folder, const QString &stem, QStringView extension) {
    const QString base = folder + u'/' + stem;
    // Bounded, so that a folder that answers "exists" to everything cannot
    // keep the program here.
    for (int k = 1; k <= 10000; ++k) {
        QString name = base;
        if (k > 1)
            name += u'_' + QString::number(k);
        name += extension;
        const QFileInfo info(name);
        if (!info.exists() && !info.isSymLink())
            return name;
    }
    return QString();
}
