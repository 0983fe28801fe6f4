// SPDX-License-Identifier: MIT
#pragma once

#include "platform/result.h"

#include <QFlags>
#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QMimeData;

/// The kinds of content a clipboard offer can hold, as the watcher asks for
/// them.
enum class ClipKind : quint8 {
    Text = 0x01,     ///< plain text in any encoding
    RichText = 0x02, ///< RTF
    Picture = 0x04,  ///< a picture the toolkit can decode
    Metafile = 0x08, ///< a Windows metafile (WMF or EMF)
    Files = 0x10,    ///< a list of local files (a file manager's copy)
};
Q_DECLARE_FLAGS(ClipKinds, ClipKind)
Q_DECLARE_OPERATORS_FOR_FLAGS(ClipKinds)

/// What the clipboard offers at one moment.
struct ClipOffer {
    QStringList mimeTypes;
    ClipKinds kinds;
    /// The owner marked the content as a secret that clipboard history must
    /// not keep (password managers).
    bool secret = false;
    /// Why what was copied could not be had whole (a transfer cut off past
    /// a limit); None when it could.
    Reason refused = Reason::None;
};

/// Reads an offer from its MIME types:
///
/// | MIME type                                          | kind      |
/// |----------------------------------------------------|-----------|
/// | text/plain (any charset), UTF8_STRING, TEXT ...    | Text      |
/// | text/rtf, text/richtext, application/rtf           | RichText  |
/// | any picture Qt can decode (image/png, image/bmp…)  | Picture   |
/// | image/x-wmf, image/x-emf                           | Metafile  |
/// | text/uri-list of local files only,                 | Files     |
/// |   x-special/gnome-copied-files                     |           |
///
/// A file manager's copy also carries the paths as text/plain; when files
/// are offered the text is left out, so copying files gives no text entry.
/// Secrets: KDE's and KeePassXC's x-kde-passwordManagerHint "secret", and
/// the registered formats Windows programs mark their secrets with.
ClipOffer clipOfferOf(const QMimeData *data);
/// The same from the types alone, with the data of those that have any; no
/// QObject is made, so any thread may ask.
using OfferData = std::function<QByteArray(const QString &type)>;
ClipOffer clipOfferOf(const QStringList &types, const OfferData &data);

/// Lets the picture reader decode screenshots of 8K screens with alpha
/// (132 MB), which its default limit refuses; corrupt headers claiming far
/// more are still refused. A step of the program's start.
void allowLargePictures();

/// Whether `mime` names plain text in some encoding.
bool isPlainTextType(const QString &mime);
/// The picture types the toolkit can read, the best first: PNG, the other
/// lossless ones, then the rest.
const QStringList &readablePictureTypes();

/// The system clipboard, as the program uses it. Back ends: the toolkit's
/// clipboard (X11, Windows) and, where that cannot see changes made while
/// the program is in the background, a Wayland data-control client.
class Clipboard : public QObject {
    Q_OBJECT
public:
    explicit Clipboard(QObject *parent = nullptr)
        : QObject(parent) {}
    ~Clipboard() override = default;

    /// What the current content offers.
    virtual ClipOffer offer() const = 0;
    /// The plain text: empty when none is offered, nothing when it is offered
    /// but could not be had (its owner did not answer in time, refused, or
    /// went away). A copy of empty text reads as empty text.
    virtual std::optional<QString> readText() const = 0;
    /// The picture in the best form offered; a null image when none can be read.
    virtual QImage readImage() const = 0;
    virtual void setText(const QString &text) = 0;
    virtual void setImage(const QImage &image) = 0;
    virtual void clear() = 0;
    /// Whether change notices could be set up, and why not.
    virtual Result listening() const { return {}; }
    /// How the changes are seen, in the user's words: "X11", "X11（XWayland）",
    /// "Wayland 数据控制" or "不可用".
    virtual QString name() const = 0;
    /// Which X display is watched, where it cannot be told that it belongs to
    /// this session; empty otherwise.
    virtual QString watchedDisplay() const { return {}; }

signals:
    /// The content changed (another program or this one wrote to it).
    void changed();
    /// Changes were heard, and from now on are not: `why` says why.
    void listeningLost(const Result &why);
};
