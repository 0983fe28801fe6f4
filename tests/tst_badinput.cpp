// SPDX-License-Identifier: MIT
// Bad pictures and long runs of captures: nothing crashes, nothing wrong is
// kept, and nothing piles up.
#include "app/capture.h"
#include "testrig.h"
#include "ui/picturebox.h"
#include "ui/textbox.h"

#include <QBuffer>
#include <QImageReader>
#include <QListWidget>
#include <QMimeData>
#include <QtEndian>

namespace {

QByteArray encoded(const QImage &image, const char *format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

quint32 crc32(const char *data, int size) {
    quint32 crc = 0xFFFFFFFFu;
    for (int i = 0; i < size; ++i) {
        crc ^= quint8(data[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

/// A valid PNG whose header claims another size, with a correct checksum so
/// that only the size itself can give it away.
QByteArray pngClaiming(quint32 width, quint32 height) {
    QByteArray png = encoded(testPicture(8, 8), "PNG");
    // IHDR starts at byte 8: length (4), type (4), width (4), height (4), 5 more, CRC.
    qToBigEndian(width, png.data() + 16);
    qToBigEndian(height, png.data() + 20);
    qToBigEndian(crc32(png.constData() + 12, 17), png.data() + 29);
    return png;
}

int openFileDescriptors() {
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

double residentMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

} // namespace

class tst_BadInput : public QObject {
    Q_OBJECT

    struct Views {
        QListWidget textList;
        TextBox textView;
        QListWidget pictureList;
        PictureBox pictureView;
        StretchImage stretched;
    };

    static void offerPng(TestRig &rig, Views &v, const QByteArray &bytes) {
        auto *data = new QMimeData;
        data->setData(QStringLiteral("image/png"), bytes);
        rig.clipboard.setMimeData(data);
        CaptureImage(rig.m, &v.pictureList, &v.pictureView, &v.stretched);
    }

private slots:
    void brokenPicturesAddNothing_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray png = encoded(testPicture(64, 64), "PNG");
        QTest::newRow("truncated") << png.left(png.size() / 2);
        QTest::newRow("header only") << png.left(33);
        QTest::newRow("claims 100000 x 100000") << pngClaiming(100000, 100000);
        QTest::newRow("zero size") << pngClaiming(0, 0);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not a picture") << QByteArray("hello, world");
    }
    void brokenPicturesAddNothing() {
        QFETCH(QByteArray, bytes);
        TestRig rig;
        Views v;
        const double before = residentMb();
        offerPng(rig, v, bytes);
        QCOMPARE(v.pictureList.count(), 0);
        QCOMPARE(rig.m.ImageCount, qint16(0));
        QVERIFY(rig.tempPictures().isEmpty());
        QVERIFY2(residentMb() - before < 200, "a lying header made the reader allocate");
        // The next good picture is taken as usual.
        offerPng(rig, v, encoded(testPicture(3, 2), "PNG"));
        QCOMPARE(rig.tempPictures(), QStringList{QStringLiteral("图像00.bmp")});
    }

    void screenshotOfAn8kScreenWithAlphaIsTaken() {
        TestRig rig;
        Views v;
        QImage screen(7680, 4320, QImage::Format_ARGB32);
        screen.fill(QColor(10, 20, 30, 200));
        auto *data = new QMimeData;
        data->setImageData(screen);
        rig.clipboard.setMimeData(data);
        screen = QImage();
        CaptureImage(rig.m, &v.pictureList, &v.pictureView, &v.stretched);
        QCOMPARE(v.pictureList.count(), 1);
        QImageReader reader(rig.m.tempImagePath(QStringLiteral("图像00")));
        QCOMPARE(reader.size(), QSize(7680, 4320));
    }

    void thousandCapturesKeepAtMostAHundredOfEach() {
        TestRig rig;
        Views v;
        const int descriptors = openFileDescriptors();
        double peak = 0;
        double settled = 0;
        for (int i = 0; i < 1000; ++i) {
            if (i % 2) {
                auto *data = new QMimeData;
                data->setImageData(testPicture(64 + i % 7, 48, QColor::fromHsv(i % 360, 200, 200)));
                rig.clipboard.setMimeData(data);
                CaptureImage(rig.m, &v.pictureList, &v.pictureView, &v.stretched);
            } else {
                auto *data = new QMimeData;
                data->setText(QStringLiteral("capture %1 ").arg(i).repeated(50));
                rig.clipboard.setMimeData(data);
                CaptureText(rig.m, &v.textList, &v.textView);
            }
            QVERIFY(v.textList.count() <= 100);
            QVERIFY(v.pictureList.count() <= 100);
            if (i % 100 == 99) {
                QVERIFY(rig.tempPictures().size() <= 100);
                QCOMPARE(openFileDescriptors(), descriptors);
                const double now = residentMb();
                if (i == 299)
                    settled = now;
                peak = std::max(peak, now);
            }
        }
        QCOMPARE(rig.m.TextPages.size(), 101);
        QCOMPARE(rig.tempPictures().size(), 100);
        QVERIFY2(peak - settled < 20, qPrintable(QStringLiteral("memory grew by %1 MB over 700 "
                                                                "captures")
                                                     .arg(peak - settled)));
    }
};

QTEST_MAIN(tst_BadInput)
#include "tst_badinput.moc"
