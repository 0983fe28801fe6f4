// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <initializer_list>

class QDialog;
class QWidget;

/// A new widget of a dialog, given the name it is found by.
template <typename W> W *named(W *widget, const char *name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

/// Lays a dialog out: `content` above its 确定 and 取消 buttons (named
/// `okName` and cmdCancel), OK the default and focused, then Cancel, then
/// `tabOrder` in the tab order; the dialog fixed in size (no resizing, no
/// minimise or maximise button), modal to its window alone.
void frameDialog(QDialog *dialog, QWidget *content, const char *okName,
                 std::initializer_list<QWidget *> tabOrder);
