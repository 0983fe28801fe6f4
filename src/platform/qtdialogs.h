// SPDX-License-Identifier: MIT
#pragma once

#include "platform/dialogs.h"

#include <QPointer>

class QWidget;

/// Real boxes, modal to the application, centred on `parent` when it is set.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget *parent = nullptr);
    void setParent(QWidget *parent);
    void message(MessageIcon icon, const QString &text) override;
    QString input(const QString &prompt, const QString &title) override;

private:
    QPointer<QWidget> m_parent;
};
