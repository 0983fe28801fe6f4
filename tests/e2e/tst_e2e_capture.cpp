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

namespace {

QStringList captions(const QList<Entry> &entries) {
    QStringList shown;
    for (const Entry &entry : entries)
        shown << entry.caption;
    return shown;
}

/// Offers `data` from this process, as another program would.
std::function<bool()> offered(QMimeData *data) {
    return [data] {
        QGuiApplication::clipboard()->setMimeData(data);
        return true;
    };
}

} // namespace

class tst_E2eCapture : public QObject {
    Q_OBJECT

    Desktop desktop;
    Copier copier;
    std::unique_ptr<Orlo> orlo;

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
        const QString text = u"剪贴板 first line\n\tsecond line ✓ %1"_s.arg(orlo->changes());
        const QList<Entry> taken = orlo->take(copier.text(text));
        QCOMPARE(taken.size(), 1);
        QVERIFY(taken[0].caption.startsWith(u"文本"_s));
        QCOMPARE(taken[0].text, text);
        QCOMPARE(captions(orlo->take(copier.text(text))), QStringList());
    }

    void textWithAPictureGivesOneOfEachTextFirst() {
        auto *data = new QMimeData;
        data->setText(u"caption of the picture %1"_s.arg(orlo->changes()));
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::blue);
        data->setImageData(image);
        const QList<Entry> taken = orlo->take(offered(data));
        QCOMPARE(taken.size(), 2);
        QVERIFY(taken[0].caption.startsWith(u"文本"_s));
        const QImage stored(orlo->folder() + u"/data/image/temp/"_s + taken[1].caption + u".bmp"_s);
        QCOMPARE(stored.size(), QSize(40, 30));
        QCOMPARE(stored.pixelColor(20, 15), QColor(Qt::blue));
    }

    void aFileCopyGivesNone() {
        // A file manager offers the file's path as text as well.
        const QUrl url = QUrl::fromLocalFile(u"/home/user/报告.txt"_s);
        auto *data = new QMimeData;
        data->setUrls({url});
        data->setText(url.toLocalFile());
        QCOMPARE(captions(orlo->take(offered(data))), QStringList());
    }

    void nothingIsTakenWhileMonitoringIsOff() {
        QVERIFY(orlo->showWindow());
        QVERIFY(orlo->pressKeys(u"ctrl+r"_s));
        QCOMPARE(captions(orlo->take(copier.text(u"copied while monitoring is off"_s))),
                 QStringList());
        QVERIFY(orlo->pressKeys(u"ctrl+r"_s));
        QCOMPARE(orlo->take(copier.text(u"copied after monitoring is on again"_s)).size(), 1);
    }
};

QTEST_MAIN(tst_E2eCapture)
#include "tst_e2e_capture.moc"
