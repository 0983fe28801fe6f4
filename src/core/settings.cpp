// SPDX-License-Identifier: MIT
#include "core/settings.h"

#include "platform/apptitle.h"
#include "platform/logging.h"
#include "platform/system.h"

#include <QSettings>
#include <QStringList>

namespace {

/// "True" / "False", as flags are stored.
QString flagText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

/// The flag a stored text stands for: "True"/"False" in any letter case,
/// or a number (non-zero is true); anything else is false.
bool flagOf(const QString &text) {
    const QString t = text.trimmed();
    if (t.compare(u"True", Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(u"False", Qt::CaseInsensitive) == 0)
        return false;
    bool isNumber = false;
    const double number = t.toDouble(&isNumber);
    return isNumber && number != 0.0;
}

} // namespace

SettingsStore::SettingsStore()
    : m_settings(openUserSettings(QString::fromUtf16(AppTitle))) {}

SettingsStore::SettingsStore(const QString &iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::readSetting(const QString &section, const QString &key,
                                   const QString &fallback) const {
    const QString path = section + u'/' + key;
    if (m_settings->status() != QSettings::NoError || !m_settings->contains(path))
        return fallback;
    const QVariant value = m_settings->value(path);
    // A list or a nested group where a text belongs is as good as nothing.
    if (!value.canConvert<QString>() || value.typeId() == QMetaType::QStringList)
        return fallback;
    return value.toString();
}

bool SettingsStore::writeSetting(const QString &section, const QString &key, const QString &value) {
    m_settings->setValue(section + u'/' + key, value);
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

QString SettingsStore::location() const {
    return m_settings->fileName();
}

Options readOptions(const SettingsStore &store, const QString &programFolder) {
    Options options;
    for (const OptionSetting &setting : OptionSettings) {
        const QString section = QString::fromUtf16(setting.section);
        const QString key = QString::fromUtf16(setting.key);
        if (setting.folder) {
            options.*setting.folder = store.readSetting(
                section, key, programFolder + QString::fromUtf16(setting.defaultFolder));
        } else if (setting.text) {
            options.*setting.text =
                store.readSetting(section, key, QString::fromUtf16(setting.defaultText));
        } else {
            options.*setting.flag = flagOf(store.readSetting(section, key, flagText(false)));
        }
    }
    return options;
}

Result writeOptions(SettingsStore &store, const Options &chosen) {
    QStringList failed;
    for (const OptionSetting &setting : OptionSettings) {
        if (setting.folder && !chosen.autoSave)
            continue;
        const QString key = QString::fromUtf16(setting.key);
        const QString value = setting.folder ? chosen.*setting.folder
                              : setting.text ? chosen.*setting.text
                                             : flagText(chosen.*setting.flag);
        if (!store.writeSetting(QString::fromUtf16(setting.section), key, value))
            failed << key;
    }
    if (failed.isEmpty())
        return {};
    const Result result{Reason::SettingsUnwritable, store.location(), failed.join(u", ")};
    qCWarning(lcFiles) << "settings not stored:" << result;
    return result;
}
