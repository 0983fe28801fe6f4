// SPDX-License-Identifier: MIT
// Browsing the picture entries and the two display modes.
#include "ui/pictureframe.h"
#include "ui/pictureview.h"
#include "windowrig.h"

#include <QListView>
#include <QMenu>

using namespace Qt::StringLiterals;

class tst_PictureBrowsing : public QObject {
    Q_OBJECT

private slots:
    void displayModesAndTheirTicks_data() {
        // Rows name the items chosen in turn; menu bar and picture menu tick apart.
        QTest::addColumn<QString>("ticks"); // ShowSize ShowAll ShowB ShowA
        QTest::newRow("menuShowAll") << "0101";
        QTest::newRow("menuShowAll menuShowSize") << "1010";
        QTest::newRow("menuShowA") << "1001";
        QTest::newRow("menuShowAll menuShowB") << "0110";
    }
    void displayModesAndTheirTicks() {
        QFETCH(QString, ticks);
        WindowRig rig;
        const MainMenus &menus = rig.form.menus;
        PictureView *pane = rig.form.fmImg;
        for (const QString &choice : QString::fromLatin1(QTest::currentDataTag()).split(u' ')) {
            QAction *item = rig.form.findChild<QAction *>(choice);
            if (menus.menuPopImg->actions().contains(item)) { // opened on the picture shown
                QTest::mousePress(pane->scaledPicture->isHidden()
                                      ? pane->imgMain->clientArea()
                                      : static_cast<QWidget *>(pane->scaledPicture),
                                  Qt::RightButton);
                QVERIFY(menus.menuPopImg->isVisible());
                menus.menuPopImg->close();
            }
            item->trigger();
        }
        QString shown;
        for (QAction *item :
             {menus.menuShowSize, menus.menuShowAll, menus.popupShowSize, menus.popupShowAll})
            shown += item->isChecked() ? u'1' : u'0';
        QCOMPARE(shown, ticks);
        QCOMPARE(!pane->scaledPicture->isHidden(), ticks.endsWith(u'1'));
    }

    void theSelectedEntryIsReadFromItsFile() {
        WindowRig rig;
        PictureView *pane = rig.form.fmImg;
        rig.form.show();
        rig.form.menus.menuVImg->trigger();
        rig.clipboard.offerImage(testPicture(30, 20, Qt::blue));
        rig.clipboard.offerImage(testPicture(40, 20, Qt::green));
        QFile::remove(rig.pictures().file(0));
        pane->choose(0); // missing: the picture stays
        QCOMPARE(pane->imgMain->picture().pixelColor(0, 0), QColor(Qt::green));
        QVERIFY(testPicture(50, 20, Qt::blue).save(rig.pictures().file(0), "BMP"));
        pane->choose(1);
        pane->choose(0);
        QCOMPARE(pane->imgMain->picture().size(), QSize(50, 20));
    }

    void aCaptureOntoTheShownRowShowsTheNewPicture() {
        WindowRig rig;
        PictureView *pane = rig.form.fmImg;
        rig.form.show();
        rig.form.menus.menuVImg->trigger();
        rig.form.menus.menuShowAll->trigger();
        for (int i = 0; i < 100; ++i)
            rig.clipboard.offerImage(testPicture(8, 8, Qt::gray));
        pane->choose(0);
        rig.clipboard.offerImage(testPicture(8, 8, Qt::yellow)); // replaces entry 0, shown
        QCOMPARE(pane->scaledPicture->picture().pixelColor(0, 0), QColor(Qt::yellow));
        QCOMPARE(pane->lstImg->currentIndex().row(), 0);
    }
};

QTEST_MAIN(tst_PictureBrowsing)
#include "tst_picturebrowsing.moc"
