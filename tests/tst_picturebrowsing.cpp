// SPDX-License-Identifier: MIT
// Browsing the picture entries and the two display modes.
#include "testrig.h"
#include "ui/frmmain.h"
#include "ui/picturebox.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>

namespace {

/// Writes a picture as the temp file of the given entry.
void putTempPicture(TestRig &rig, const QString &caption, const QImage &picture) {
    QVERIFY(picture.save(rig.m.tempImagePath(caption), "BMP"));
}

QColor colourAt(QWidget *widget, QPoint point) {
    return widget->grab().toImage().pixelColor(point);
}

/// The stretched picture's place, as the window is loaded.
void placeStretchedPicture(frmMain &form) {
    form.imgBak->move(tw(-50), tw(-50));
    form.imgBak->resize(form.imgMain->width(), form.imgMain->height());
}

} // namespace

class tst_PictureBrowsing : public QObject {
    Q_OBJECT

private slots:
    void displayModesAndTheirTicks_data() {
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<QString>("ticks"); // ShowSize ShowAll ShowB ShowA
        QTest::addColumn<bool>("stretched");
        QTest::newRow("start") << QStringList{} << "1010" << false;
        QTest::newRow("menu bar: all") << QStringList{"menuShowAll"} << "0101" << true;
        QTest::newRow("menu bar: all, size")
            << QStringList{"menuShowAll", "menuShowSize"} << "1010" << false;
        QTest::newRow("context: all") << QStringList{"menuShowA"} << "1001" << true;
        QTest::newRow("context: all, size")
            << QStringList{"menuShowA", "menuShowB"} << "1010" << false;
        QTest::newRow("menu bar all, context size")
            << QStringList{"menuShowAll", "menuShowB"} << "0110" << false;
        QTest::newRow("same twice") << QStringList{"menuShowAll", "menuShowAll"} << "0101" << true;
    }
    void displayModesAndTheirTicks() {
        QFETCH(QStringList, choices);
        QFETCH(QString, ticks);
        QFETCH(bool, stretched);
        TestRig rig;
        frmMain form(rig.m);
        for (const QString &choice : choices)
            form.findChild<QAction *>(choice)->trigger();
        QString shown;
        for (QAction *item : {form.menuShowSize, form.menuShowAll, form.menuShowB, form.menuShowA})
            shown += item->isChecked() ? u'1' : u'0';
        QCOMPARE(shown, ticks);
        QCOMPARE(!form.imgBak->isHidden(), stretched);
    }

    void pictureListShowsTheSelectedTempFile() {
        TestRig rig;
        frmMain form(rig.m);
        putTempPicture(rig, QStringLiteral("图像00"), testPicture(30, 20, Qt::red));
        putTempPicture(rig, QStringLiteral("图像01"), testPicture(30, 20, Qt::blue));
        form.lstImg->addItems({QStringLiteral("图像00"), QStringLiteral("图像01")});
        form.lstImg->setCurrentRow(1);
        QCOMPARE(form.imgMain->picture().pixelColor(0, 0), QColor(Qt::blue));
        QCOMPARE(form.imgBak->picture().pixelColor(0, 0), QColor(Qt::blue));

        // A temp file gone from disk leaves the picture shown.
        QVERIFY(QFile::remove(rig.m.tempImagePath(QStringLiteral("图像00"))));
        form.lstImg->setCurrentRow(0);
        QCOMPARE(form.imgMain->picture().pixelColor(0, 0), QColor(Qt::blue));

        // A file replaced on disk is read again.
        putTempPicture(rig, QStringLiteral("图像01"), testPicture(40, 20, Qt::green));
        form.lstImg->setCurrentRow(1);
        QCOMPARE(form.imgMain->picture().pixelColor(0, 0), QColor(Qt::green));
        QCOMPARE(form.imgBak->picture().size(), QSize(40, 20));
    }

    void naturalSizeClipsAndShowAllStretches() {
        TestRig rig;
        frmMain form(rig.m);
        placeStretchedPicture(form);
        form.menuVImg_Click();
        form.show();
        QWidget *area = form.imgMain->clientArea();
        QCOMPARE(area->geometry(), form.imgMain->contentsRect());

        // Bigger than the area: its top-left part, from the corner.
        QImage big = testPicture(1000, 1000, Qt::blue);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                big.setPixelColor(x, y, Qt::red);
        form.imgMain->setPicture(big);
        QCOMPARE(colourAt(area, {0, 0}), QColor(Qt::red));
        QCOMPARE(colourAt(area, {area->width() - 1, area->height() - 1}), QColor(Qt::blue));

        // A small picture stretched over the whole area, each side on its own.
        putTempPicture(rig, QStringLiteral("图像00"), testPicture(100, 50, Qt::green));
        form.lstImg->addItem(QStringLiteral("图像00"));
        form.lstImg->setCurrentRow(0);
        QCOMPARE(colourAt(area, {99, 49}), QColor(Qt::green));
        QVERIFY(colourAt(area, {100, 50}) != QColor(Qt::green));
        form.menuShowAll_Click();
        QCOMPARE(form.imgBak->pos(), QPoint(tw(-50), tw(-50)));
        QCOMPARE(form.imgBak->size(), form.imgMain->size());
        QCOMPARE(colourAt(area, {area->width() - 1, area->height() - 1}), QColor(Qt::green));
        QCOMPARE(colourAt(area, {0, 0}), QColor(Qt::green));
    }

    void rightPressOnThePictureOpensTheContextMenu_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("stretched");
        QTest::addColumn<bool>("opens");
        QTest::newRow("right, natural size") << int(Qt::RightButton) << false << true;
        QTest::newRow("right, stretched") << int(Qt::RightButton) << true << true;
        QTest::newRow("left") << int(Qt::LeftButton) << false << false;
        QTest::newRow("middle, stretched") << int(Qt::MiddleButton) << true << false;
    }
    void rightPressOnThePictureOpensTheContextMenu() {
        QFETCH(int, button);
        QFETCH(bool, stretched);
        QFETCH(bool, opens);
        TestRig rig;
        frmMain form(rig.m);
        placeStretchedPicture(form);
        form.menuVImg_Click();
        if (stretched)
            form.menuShowAll_Click();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QWidget *target =
            stretched ? static_cast<QWidget *>(form.imgBak) : form.imgMain->clientArea();
        QTest::mousePress(target, Qt::MouseButton(button), {}, QPoint(40, 40));
        QCOMPARE(form.menuPopImg->isVisible(), opens);
        form.menuPopImg->close();
    }
};

QTEST_MAIN(tst_PictureBrowsing)
#include "tst_picturebrowsing.moc"
