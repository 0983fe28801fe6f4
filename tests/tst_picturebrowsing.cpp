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
    void theSelectedEntryIsReadFromItsFile() {
        WindowRig rig;
        auto *pane = rig.find<PictureView>("fmImg");
        auto *picture = rig.find<PictureFrame>("imgMain");
        rig.form.show();
        rig.trigger("menuVImg");
        rig.clipboard.offerImage(testPicture(30, 20, Qt::blue));
        rig.clipboard.offerImage(testPicture(40, 20, Qt::green));
        QFile::remove(rig.pictures().file(0));
        pane->choose(0); // missing: the picture stays
        QCOMPARE(picture->picture().pixelColor(0, 0), QColor(Qt::green));
        QVERIFY(testPicture(50, 20, Qt::blue).save(rig.pictures().file(0), "BMP"));
        pane->choose(1);
        pane->choose(0);
        QCOMPARE(picture->picture().size(), QSize(50, 20));
    }

    void aCaptureOntoTheShownRowShowsTheNewPicture() {
        WindowRig rig;
        auto *pane = rig.find<PictureView>("fmImg");
        auto *scaled = rig.find<ScaledPicture>("imgBak");
        rig.form.show();
        rig.trigger("menuVImg");
        // A right press on the picture opens its menu; a mode chosen in the
        // menu bar is ticked there too.
        QTest::mousePress(rig.find("clientArea"), Qt::RightButton);
        QVERIFY(rig.find<QMenu>("menuPopImg")->isVisible());
        rig.find<QMenu>("menuPopImg")->close();
        rig.trigger("menuShowAll");
        QVERIFY(rig.find<QAction>("menuShowA")->isChecked() && !scaled->isHidden());
        for (int i = 0; i < 100; ++i)
            rig.clipboard.offerImage(testPicture(8, 8, Qt::gray));
        pane->choose(0);
        rig.clipboard.offerImage(testPicture(8, 8, Qt::yellow)); // replaces entry 0, shown
        QCOMPARE(scaled->picture().pixelColor(0, 0), QColor(Qt::yellow));
        QCOMPARE(rig.find<QListView>("lstImg")->currentIndex().row(), 0);
    }
};

QTEST_MAIN(tst_PictureBrowsing)
#include "tst_picturebrowsing.moc"
