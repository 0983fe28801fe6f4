// SPDX-License-Identifier: MIT
#pragma once

#include "platform/result.h"

#include <QString>

class QImage;

/// The folders beneath the program folder: the default data folders
/// data/text, data/image and data/other, and the temp picture folder
/// data/image/temp, where picture entries and the journal live until they
/// are saved.
class DataFolders {
public:
    explicit DataFolders(QString programFolder);

    const QString &programFolder() const { return m_program; }
    /// `sub` beneath the program folder: "/data/text" gives <program>/data/text.
    QString beneath(QStringView sub) const;
    QString temp() const;

    /// Creates the four folders when missing; the temp folder is made the
    /// user's alone. Folders the user typed are never made. A temp folder
    /// that is a link is not the program's and is refused. Tells the folders
    /// that could not be made (one a line), or the temp folder when it could
    /// not be made private.
    Result provide() const;

private:
    QString m_program;
};

/// Writes a picture as BMP into a new file of the temp folder, readable by
/// the user alone, that then takes `path`'s place in one step.
Result writeTempPicture(const QImage &picture, const QString &path);

/// Removes every *.bmp of the temp folder `folder`; what could not go is
/// logged. A folder that is a link is left alone.
void deleteTempPictures(const QString &folder);
