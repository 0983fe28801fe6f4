// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>
#include <optional>

class QMimeData;

/// Clipboard format numbers, as the watcher asks for them.
namespace ClipFormat {
constexpr int Text = 1;
constexpr int Bitmap = 2;
constexpr int MetafilePicture = 3;
constexpr int Palette = 9;
constexpr int EnhancedMetafile = 14;
constexpr int FileList = 15;
constexpr int DdeLink = 0xBF00;
constexpr int RichText = 0xBF01;
} // namespace ClipFormat

/// Which format numbers a clipboard content offers, from its MIME types.
///
/// | MIME type                                          | format            |
/// |----------------------------------------------------|-------------------|
/// | text/plain (any charset), UTF8_STRING, TEXT ...    | 1 text            |
/// | text/rtf, text/richtext, application/rtf           | 0xBF01 rich text  |
/// | any picture Qt can decode (image/png, image/bmp…)  | 2 bitmap          |
/// | image/x-wmf                                        | 3 metafile        |
/// | image/x-emf                                        | 14 enh. metafile  |
/// | text/uri-list of local files only,                 | 15 file list      |
/// |   x-special/gnome-copied-files                     |                   |
///
/// A file manager's copy also carries the paths as text/plain; when a file
/// list is offered the text format is left out, so copying files gives no
/// text entry.
QSet<int> clipboardFormats(const QMimeData *data);

/// True when the source marked the content as a secret that clipboard
/// history must not keep: password managers on Linux (KeePassXC, KDE) and
/// the registered formats Windows programs use for the same purpose.
bool isSecretContent(const QMimeData *data);

/// Lets the picture reader decode screenshots of 8K screens with alpha
/// (132 MB), which its default limit refuses; corrupt headers claiming far
/// more are still refused.
void allowLargePictures();

/// The system clipboard, as the program uses it.
class Clipboard : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~Clipboard() override = default;

    /// Whether the current content offers the given format number.
    bool getFormat(int format) const { return formats().contains(format); }
    virtual QSet<int> formats() const = 0;
    virtual bool isSecret() const = 0;
    /// The plain text: empty when none is offered, nothing when it is offered
    /// but could not be had (its owner did not answer in time, refused, or
    /// went away). A copy of empty text reads as empty text.
    virtual std::optional<QString> readText() const = 0;
    /// The plain text, empty when none is offered or it could not be read.
    QString getText() const { return readText().value_or(QString()); }
    /// The picture in the best form offered; a null image when none can be read.
    virtual QImage getImage() const = 0;
    virtual void setText(const QString &text) = 0;
    virtual void setImage(const QImage &image) = 0;
    virtual void clear() = 0;
    /// Whether change notifications could be set up; empty when all is well,
    /// otherwise a description of the failure.
    virtual QString listenError() const { return {}; }

signals:
    /// The content changed (another program or this one wrote to it).
    void changed();
};
