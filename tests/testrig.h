// SPDX-License-Identifier: MIT
// A complete program state on fakes, in a temporary folder, for one test.
#pragma once

#include "app/module1.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/fakeclipboard.h"
#include "platform/launcher.h"
#include "settings/settingsstore.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

struct TestRig {
    TestRig()
        : settings(dir.filePath(QStringLiteral("settings.ini")))
        , m({clipboard, dialogs, clock, launcher}, settings, dir.path()) {
        QStandardPaths::setTestModeEnabled(true);
        m.ReadSettings();
        m.ProvideDataFolders();
    }

    QString path(const QString &relative) const { return dir.filePath(relative); }
    QStringList tempPictures() const {
        return QDir(m.tempImageFolder())
            .entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name);
    }

    QTemporaryDir dir;
    FakeClipboard clipboard;
    FakeDialogs dialogs;
    FakeClock clock;
    FakeLauncher launcher;
    SettingsStore settings;
    Module1 m;
};

inline QImage testPicture(int width, int height, QColor color = Qt::red) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}
