// SPDX-License-Identifier: MIT
// What other programs copy, as the running program takes it: one program
// start for the whole group, next to a tray host.
#include "harness.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QUrl>

using namespace e2e;
using namespace Qt::StringLiterals;

class tst_E2eCapture : public QObject {
    Q_OBJECT

    Desktop desktop;
    Copier copier;
    std::unique_ptr<Orlo> orlo;

    /// Copies `text` with another program, or offers `data` from this one,
    /// and waits until the program has handled the change; its captions then.
    QStringList copy(const QString &text, QMimeData *data = nullptr) {
        const int before = orlo->changes();
        if (data)
            QGuiApplication::clipboard()->setMimeData(data);
        else if (!copier.copyText(text))
            return {u"xclip failed"_s};
        QStringList captions;
        if (QTest::qWaitFor([&] { return orlo->changes() == before + 1; }, 10000)) {
            for (const Entry &entry : orlo->entries())
                captions.append(entry.caption);
        }
        return captions;
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
        QGuiApplication::clipboard()->clear(); // this process must not stay the owner
        orlo.reset();
    }

    void copiedTextBecomesOneEntryAlsoWhenCopiedTwice() {
        const QString text = u"剪贴板 first line\n\tsecond line ✓"_s;
        QCOMPARE(copy(text), QStringList{u"文本00"_s});
        QCOMPARE(orlo->entries().constFirst().text, text);
        QCOMPARE(copy(text), QStringList{u"文本00"_s});
    }

    void textWithAPictureGivesOneOfEachTextFirst() {
        auto *data = new QMimeData;
        data->setText(u"caption of the picture"_s);
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::blue);
        data->setImageData(image);
        QCOMPARE(copy({}, data).mid(1), (QStringList{u"文本01"_s, u"图像00"_s}));
        const QImage stored(orlo->folder() + u"/data/image/temp/图像00.bmp"_s);
        QCOMPARE(stored.size(), QSize(40, 30));
        QCOMPARE(stored.pixelColor(20, 15), QColor(Qt::blue));
    }

    void aFileCopyGivesNone() {
        // A file manager offers the file's path as text as well.
        const QUrl url = QUrl::fromLocalFile(u"/home/user/报告.txt"_s);
        auto *data = new QMimeData;
        data->setUrls({url});
        data->setText(url.toLocalFile());
        QCOMPARE(copy({}, data).size(), 3);
    }

    void nothingIsTakenWhileMonitoringIsOff() {
        QVERIFY(orlo->clickTrayIcon());
        QTRY_VERIFY_WITH_TIMEOUT(orlo->windowViewable(), 10000);
        QVERIFY(orlo->pressKeys(u"ctrl+r"_s));
        QCOMPARE(copy(u"copied while monitoring is off"_s).size(), 3);
        QVERIFY(orlo->pressKeys(u"ctrl+r"_s));
        QCOMPARE(copy(u"copied after monitoring is on again"_s).size(), 4);
    }
};

E2E_MAIN(tst_E2eCapture)
#include "tst_e2e_capture.moc"
