// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QString>

class Module1;
class QListWidget;
class TextBox;
class PictureBox;
class StretchImage;

/// Takes the clipboard's text as a new text entry: stored, shown, listed and
/// selected, unless it equals the newest entry. Text that was offered but
/// could not be read adds nothing. Applies the overflow policy when the
/// hundredth entry has been taken.
void CaptureText(Module1 &m, QListWidget *list, TextBox *view);

/// Takes the clipboard's picture as a new picture entry, written to its temp
/// picture file, shown, listed and selected. A picture that cannot be read
/// adds nothing. `stretched` is only emptied by an automatic save.
void CaptureImage(Module1 &m, QListWidget *list, PictureBox *view, StretchImage *stretched);

/// Writes a picture as BMP, replacing the file in one step.
bool WriteTempPicture(const QImage &picture, const QString &path);
