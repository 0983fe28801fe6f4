// SPDX-License-Identifier: MIT
// A program state of its own for one test: a temporary program folder,
// settings in a file there and fakes for the desktop (FakeDesktop); with the
// data folders, the store of entries and the watcher that fills it from the
// fake clipboard (TestRig).
#pragma once

#include "core/clipboardwatcher.h"
#include "core/entrystore.h"
#include "fakeclipboard.h"
#include "fakes.h"
#include "platform/platform.h"
#include "platform/system.h"

#include <QBuffer>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

struct FakeDesktop {
    FakeDesktop() {
        QStandardPaths::setTestModeEnabled(true);
        allowLargePictures();
    }
    Platform platform() { return {clipboard, dialogs, clock, launcher}; }
    QString path(const QString &relative) const { return dir.filePath(relative); }

    QTemporaryDir dir;
    FakeClipboard clipboard;
    FakeDialogs dialogs;
    FakeClock clock;
    FakeLauncher launcher;
    SettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
};

struct TestRig : FakeDesktop {
    explicit TestRig(bool autoSave = false)
        : store(DataFolders(dir.path()), options(autoSave), clock) {
        store.folders().provide();
        watcher.listen();
        QObject::connect(&store, &EntryStore::failed,
                         [this](const UserMessage &m) { told << m.text; });
    }

    /// The options read from the settings, with the given policy.
    Options options(bool autoSave) {
        Options read = readOptions(settings, dir.path());
        read.autoSave = autoSave;
        return read;
    }
    QStringList tempPictures() const {
        return QDir(store.folders().temp())
            .entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name);
    }
    TextEntries &texts() { return store.texts(); }
    PictureEntries &pictures() { return store.pictures(); }

    EntryStore store;
    ClipboardWatcher watcher{clipboard, store};
    QStringList told; ///< what the store told the user, in turn
};

/// The bytes of a file; none when it cannot be read.
inline QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Writes a file afresh; whether all of `bytes` went in.
inline bool written(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

/// Whether no other user may read `path`, whatever the umask says (on
/// Windows the user's folders are the user's alone).
inline bool ownersOnly([[maybe_unused]] const QString &path) {
#ifdef Q_OS_WIN
    return true;
#else
    return !(QFile::permissions(path) & (QFile::ReadGroup | QFile::ReadOther | QFile::ExeOther));
#endif
}

inline QImage testPicture(int width, int height, QColor color = Qt::red) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

/// A picture as the bytes of an image file, as other programs offer it.
inline QByteArray encodedPicture(const QImage &image, const char *format = "PNG") {
    QByteArray bytes;
    QBuffer buffer(&bytes); // opened by the save
    image.save(&buffer, format);
    return bytes;
}

/// QTEST_MAIN for tests whose threads leave the process as the program's do:
/// ended the program's way (endProcess()).
#define ORLO_TEST_MAIN(TestObject)                                                                 \
    int main(int argc, char *argv[]) {                                                             \
        return endProcess([&] {                                                                    \
            QTEST_MAIN_SETUP()                                                                     \
            TestObject tc;                                                                         \
            QTEST_SET_MAIN_SOURCE_PATH                                                             \
            return QTest::qExec(&tc, argc, argv);                                                  \
        }());                                                                                      \
    }
