// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class Module1;
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
