// SPDX-License-Identifier: MIT
// Browsing the picture entries and the two display modes.
#include "testrig.h"
#include "ui/frmmain.h"
#include "ui/picturebox.h"

#include <QListWidget>
#include <QMenu>

class tst_PictureBrowsing : public QObject {
    Q_OBJECT

private slots:
    void displayModesAndTheirTicks_data() {
        // Rows name the items chosen in turn; menu bar and context menu tick apart.
        QTest::addColumn<QString>("ticks"); // ShowSize ShowAll ShowB ShowA
        QTest::newRow("menuShowAll") << "0101";
        QTest::newRow("menuShowAll menuShowSize") << "1010";
        QTest::newRow("menuShowA") << "1001";
        QTest::newRow("menuShowAll menuShowB") << "0110";
    }
    void displayModesAndTheirTicks() {
        QFETCH(QString, ticks);
        TestRig rig;
        frmMain form(rig.m);
        for (const QString &choice : QString::fromLatin1(QTest::currentDataTag()).split(u' ')) {
            QAction *item = form.findChild<QAction *>(choice);
            if (form.menuPopImg->actions().contains(item)) { // opened on the picture shown
                QTest::mousePress(!form.imgBak->isHidden() ? static_cast<QWidget *>(form.imgBak)
                                                           : form.imgMain->clientArea(),
                                  Qt::RightButton);
                QVERIFY(form.menuPopImg->isVisible());
                form.menuPopImg->close();
            }
            item->trigger();
        }
        QString shown;
        for (QAction *item : {form.menuShowSize, form.menuShowAll, form.menuShowB, form.menuShowA})
            shown += item->isChecked() ? u'1' : u'0';
        QCOMPARE(shown, ticks);
        QCOMPARE(!form.imgBak->isHidden(), ticks.endsWith(u'1'));
    }

    void theSelectedEntryShowsItsFileAsItIsNow() {
        TestRig rig;
        frmMain form(rig.m);
        const QString file = rig.m.tempImagePath(QStringLiteral("图像01"));
        QVERIFY(testPicture(30, 20, Qt::blue).save(file, "BMP"));
        form.lstImg->addItems({QStringLiteral("图像00"), QStringLiteral("图像01")});
        form.lstImg->setCurrentRow(1);
        form.lstImg->setCurrentRow(0); // its file is missing: the picture stays
        QCOMPARE(form.imgMain->picture().pixelColor(0, 0), QColor(Qt::blue));
        // A file replaced since it was shown is read again, as is one shown
        // with a transparency its file cannot keep.
        QVERIFY(testPicture(40, 20, Qt::green).save(file, "BMP"));
        form.lstImg->setCurrentRow(1);
        QCOMPARE(form.imgBak->picture().size(), QSize(40, 20));
        form.imgMain->setPicture(testPicture(40, 20).convertToFormat(QImage::Format_ARGB32), file);
        form.lstImg_Click();
        QCOMPARE(form.imgMain->picture().pixelColor(0, 0), QColor(Qt::green));
    }
};

QTEST_MAIN(tst_PictureBrowsing)
#include "tst_picturebrowsing.moc"
