// SPDX-License-Identifier: MIT
#pragma once

#include "platform/dialogs.h"

#include <QPointer>

class QTranslator;
class QWidget;

/// Loads Qt's own Chinese words (qtbase_zh_CN: 确定, 取消, the file dialog's)
/// into `translator` and installs it, so that the toolkit's buttons and
/// boxes speak as the program does. Looked for where Qt keeps its
/// translations, then in "translations" beside the program (the Windows
/// folder). False, with the buttons left in English, when it is not found.
bool translateQt(QTranslator &translator);

/// Real boxes, modal to the application, centred on `parent` when it is set.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget *parent = nullptr);
    void setParent(QWidget *parent);
    void message(MessageIcon icon, const QString &text) override;
    QString input(const QString &prompt, const QString &title) override;
    Answer ask(const QString &question, const QString &first, const QString &second) override;

private:
    QPointer<QWidget> m_parent;
};
