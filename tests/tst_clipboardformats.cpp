// SPDX-License-Identifier: MIT
#include "platform/clipboard.h"

#include <QBuffer>
#include <QImage>
#include <QMimeData>
#include <QTest>

using Mime = QList<QPair<QString, QByteArray>>;
Q_DECLARE_METATYPE(Mime)

namespace {

QByteArray pngBytes() {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::green);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

class tst_ClipboardFormats : public QObject {
    Q_OBJECT
private slots:
    void mimeTypesMapToFormatNumbers_data() {
        QTest::addColumn<Mime>("offered");
        QTest::addColumn<QList<int>>("formats");
        using namespace ClipFormat;
        const QByteArray files = "file:///home/u/a.txt\r\nfile:///home/u/b.png\r\n";
        QTest::newRow("plain text") << Mime{{"text/plain", "hi"}} << QList<int>{Text};
        QTest::newRow("text with charset")
            << Mime{{"text/plain;charset=utf-8", "hi"}} << QList<int>{Text};
        QTest::newRow("rich text only") << Mime{{"text/rtf", "{\\rtf1}"}} << QList<int>{RichText};
        QTest::newRow("application/rtf") << Mime{{"application/rtf", "{}"}} << QList<int>{RichText};
        QTest::newRow("text/richtext") << Mime{{"text/richtext", "x"}} << QList<int>{RichText};
        QTest::newRow("png") << Mime{{"image/png", pngBytes()}} << QList<int>{Bitmap};
        QTest::newRow("bmp") << Mime{{"image/bmp", "BM"}} << QList<int>{Bitmap};
        QTest::newRow("wmf") << Mime{{"image/x-wmf", "x"}} << QList<int>{MetafilePicture};
        QTest::newRow("emf") << Mime{{"image/x-emf", "x"}} << QList<int>{EnhancedMetafile};
        QTest::newRow("text and picture")
            << Mime{{"text/plain", "t"}, {"image/png", pngBytes()}} << QList<int>{Text, Bitmap};
        QTest::newRow("file manager copy: no text")
            << Mime{{"text/uri-list", files}, {"text/plain", "/home/u/a.txt\n/home/u/b.png"}}
            << QList<int>{FileList};
        QTest::newRow("gnome copied files")
            << Mime{{"x-special/gnome-copied-files", "copy\nfile:///tmp/a"},
                    {"text/plain", "/tmp/a"}}
            << QList<int>{FileList};
        QTest::newRow("web link is text, not files")
            << Mime{{"text/uri-list", "https://example.org/\r\n"},
                    {"text/plain", "https://example.org/"}}
            << QList<int>{Text};
        QTest::newRow("mixed local and remote urls")
            << Mime{{"text/uri-list", "file:///tmp/a\r\nhttps://example.org/\r\n"}} << QList<int>{};
        QTest::newRow("html only") << Mime{{"text/html", "<b>x</b>"}} << QList<int>{};
        QTest::newRow("nothing") << Mime{} << QList<int>{};
    }
    void mimeTypesMapToFormatNumbers() {
        QFETCH(Mime, offered);
        QFETCH(QList<int>, formats);
        QMimeData data;
        for (const auto &[type, bytes] : offered)
            data.setData(type, bytes);
        const QSet<int> expected(formats.begin(), formats.end());
        QCOMPARE(clipboardFormats(&data), expected);
    }

    void noMimeDataOffersNothing() { QVERIFY(clipboardFormats(nullptr).isEmpty()); }

    void passwordManagerHintMarksSecrets() {
        QMimeData data;
        data.setText(QStringLiteral("hunter2"));
        QVERIFY(!isSecretContent(&data));
        data.setData(QStringLiteral("x-kde-passwordManagerHint"), "secret");
        QVERIFY(isSecretContent(&data));
        QVERIFY(!isSecretContent(nullptr));

        const QString history =
            QStringLiteral("application/x-qt-windows-mime;value=\"CanIncludeInClipboardHistory\"");
        QMimeData windows;
        windows.setText(QStringLiteral("pin"));
        windows.setData(history, QByteArray(4, '\1'));
        QVERIFY(!isSecretContent(&windows));
        windows.setData(history, QByteArray(4, '\0'));
        QVERIFY(isSecretContent(&windows));
        QMimeData excluded;
        excluded.setData(QStringLiteral("application/x-qt-windows-mime;value="
                                        "\"ExcludeClipboardContentFromMonitorProcessing\""),
                         QByteArray());
        QVERIFY(isSecretContent(&excluded));
    }
};

QTEST_MAIN(tst_ClipboardFormats)
#include "tst_clipboardformats.moc"
