// SPDX-License-Identifier: MIT
// The program in a Wayland session without data-control (a headless weston
// that session.sh starts), with a DISPLAY that is not this session's: it runs
// on Wayland, says what it cannot catch, and does not end until told to.
#include "harness.h"

using namespace e2e;
using namespace Qt::StringLiterals;

class tst_E2eNoDataControl : public QObject {
    Q_OBJECT

private slots:
    void aDisplayOfNoXWaylandIsNotWatched_data() {
        QTest::addColumn<QString>("display");
        QTest::newRow("left over, no server") << u":77"_s;
        // An X server that answers, of another session: watching it would
        // catch nothing copied here.
        QTest::newRow("another session's") << qEnvironmentVariable("ORLO_OTHER_DISPLAY");
    }
    void aDisplayOfNoXWaylandIsNotWatched() {
        QFETCH(QString, display);
        if (!wayland())
            QSKIP("needs a Wayland session: run it through wayland/session.sh");
        if (display.isEmpty())
            QSKIP("needs the X server of ./test");
        Orlo orlo;
        orlo.environment.insert(u"DISPLAY"_s, display);
        const QString program = orlo.folder() + u"/orlo-clipboard"_s;
        QVERIFY(orlo.process().start(u"sh"_s, {u"-c"_s, u"exec \"$0\" 2>&1"_s, program},
                                     orlo.environment));
        // It stays on Wayland, tells in a message box that copies made in the
        // background cannot be seen here, and goes on.
        QTRY_VERIFY_WITH_TIMEOUT(orlo.process().said("neither data-control nor XWayland"), 10'000);
        QVERIFY(!orlo.process().waitForEnd(3000));
        // The end of the session ends it while the box is up.
        orlo.process().terminate();
        QVERIFY(orlo.process().waitForEnd(1000));
    }
};

QTEST_MAIN(tst_E2eNoDataControl)
#include "tst_e2e_nodatacontrol.moc"
