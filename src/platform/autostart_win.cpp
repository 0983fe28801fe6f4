// SPDX-License-Identifier: MIT
// Starting at login as a value of the user's Run key, named by the title.
#include "platform/autostart.h"

#include "platform/apptitle.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>

namespace {

const QString RunKey =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");

} // namespace

namespace autostart {

bool enabled() {
    return QSettings(RunKey, QSettings::NativeFormat).contains(QString::fromUtf16(AppTitle));
}

Result setEnabled(bool on) {
    QSettings run(RunKey, QSettings::NativeFormat);
    const QString name = QString::fromUtf16(AppTitle);
    if (on)
        run.setValue(
            name, u'"' + QDir::toNativeSeparators(QCoreApplication::applicationFilePath()) + u'"');
    else
        run.remove(name);
    run.sync();
    if (run.status() == QSettings::NoError && run.contains(name) == on)
        return {};
    return {Reason::AutostartUnwritable, RunKey, {}};
}

} // namespace autostart
