// SPDX-License-Identifier: MIT
// The program in a Wayland session without data-control (a headless weston
// that session.sh starts), with a DISPLAY left over that names no X server:
// it runs on Wayland and says what it cannot catch, and does not end until
// told to.
#include "harness.h"

using namespace e2e;
using namespace Qt::StringLiterals;

class tst_E2eNoDataControl : public QObject {
    Q_OBJECT

private slots:
    void aDisplayWithoutAServerIsNoEnd() {
        if (!wayland())
            QSKIP("needs a Wayland session: run it through wayland/session.sh");
        Orlo orlo;
        orlo.environment.insert(u"DISPLAY"_s, u":77"_s);
        QVERIFY(orlo.process().start(orlo.folder() + u"/orlo-clipboard"_s, {}, orlo.environment));
        // It tells, in a message box, that copies made in the background
        // cannot be seen here, and goes on.
        QVERIFY(!orlo.process().waitForEnd(3000));
        // The end of the session ends it while the box is up.
        orlo.process().terminate();
        QVERIFY(orlo.process().waitForEnd(1000));
    }
};

QTEST_MAIN(tst_E2eNoDataControl)
#include "tst_e2e_nodatacontrol.moc"
