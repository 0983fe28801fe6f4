// SPDX-License-Identifier: MIT
#pragma once

#include <QDebug>
#include <QMetaEnum>
#include <QObject>
#include <QString>

namespace Failure {
Q_NAMESPACE

/// Why an operation failed. The user's words for each are made in one place
/// (core/messages.h); the log shows the name.
enum class Reason : quint8 {
    None,
    // Data files and their folders.
    FolderMissing,
    FolderNotMade,
    FolderNotPrivate,
    FolderReadOnly,
    CannotCreate,
    WriteFailed,
    NotWritable,
    NoCodec,
    PictureMissing,
    PictureUnreadable,
    SettingsUnwritable,
    // Entries and what keeps them.
    TextTooLarge,
    TextsTooLarge,
    PictureTooLarge,
    JournalUnwritable,
    JournalTooLarge,
    JournalUnreadable,
    TempFolderIsLink,
    DataFolderInUse,
    // Listening to the clipboard.
    NoClipboard,
    NoDataControl,
    CompositorEndedAccess,
    ConnectionLost,
    XServerLost,
    // The shortcut that summons the window, and starting at login.
    ShortcutTaken,
    NoShortcutPortal,
    ShortcutRefused,
    AutostartUnwritable,
    // The help commands.
    ManualNotOpened,
    ForumNotOpened,
};
Q_ENUM_NS(Reason)

} // namespace Failure

using Failure::Reason;

/// What an operation that can fail tells its caller: nothing went wrong, or
/// why it did and what it concerned.
struct Result {
    Reason reason = Reason::None;
    /// The folder, file or item the operation concerned, as the user knows it
    /// (on success, what it made).
    QString subject;
    /// The system's own words for the failure, for the log only.
    QString detail;

    bool ok() const { return reason == Reason::None; }
    static Result done(QString made = {}) { return {Reason::None, std::move(made), {}}; }
};

inline QDebug operator<<(QDebug debug, const Result &result) {
    const QDebugStateSaver saver(debug);
    debug.nospace().noquote() << QMetaEnum::fromType<Reason>().valueToKey(int(result.reason));
    if (!result.subject.isEmpty())
        debug << ' ' << result.subject;
    if (!result.detail.isEmpty())
        debug << " (" << result.detail << ')';
    return debug;
}
