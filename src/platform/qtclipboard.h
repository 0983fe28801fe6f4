// SPDX-License-Identifier: MIT
#pragma once

#include "platform/clipboard.h"

/// The desktop's clipboard through QGuiApplication::clipboard().
class QtClipboard final : public Clipboard {
    Q_OBJECT
public:
    explicit QtClipboard(QObject *parent = nullptr);

    QSet<int> formats() const override;
    bool isSecret() const override;
    std::optional<QString> readText() const override;
    QImage getImage() const override;
    void setText(const QString &text) override;
    void setImage(const QImage &image) override;
    void clear() override;
    QString listenError() const override;
};
