// SPDX-License-Identifier: MIT
#include "core/messages.h"

#include "core/entrylist.h"
#include "core/imagefiles.h"
#include "core/recovery.h"
#include "platform/apptitle.h"
#include "platform/clipboard.h"
#include "platform/limits.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace {

const QString SystemError = QStringLiteral("系统错误!");

/// "系统错误!" followed by the folder and what went wrong there.
UserMessage systemError(const QString &where, const QString &what) {
    return {MessageIcon::Critical,
            SystemError + u'\n' + QDir::toNativeSeparators(where) + u'\n' + what};
}

QString captionsOf(const QList<int> &rows) {
    QStringList captions;
    for (int row : rows) {
        if (row >= 0) // there is no entry -1 (nothing chosen) to name
            captions << imageCaption(row);
    }
    return captions.isEmpty() ? QString() : u'\n' + captions.join(QStringLiteral(", "));
}

} // namespace

QString reasonText(Reason reason) {
    struct Words {
        Reason reason;
        const char16_t *text;
    };
    static constexpr Words words[] = {
        {Reason::FolderMissing, u"文件夹不存在"},
        {Reason::FolderNotMade, u"无法创建文件夹"},
        {Reason::FolderNotPrivate, u"无法把文件夹设为只有您能访问"},
        {Reason::FolderReadOnly, u"文件夹不允许写入"},
        {Reason::CannotCreate, u"无法在文件夹中创建文件"},
        {Reason::WriteFailed, u"磁盘已满或写入失败"},
        {Reason::NotWritable, u"文件不允许写入"},
        {Reason::NoCodec, u"缺少 GBK 编码转换"},
        {Reason::PictureMissing, u"图像临时文件不存在"},
        {Reason::PictureUnreadable, u"图像临时文件无法读取"},
        {Reason::SettingsUnwritable, u"设置无法保存"},
        {Reason::NoClipboard, u"无法访问剪贴板"},
        {Reason::NoDataControl, u"这个桌面不让程序看到它在后台时复制的内容"},
        {Reason::CompositorEndedAccess, u"Wayland桌面结束了程序对剪贴板的访问"},
        {Reason::ConnectionLost, u"与Wayland桌面的连接已断开"},
        {Reason::XServerLost, u"与X服务器的连接已断开"},
        {Reason::TempFolderIsLink, u"图像临时文件夹是一个链接，程序不会使用它"},
        {Reason::JournalTooLarge, u"未保存数据的记录文件太大"},
        {Reason::JournalUnreadable, u"未保存数据的记录文件无法读取"},
        {Reason::AutostartUnwritable, u"无法设置登录时启动"},
    };
    if (reason == Reason::ManualNotOpened || reason == Reason::ForumNotOpened)
        return QStringLiteral("默认浏览器启动过程中发生未知错误");
    for (const Words &entry : words) {
        if (entry.reason == reason)
            return QString::fromUtf16(entry.text);
    }
    return {};
}

UserMessage messageFor(const Result &failure) {
    const QString why = reasonText(failure.reason);
    switch (failure.reason) {
    case Reason::None:
        return {MessageIcon::Information, {}};
    case Reason::NoClipboard:
        return {MessageIcon::Critical, SystemError + u'\n' + why};
    case Reason::NoDataControl:
        // Nothing failed: the desktop is made so (a Wayland desktop with
        // neither data-control nor XWayland).
        return {MessageIcon::Information,
                QStringLiteral("这个桌面不让程序看到它在后台时复制的内容："
                               "Orlo粘贴板的窗口不在前台时，您复制的文字和图片都收集不到。\n\n"
                               "能收集的是：切换到Orlo粘贴板的窗口时，剪贴板上最新的内容。\n\n"
                               "要在后台收集，请在启动桌面时启用XWayland，"
                               "或者换用提供这项功能的桌面（例如KDE Plasma、sway）。")};
    case Reason::CompositorEndedAccess:
    case Reason::ConnectionLost:
    case Reason::XServerLost:
        return {MessageIcon::Critical,
                SystemError + QStringLiteral("\n剪贴板监控已中断，之后复制的内容不会被记录：") +
                    why};
    case Reason::TextTooLarge:
        return {
            MessageIcon::Information,
            QStringLiteral("复制的内容太大（超过 %1 个字符），没有记录。").arg(limits::TextLength)};
    case Reason::TextsTooLarge:
        return {MessageIcon::Information,
                QStringLiteral("所有文本条目加在一起已满（%1 个字符），复制的内容没有记录。"
                               "请先保存或删除一些文本。")
                    .arg(limits::AllTexts)};
    case Reason::PictureTooLarge:
        return {MessageIcon::Information,
                QStringLiteral("复制的图片太大（超过 %1 万像素），没有记录。")
                    .arg(limits::PicturePixels / 10000)};
    case Reason::DataFolderInUse:
        return {MessageIcon::Critical,
                QStringLiteral("数据文件夹正由另一个Orlo粘贴板使用，它持有锁文件：") +
                    QDir::toNativeSeparators(failure.subject)};
    case Reason::ManualNotOpened:
        return {MessageIcon::Critical, why + QStringLiteral("，请检查默认浏览器。")};
    case Reason::ForumNotOpened:
        return {MessageIcon::Critical,
                why + QStringLiteral("，请手动启动浏览器访问") + failure.subject + u'。'};
    default:
        return systemError(failure.subject, why);
    }
}

