// SPDX-License-Identifier: MIT
// Capture into bare lists and views, without a window.
#pragma once

#include "app/capture.h"
#include "testrig.h"
#include "ui/picturebox.h"
#include "ui/textbox.h"

#include <QListWidget>
#include <QMimeData>

struct CaptureRig : TestRig {
    QListWidget textList, pictureList;
    TextBox textView;
    PictureBox pictureView;
    StretchImage stretched;

    void offer(const QString &mime, const QByteArray &bytes) {
        auto *data = new QMimeData;
        data->setData(mime, bytes);
        clipboard.setMimeData(data);
    }
    void copyText(const QString &text) {
        offer(QStringLiteral("text/plain"), text.toUtf8());
        CaptureText(m, &textList, &textView);
    }
    void copyPicture(const QImage &picture) {
        auto *data = new QMimeData;
        data->setImageData(picture);
        clipboard.setMimeData(data);
        capturePicture();
    }
    void capturePicture() { CaptureImage(m, &pictureList, &pictureView, &stretched); }
};
