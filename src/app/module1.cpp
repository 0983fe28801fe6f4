// SPDX-License-Identifier: MIT
#include "app/module1.h"

#include "platform/dialogs.h"
#include "platform/system.h"
#include "settings/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <limits>

namespace {

QString numbered(const char16_t *word, int n) {
    return QString::fromUtf16(word) + QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

Module1::Module1(Platform p, SettingsStore &store, QString programFolder)
    : platform(p)
    , settings(store)
    , AppPath(std::move(programFolder)) {
    clearTextPages();
}

QString Module1::textPage(int i) const {
    return i >= 0 && i < TextPages.size() ? TextPages.at(i) : QString();
}

void Module1::setTextPage(int i, const QString &text) {
    if (i < 0)
        return;
    while (TextPages.size() <= i)
        TextPages.append(QString());
    TextPages[i] = text;
}

void Module1::clearTextPages() {
    TextPages = QStringList();
    TextPages.resize(InitialTextSlots);
}

QString Module1::tempImageFolder() const {
    return AppPath + QStringLiteral("/data/image/temp");
}

QString Module1::tempImagePath(const QString &caption) const {
    return tempImageFolder() + u'/' + caption + QStringLiteral(".bmp");
}

void Module1::ReadSettings() {
    const QString app = QString::fromUtf16(AppTitle);
    const QString path = QStringLiteral("Path");
    TxtPath = settings.ReadSetting(app, path, QStringLiteral("txtPath"),
                                   AppPath + QStringLiteral("/data/text"));
    ImgPath = settings.ReadSetting(app, path, QStringLiteral("imgPath"),
                                   AppPath + QStringLiteral("/data/image"));
    OthPath = settings.ReadSetting(app, path, QStringLiteral("othPath"),
                                   AppPath + QStringLiteral("/data/other"));
    AutoSave = settingToBool(settings.ReadSetting(
        app, QStringLiteral("Option"), QStringLiteral("AutoSave"), boolSettingText(false)));
}

void Module1::ProvideDataFolders() const {
    QDir root(AppPath);
    for (const char *sub : {"data/text", "data/image", "data/other"})
        root.mkpath(QString::fromLatin1(sub));
    // Pictures copied to the clipboard often hold private things: the temp
    // folder is the user's alone, also when an older run left it open to others.
    const QString temp = tempImageFolder();
    root.mkpath(temp);
    makeFolderOwnerOnly(temp);
}

void Module1::ShowSystemError(const QString &description) {
    platform.dialogs.message(QMessageBox::Critical, QStringLiteral("系统错误!") + description,
                             QString::fromUtf16(AppTitle));
}

QString TextCaption(int n) {
    return numbered(u"文本", n);
}

QString ImageCaption(int n) {
    return numbered(u"图像", n);
}

qint16 Increment(qint16 count) {
    return count < std::numeric_limits<qint16>::max() ? qint16(count + 1) : count;
}