QString watchTip(const Clipboard &clipboard) {
    QString tip = QStringLiteral("剪贴板监控：") + clipboard.name();
    if (const QString display = clipboard.watchedDisplay(); !display.isEmpty())
        tip += QStringLiteral("\n监视的X显示：") + display;
    return tip;
}

QString trayTip(const Result &listening, const Result &shortcut) {
    QString tip = QString::fromUtf16(AppTitle);
    if (!listening.ok())
        tip += QStringLiteral("\n剪贴板监控：不可用");
    if (!shortcut.ok())
        tip += QStringLiteral("\n快捷键：不可用");
    return tip;
}

QString shortcutNotice(const Result &why) {
    switch (why.reason) {
    case Reason::None:
        return {};
    case Reason::ShortcutTaken:
        return QStringLiteral("快捷键 %1 已被另一个程序占用，没有生效").arg(why.subject);
    case Reason::NoShortcutPortal:
        return QStringLiteral("这个桌面不让程序设置快捷键：请在桌面的键盘设置中"
                              "把快捷键绑定到命令 orlo-clipboard --show");
    default:
        return QStringLiteral("桌面没有接受快捷键 %1").arg(why.subject);
    }
}

UserMessage journalMessage(const Result &why) {
    return {MessageIcon::Critical,
            SystemError + QStringLiteral("\n无法写入未保存数据的记录文件：%1（%2）。"
                                         "程序异常退出时，未保存的文本会丢失。")
                              .arg(QDir::toNativeSeparators(QFileInfo(why.subject).path()),
                                   reasonText(why.reason))};
}

QString recoveryStatus(const Recovery &recovery) {
    QString told = QStringLiteral("已恢复上次未保存的 %1 条文本和 %2 张图片")
                       .arg(recovery.texts)
                       .arg(recovery.pictures);
    if (recovery.damaged > 0)
        told += QStringLiteral("，跳过 %1 条损坏的记录").arg(recovery.damaged);
    if (!recovery.setAside.isEmpty())
        told += QStringLiteral("；%1，已另存为 %2")
                    .arg(reasonText(recovery.setAsideWhy), recovery.setAside);
    return told;
}

QString unsavedQuestion(int texts, int pictures) {
    return QStringLiteral(
               "还有 %1 条文本和 %2 张图片没有保存，退出后将不能恢复。\n退出前保存它们吗？")
        .arg(texts)
        .arg(pictures);
}

UserMessage messageFor(const ImageSaveResult &saved) {
    UserMessage message;
    if (!saved.failed.isEmpty())
        message = messageFor(saved.failure);
    if (!saved.failed.isEmpty())
        message.text += captionsOf(saved.failed);
    if (!saved.gone.isEmpty()) {
        if (message.text.isEmpty())
            message.text = SystemError;
        message.text += u'\n' + reasonText(Reason::PictureMissing) + captionsOf(saved.gone);
    }
    return message;
}

QString textSizeText(qsizetype characters) {
    return QStringLiteral("共 %1 个字符").arg(characters);
}

QString pictureSizeText(QSize size, qint64 bytes) {
    const QString file =
        QLocale::system().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
    if (!size.isValid())
        return file;
    return QStringLiteral("%1 × %2 像素，%3").arg(size.width()).arg(size.height()).arg(file);
}
