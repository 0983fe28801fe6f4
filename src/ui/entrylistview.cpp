// SPDX-License-Identifier: MIT
#include "ui/entrylistview.h"

#include "core/entrylist.h"

#include <QHBoxLayout>
#include <QListView>

QListView *addEntryList(QWidget *pane, EntryList &entries, const char *name, QWidget *view) {
    auto *list = new QListView(pane);
    list->setObjectName(QString::fromLatin1(name));
    list->setModel(&entries);
    list->setFixedWidth(113);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto *layout = new QHBoxLayout(pane);
    layout->addWidget(list);
    layout->addWidget(view, 1);
    // The user's choice; a list emptied chooses nothing.
    QObject::connect(list->selectionModel(), &QItemSelectionModel::currentRowChanged, pane,
                     [&entries](const QModelIndex &current) { entries.select(current.row()); });
    return list;
}
