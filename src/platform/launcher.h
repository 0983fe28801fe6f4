// SPDX-License-Identifier: MIT
#pragma once

#include <QFileInfo>
#include <QString>
#include <QUrl>

/// Opens a document or a web address in the user's default browser, and
/// shows a file in the user's file manager.
class Launcher {
public:
    virtual ~Launcher() = default;
    /// False when no program could be started for it.
    virtual bool open(const QUrl &url) = 0;
    /// Opens the folder of `path`, with the file selected where the file
    /// manager can be asked to.
    virtual bool showFile(const QString &path) {
        return open(QUrl::fromLocalFile(QFileInfo(path).path()));
    }
};

class DesktopLauncher final : public Launcher {
public:
    bool open(const QUrl &url) override;
    bool showFile(const QString &path) override;
};
