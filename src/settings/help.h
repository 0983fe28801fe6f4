// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

/// The product forum.
inline constexpr char16_t ForumAddress[] = u"https://bbs.orlo-clipboard.cn/";

/// The user manual's file name.
inline constexpr char16_t ManualName[] = u"readme.htm";

/// Where the manual is looked for, in this order: the program folder, the
/// executable's folder, the installed data folder.
QStringList manualCandidates(const QString &programFolder, const QString &executableFolder);

/// The first candidate that exists; when none does, the first candidate.
QString findManual(const QString &programFolder, const QString &executableFolder);

/// The About box's text, its lines joined by CR LF.
QString aboutText();
