// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>

class QSaveFile;

/// Why a data file could not be written, in the user's words.
namespace SaveReason {
inline constexpr char16_t FolderMissing[] = u"文件夹不存在";
inline constexpr char16_t FolderReadOnly[] = u"文件夹不允许写入";
inline constexpr char16_t CannotCreate[] = u"无法在文件夹中创建文件";
inline constexpr char16_t WriteFailed[] = u"磁盘已满或写入失败";
inline constexpr char16_t NoCodec[] = u"缺少 GBK 编码转换";
inline constexpr char16_t NoPicture[] = u"图像临时文件不存在";
inline constexpr char16_t PictureUnreadable[] = u"图像临时文件无法读取";
} // namespace SaveReason

/// What a text writer tells its caller.
struct SaveResult {
    bool ok = false;
    /// Why not, in the user's words; empty on success.
    QString reason;
    /// The file written.
    QString file;
};

/// The description shown after "系统错误!" when a save into `folder` failed.
QString saveFailureDescription(const QString &folder, const QString &reason);

/// Writes out what the file still holds back and commits it; false, with
/// nothing left behind, when any of it failed. QSaveFile::commit() alone lets
/// a failed write of the buffered rest pass (a full disk), which would put
/// a short file in place.
bool commitWhole(QSaveFile &file);

/// Empty when `folder` is there to take new files; otherwise why not.
QString folderProblem(const QString &folder);
/// Why creating a file in `folder` failed, once it did.
QString openProblem(const QString &folder);
/// <folder>/<stem><extension> when no file has that name, else the first free
/// one of <stem>_2<extension>, <stem>_3<extension>, …; empty when none is.
/// Data files never replace one another.
QString freeDataFileName(const QString &folder, const QString &stem, QStringView extension);
