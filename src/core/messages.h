// SPDX-License-Identifier: MIT
// What the user is told when something failed: made here, and only here,
// from the reason the operation gave.
#pragma once

#include "platform/dialogs.h"
#include "platform/result.h"

#include <QMetaType>
#include <QSize>
#include <QString>

class Clipboard;
struct ImageSaveResult;
struct Recovery;

/// The text and icon of a message box.
struct UserMessage {
    MessageIcon icon = MessageIcon::Critical;
    QString text;
    bool operator==(const UserMessage &) const = default;
};

/// The box that tells of `failure`.
UserMessage messageFor(const Result &failure);
/// The box that tells of the pictures a save left: the folder and why, the
/// entries that failed, those whose file is gone. Built before the entries
/// are numbered again.
UserMessage messageFor(const ImageSaveResult &saved);
/// The box that tells that the journal could not be written (`why`).
UserMessage journalMessage(const Result &why);
/// The status line after a start that took back what an ended run left.
QString recoveryStatus(const Recovery &recovery);
/// Asked before the program ends with entries not saved.
QString unsavedQuestion(int texts, int pictures);
/// The status line's tip: how copies are caught ("剪贴板监控：X11"), and
/// the X display watched where it cannot be told to be this session's.
QString watchTip(const Clipboard &clipboard);
/// The tip of the tray icon: the program's name, and under it, while
/// `listening` says so, that nothing copied is being caught, and while
/// `shortcut` says so, that the shortcut does not work.
QString trayTip(const Result &listening, const Result &shortcut = {});
/// The status line's notice when the shortcut that summons the window could
/// not be bound; empty when it was.
QString shortcutNotice(const Result &why);
/// The words for a reason alone ("文件夹不存在").
QString reasonText(Reason reason);
/// The size under an entry's preview: "共 1234 个字符".
QString textSizeText(qsizetype characters);
/// "800 × 600 像素，12.5 KB"; the pixels left out when `size` is not known.
QString pictureSizeText(QSize size, qint64 bytes);
