// SPDX-License-Identifier: MIT
#include "settings/settingsstore.h"

#include "platform/system.h"

#include <QSettings>

SettingsStore::SettingsStore() = default;

SettingsStore::SettingsStore(const QString &iniFile)
    : m_iniFile(iniFile) {}

SettingsStore::~SettingsStore() = default;

QSettings &SettingsStore::settingsFor(const QString &app) const {
    if (!m_settings || m_app != app) {
        m_app = app;
        if (!m_iniFile.isEmpty()) {
            m_settings = std::make_unique<QSettings>(m_iniFile, QSettings::IniFormat);
        } else {
            m_settings = openUserSettings(app);
        }
    }
    return *m_settings;
}

QString SettingsStore::ReadSetting(const QString &app, const QString &section, const QString &key,
                                   const QString &fallback) const {
    QSettings &settings = settingsFor(app);
    const QString path = section + u'/' + key;
    if (settings.status() != QSettings::NoError || !settings.contains(path))
        return fallback;
    const QVariant value = settings.value(path);
    // A list or a nested group where a text belongs is as good as nothing.
    if (!value.canConvert<QString>() || value.typeId() == QMetaType::QStringList)
        return fallback;
    return value.toString();
}

bool SettingsStore::WriteSetting(const QString &app, const QString &section, const QString &key,
                                 const QString &value) {
    QSettings &settings = settingsFor(app);
    settings.setValue(section + u'/' + key, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString SettingsStore::location() const {
    return settingsFor(QString::fromUtf16(AppTitle)).fileName();
}

QString boolSettingText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

bool settingToBool(const QString &text, bool fallback) {
    const QString t = text.trimmed();
    if (t.compare(u"True", Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(u"False", Qt::CaseInsensitive) == 0)
        return false;
    bool isNumber = false;
    const double number = t.toDouble(&isNumber);
    if (isNumber)
        return number != 0.0;
    return fallback;
}
