// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QDialog;
class QPushButton;
class QWidget;

/// A new widget of a dialog, given the name it is found by.
template <typename W> W *named(W *widget, const char *name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

/// Gives a dialog its OK and Cancel buttons at the bottom right, under
/// `content`, OK first in the tab order and focused; makes it fixed in size
/// (no resizing, no minimise or maximise button) and centred on the screen
/// of `near`.
void frameDialog(QDialog *dialog, QWidget *content, QPushButton *cancel, QPushButton *ok,
                 const QWidget *near);
