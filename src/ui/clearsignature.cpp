// SPDX-License-Identifier: MIT
// Removing a recurring signature from the shown text entry.
#include "app/module1.h"
#include "platform/dialogs.h"
#include "ui/frmmain.h"
#include "ui/signature.h"
#include "ui/textbox.h"

#include <QLabel>

void frmMain::menuClearICP_Click() {
    const QString signature = m.platform.dialogs.input(QStringLiteral("请输入要清除的文字："),
                                                       QStringLiteral("清除签名"));
    if (signature.isEmpty())
        return;
    lTip->setText(QStringLiteral("正在清除指定的文本，请稍候……"));
    // A long text takes a moment: let the status line show before the work.
    lTip->repaint();

    QString text = txtMain->text();
    const qsizetype before = text.size();
    text = RemoveSignature(std::move(text), signature);
    // Every removal shortens the text; an untouched box keeps its caret and scrolling.
    if (text.size() != before)
        txtMain->setText(text);
    if (CurTextPage >= 0 && CurTextPage < m.TextPages.size())
        m.setTextPage(CurTextPage, text);

    lTip->setText(QStringLiteral("就绪"));
}
