// SPDX-License-Identifier: MIT
#include "core/messages.h"

#include "core/entrylist.h"
#include "core/imagefiles.h"
#include "platform/launcher.h"

#include <QDir>

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
            captions << ImageCaption(row);
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
        {Reason::FolderReadOnly, u"文件夹不允许写入"},
        {Reason::CannotCreate, u"无法在文件夹中创建文件"},
        {Reason::WriteFailed, u"磁盘已满或写入失败"},
        {Reason::NoCodec, u"缺少 GBK 编码转换"},
        {Reason::PictureMissing, u"图像临时文件不存在"},
        {Reason::PictureUnreadable, u"图像临时文件无法读取"},
        {Reason::SettingsUnwritable, u"设置无法保存"},
        {Reason::NoClipboard, u"无法访问剪贴板"},
        {Reason::NoDataControl, u"这个Wayland桌面既不提供数据控制（data-control）协议，也没有"
                                u"XWayland，程序在后台时看不到复制的内容。"},
        {Reason::CompositorEndedAccess, u"Wayland桌面结束了程序对剪贴板的访问"},
        {Reason::ConnectionLost, u"与Wayland桌面的连接已断开"},
    };
    if (reason == Reason::ManualNotOpened || reason == Reason::ForumNotOpened)
        return QStringLiteral("%1启动过程中发生未知错误").arg(defaultBrowserName());
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
    case Reason::NoDataControl:
        return {MessageIcon::Critical, SystemError + u'\n' + why};
    case Reason::CompositorEndedAccess:
    case Reason::ConnectionLost:
        return {MessageIcon::Critical,
                SystemError + QStringLiteral("\n剪贴板监控已中断，之后复制的内容不会被记录：") +
                    why};
    case Reason::ManualNotOpened:
        return {MessageIcon::Critical,
                why + QStringLiteral("，请检查%1。").arg(defaultBrowserName())};
    case Reason::ForumNotOpened:
        return {MessageIcon::Critical,
                why + QStringLiteral("，请手动启动浏览器访问") + failure.subject + u'。'};
    default:
        return systemError(failure.subject, why);
    }
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
