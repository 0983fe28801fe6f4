// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QUrl>

/// Opens a document or a web address in the user's default browser.
class Launcher {
public:
    virtual ~Launcher() = default;
    /// False when no program could be started for it.
    virtual bool open(const QUrl &url) = 0;
};

class DesktopLauncher final : public Launcher {
public:
    bool open(const QUrl &url) override;
};
