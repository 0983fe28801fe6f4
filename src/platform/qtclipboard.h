// SPDX-License-Identifier: MIT
#pragma once

#include "platform/clipboard.h"

/// The desktop's clipboard through QGuiApplication::clipboard(): X11 and Windows.
class QtClipboard final : public Clipboard {
    Q_OBJECT
public:
    /// `problem`, when given, is why changes made while the program is in
    /// the background cannot be seen here; listening() tells it.
    explicit QtClipboard(Result problem = {}, QObject *parent = nullptr);

    ClipOffer offer() const override;
    std::optional<QString> readText() const override;
    QImage readImage() const override;
    void setText(const QString &text) override;
    void setImage(const QImage &image) override;
    void clear() override;
    Result listening() const override;
    QString name() const override;

private:
    Result m_problem;
};
