// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>

class QSettings;

/// The name every setting is filed under.
inline constexpr char16_t AppTitle[] = u"Orlo粘贴板";

/// The per-user settings: text values addressed by application, section and key.
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
    QString ReadSetting(const QString &app, const QString &section, const QString &key,
                        const QString &fallback) const;
    /// Stores the text; false when the store could not be written.
    bool WriteSetting(const QString &app, const QString &section, const QString &key,
                      const QString &value);

    /// The file or registry path behind the store.
    QString location() const;

private:
    QSettings &settingsFor(const QString &app) const;
    QString m_iniFile;
    mutable std::unique_ptr<QSettings> m_settings;
    mutable QString m_app;
};

/// "True" / "False", as booleans are stored.
QString boolSettingText(bool value);
/// The boolean a stored text stands for: "True"/"False" in any letter case,
/// or a number (non-zero is true). Anything else gives `fallback`.
bool settingToBool(const QString &text, bool fallback = false);
