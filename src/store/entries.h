// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class Module1;
class QSaveFile;
class QListWidget;
class TextBox;
class PictureBox;
class StretchImage;

/// Empties every text slot, the text list and the text view; the next text is
/// entry 0 again.
void DeleteAllText(Module1 &m, QListWidget *list, TextBox *view);
/// Empties the picture list and both picture views; the next picture is entry 0.
/// The temp picture files stay (the next captures replace them).
void ForgetAllImages(Module1 &m, QListWidget *list, PictureBox *view, StretchImage *stretched);
/// Removes every *.bmp of the temp picture folder; false when one could not go.
bool DeleteTempPictures(const Module1 &m);

/// The description shown after "系统错误!" when a save into `folder` failed.
QString SaveFailureDescription(const QString &folder, const QString &reason);

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

/// Writes out what the file still holds back and commits it; false, with
/// nothing left behind, when any of it failed. QSaveFile::commit() alone lets
/// a failed write of the buffered rest pass (a full disk), which would put
/// a short file in place.
bool CommitWhole(QSaveFile &file);

/// Empty when `folder` is there to take new files; otherwise why not.
QString FolderProblem(const QString &folder);
/// Why creating a file in `folder` failed, once it did.
QString OpenProblem(const QString &folder);
/// <folder>/<stem><extension> when no file has that name, else the first free
/// one of <stem>_2<extension>, <stem>_3<extension>, …; empty when none is.
/// Data files never replace one another.
QString FreeDataFileName(const QString &folder, const QString &stem, QStringView extension);
