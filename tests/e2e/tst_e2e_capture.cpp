// SPDX-License-Identifier: MIT
// What other programs copy, as the running program takes it: one program
// start for the whole group, next to a tray host.
#include "harness.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QTest>
#include <QUrl>

using namespace e2e;

namespace {

QStringList captions(const QList<Entry> &entries) {
    QStringList list;
    for (const Entry &entry : entries)
        list.append(entry.caption);
    return list;
}

QImage picture(int width, int height, QColor color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

} // namespace

class tst_E2eCapture : public QObject {
    Q_OBJECT

    Desktop desktop;
    Copier copier;
    std::unique_ptr<Orlo> orlo;

    /// Copies from this test process, several formats at once as office
    /// programs and file managers do, and waits until the program has
    /// handled the change.
    void offerAndWait(QMimeData *data) {
        const int before = orlo->changes();
        QGuiApplication::clipboard()->setMimeData(data);
        QTRY_COMPARE_WITH_TIMEOUT(orlo->changes(), before + 1, 10000);
    }
    void copyTextAndWait(const QString &text) {
        const int before = orlo->changes();
        QVERIFY(copier.copyText(text));
        QTRY_COMPARE_WITH_TIMEOUT(orlo->changes(), before + 1, 10000);
    }

private slots:
    void initTestCase() {
        if (const QString why = unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QVERIFY(desktop.startTrayHost());
        orlo = std::make_unique<Orlo>();
        QVERIFY2(orlo->start(), "the program's icon did not appear in the tray");
    }

    void cleanupTestCase() {
        // The test process must not stay the clipboard's owner.
        QGuiApplication::clipboard()->clear();
        orlo.reset();
    }

    void startsHiddenWithNothingTaken() {
        QVERIFY(!orlo->windowViewable());
        QVERIFY(orlo->entries().isEmpty());
    }

    void copiedTextBecomesTheFirstEntry() {
        const QString text = QStringLiteral("剪贴板 first line\n\tsecond line ✓");
        copyTextAndWait(text);
        QCOMPARE(captions(orlo->entries()), QStringList{QStringLiteral("文本00")});
        QCOMPARE(orlo->entries().constFirst().text, text);
        QCOMPARE(orlo->shownText(), text);
    }

    void theSameTextAgainAddsNothing() {
        copyTextAndWait(QStringLiteral("剪贴板 first line\n\tsecond line ✓"));
        QCOMPARE(orlo->entries().size(), 1);
        copyTextAndWait(QStringLiteral("other"));
        QCOMPARE(captions(orlo->entries()).constLast(), QStringLiteral("文本01"));
    }

    void textWithAPictureGivesOneOfEachTextFirst() {
        const int before = int(orlo->entries().size());
        auto *data = new QMimeData;
        data->setText(QStringLiteral("caption of the picture"));
        data->setImageData(picture(40, 30, Qt::blue));
        offerAndWait(data);
        QCOMPARE(captions(orlo->entries().mid(before)),
                 (QStringList{QStringLiteral("文本02"), QStringLiteral("图像00")}));
        QCOMPARE(orlo->tempPictures(), QStringList{QStringLiteral("图像00.bmp")});
        const QImage stored(orlo->folder() + QStringLiteral("/data/image/temp/图像00.bmp"));
        QCOMPARE(stored.size(), QSize(40, 30));
        QCOMPARE(stored.pixelColor(20, 15), QColor(Qt::blue));
    }

    void aPictureFromAnotherProgram() {
        QTemporaryDir dir;
        const QString png = dir.filePath(QStringLiteral("shot.png"));
        QVERIFY(picture(64, 48, Qt::green).save(png));
        const int before = orlo->changes();
        QVERIFY(copier.copyFile(png, QStringLiteral("image/png")));
        QTRY_COMPARE_WITH_TIMEOUT(orlo->changes(), before + 1, 10000);
        QCOMPARE(captions(orlo->entries()).constLast(), QStringLiteral("图像01"));
        QTRY_COMPARE(orlo->tempPictures().size(), 2);
        QCOMPARE(
            QImageReader(orlo->folder() + QStringLiteral("/data/image/temp/图像01.bmp")).size(),
            QSize(64, 48));
    }

    void copiedFilesGiveNoEntry_data() {
        QTest::addColumn<QStringList>("formats");
        QTest::newRow("file list with its paths as text")
            << QStringList{QStringLiteral("text/uri-list"), QStringLiteral("text/plain")};
        QTest::newRow("file manager copy")
            << QStringList{QStringLiteral("x-special/gnome-copied-files"),
                           QStringLiteral("text/uri-list"), QStringLiteral("text/plain")};
    }
    void copiedFilesGiveNoEntry() {
        QFETCH(QStringList, formats);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("报告.txt"));
        const QUrl url = QUrl::fromLocalFile(path);
        auto *data = new QMimeData;
        for (const QString &format : formats) {
            if (format == QStringLiteral("text/uri-list"))
                data->setUrls({url});
            else if (format == QStringLiteral("text/plain"))
                data->setText(path);
            else
                data->setData(format, "copy\n" + url.toEncoded());
        }
        const int before = int(orlo->entries().size());
        offerAndWait(data);
        QCOMPARE(orlo->entries().size(), before);
    }

    void nothingIsTakenWhileMonitoringIsOff() {
        QVERIFY(orlo->clickTrayIcon());
        QTRY_VERIFY_WITH_TIMEOUT(orlo->windowViewable(), 10000);
        const int before = int(orlo->entries().size());
        QVERIFY(orlo->pressKeys(QStringLiteral("ctrl+r")));
        copyTextAndWait(QStringLiteral("copied while monitoring is off"));
        QCOMPARE(orlo->entries().size(), before);

        QVERIFY(orlo->pressKeys(QStringLiteral("ctrl+r")));
        copyTextAndWait(QStringLiteral("copied after monitoring is on again"));
        QCOMPARE(orlo->entries().size(), before + 1);
        QCOMPARE(orlo->entries().constLast().text,
                 QStringLiteral("copied after monitoring is on again"));
    }
};

E2E_MAIN(tst_E2eCapture)
#include "tst_e2e_capture.moc"
