// SPDX-License-Identifier: MIT
#pragma once

#include "platform/platform.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

class SettingsStore;

/// Number of entries of one kind before the overflow policy applies.
inline constexpr int EntryBound = 100;
/// Text slots that exist from the start (entries 0 to 100).
inline constexpr int InitialTextSlots = 101;

/// The state every part of the program shares, one per run. The program owns
/// it and hands it to what needs it; tests build their own.
class Module1 {
public:
    Module1(Platform platform, SettingsStore &settings, QString programFolder);

    /// The captured texts: slot n holds text entry n. Starts with 101 empty
    /// slots and grows only when automatic saving fails past entry 100.
    QStringList TextPages;
    /// Numbers of the next text and picture entries (16-bit, saturating).
    qint16 TextCount = 0;
    qint16 ImageCount = 0;
    /// Overflow policy read at start: true saves, false overwrites.
    bool AutoSave = false;
    QString TxtPath;
    QString ImgPath;
    QString OthPath;
    /// Set while a failed automatic save has been reported and not yet
    /// followed by a successful one.
    bool TextSaveFailureShown = false;
    bool ImageSaveFailureShown = false;

    Platform platform;
    SettingsStore &settings;
    /// Where data/ lives; see resolveProgramFolder().
    const QString AppPath;

    /// Text of slot i; empty for a slot that does not exist.
    QString textPage(int i) const;
    /// Stores into slot i, growing the table as needed; negative i is ignored.
    void setTextPage(int i, const QString &text);
    /// Empties every slot and gives back the 101 initial ones.
    void clearTextPages();

    /// <program folder>/data/image/temp
    QString tempImageFolder() const;
    /// The temp picture file of a picture entry, by its caption.
    QString tempImagePath(const QString &caption) const;

    /// Start-up step: the four settings, each read on its own, with defaults.
    void ReadSettings();
    /// Creates the default data folders and the temp picture folder when missing.
    void ProvideDataFolders() const;

    /// "系统错误!" followed by the description, critical icon, OK.
    void ShowSystemError(const QString &description);
};

/// "文本00", "文本07", "文本100".
QString TextCaption(int n);
/// "图像00", "图像07", "图像100".
QString ImageCaption(int n);
/// Adds one unless the counter is at 32767.
qint16 Increment(qint16 count);
