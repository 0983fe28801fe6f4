// SPDX-License-Identifier: MIT
// A desktop without a notification area: the window must stay reachable.
#include "harness.h"

#include <QApplication>

using namespace e2e;
using namespace Qt::StringLiterals;

class tst_E2eNoTray : public QObject {
    Q_OBJECT

private slots:
    void theWindowIsShownAtStartAndOnlyEverMinimised() {
        if (const QString why = unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        Desktop desktop;
        QVERIFY(desktop.startWindowManager());
        Orlo orlo;
        QVERIFY2(orlo.start(false), "the window did not come up at start");
        QCOMPARE(orlo.windowState(), u"Normal"_s);
        QVERIFY(orlo.trayIcon().isEmpty());
        // Hidden it could not be reached: it waits on the taskbar instead.
        QVERIFY(orlo.minimizeWindow());
        QTRY_COMPARE_WITH_TIMEOUT(orlo.windowState(), u"Iconic"_s, 10000);
        QCOMPARE(orlo.startAgain(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(orlo.windowState(), u"Normal"_s, 10000);
    }
};

QTEST_MAIN(tst_E2eNoTray)
#include "tst_e2e_notray.moc"
