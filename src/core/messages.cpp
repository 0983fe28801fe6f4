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
    switch (reason) {
    case Reason::None:
        return {};
    case Reason::FolderMissing:
        return QStringLiteral("文件夹不存在");
    case Reason::FolderReadOnly:
        return QStringLiteral("文件夹不允许写入");
    case Reason::CannotCreate:
        return QStringLiteral("无法在文件夹中创建文件");
    case Reason::WriteFailed:
        return QStringLiteral("磁盘已满或写入失败");
    case Reason::NoCodec:
        return QStringLiteral("缺少 GBK 编码转换");
    case Reason::PictureMissing:
        return QStringLiteral("图像临时文件不存在");
    case Reason::PictureUnreadable:
        return QStringLiteral("图像临时文件无法读取");
    case Reason::SettingsUnwritable:
        return QStringLiteral("设置无法保存");
    case Reason::NoClipboard:
        return QStringLiteral("无法访问剪贴板");
    case Reason::NoDataControl:
        return QStringLiteral(
            "这个Wayland桌面既不提供数据控制（data-control）协议，也没有XWayland，"
            "程序在后台时看不到复制的内容。");
    case Reason::CompositorEndedAccess:
        return QStringLiteral("Wayland桌面结束了程序对剪贴板的访问");
    case Reason::ConnectionLost:
        return QStringLiteral("与Wayland桌面的连接已断开");
    case Reason::ManualNotOpened:
    case Reason::ForumNotOpened:
        return QStringLiteral("%1启动过程中发生未知错误").arg(defaultBrowserName());
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
