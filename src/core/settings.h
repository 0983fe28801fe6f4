// SPDX-License-Identifier: MIT
#pragma once

#include "platform/result.h"

#include <QString>
#include <memory>

class QSettings;

/// The per-user settings of the program: text values by section and key,
/// filed under the application's title.
///
/// Linux keeps them in an INI file under the user's configuration folder,
/// Windows in the registry. A file that cannot be read or is garbled reads as
/// if nothing were stored.
class SettingsStore {
public:
    /// The user's own store.
    SettingsStore();
    /// A store kept in the given INI file (tests, portable use).
    explicit SettingsStore(const QString &iniFile);
    ~SettingsStore();
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    /// The stored text, or `fallback` when nothing is stored under the key.
    QString readSetting(const QString &section, const QString &key, const QString &fallback) const;
    /// Stores the text; false when the store could not be written.
    bool writeSetting(const QString &section, const QString &key, const QString &value);

    /// The file or registry path behind the store.
    QString location() const;

private:
    std::unique_ptr<QSettings> m_settings;
};

/// The values kept between runs.
struct Options {
    /// Folders of the text and image data files, and of other data (only
    /// shown and stored).
    QString txtPath;
    QString imgPath;
    QString othPath;
    /// Overflow policy: true saves all entries of a kind when its hundredth
    /// is taken, false starts again at the oldest.
    bool autoSave = false;
    /// The combination that brings the window up from anywhere, as
    /// QKeySequence's portable text ("Ctrl+Alt+V"); empty for none.
    QString showShortcut;
};

/// One stored option: where it is filed and what it is when nothing is.
struct OptionSetting {
    const char16_t *section;
    const char16_t *key;
    /// A folder: its default beneath the program folder ("/data/text").
    const char16_t *defaultFolder;
    QString Options::*folder;
    /// A flag: stored as "True" or "False", false by default.
    bool Options::*flag;
    /// A text, and what it is when nothing is stored (stored empty, it is empty).
    QString Options::*text = nullptr;
    const char16_t *defaultText = nullptr;
};

inline constexpr OptionSetting OptionSettings[] = {
    {u"Path", u"txtPath", u"/data/text", &Options::txtPath, nullptr},
    {u"Path", u"imgPath", u"/data/image", &Options::imgPath, nullptr},
    {u"Path", u"othPath", u"/data/other", &Options::othPath, nullptr},
    {u"Option", u"AutoSave", nullptr, nullptr, &Options::autoSave},
    {u"Option", u"ShowShortcut", nullptr, nullptr, nullptr, &Options::showShortcut, u"Ctrl+Alt+V"},
};

/// Reads the options, each on its own, in the order of the table. A
/// default is the program folder followed by its suffix, computed at every
/// start and never written back; a stored empty folder is used as it is.
Options readOptions(const SettingsStore &store, const QString &programFolder);

/// Stores a choice of the options dialog: the three folders only with the
/// save policy, the others always, in the order of the table. A failure
/// names the store and, for the log, the keys that could not be written.
Result writeOptions(SettingsStore &store, const Options &chosen);
