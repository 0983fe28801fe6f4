// SPDX-License-Identifier: MIT
// The window behind its tray icon, a second start, and the ways the program
// ends, on a desktop with a tray host and a window manager.
#include "harness.h"

#include <QApplication>
#include <QImage>
#include <QTest>

using namespace e2e;

class tst_E2eWindow : public QObject {
    Q_OBJECT

    Desktop desktop;
    Copier copier;
    std::unique_ptr<Orlo> orlo;
    int copies = 0;

    /// Copies a text and waits until the program has handled it: every input
    /// sent before has been handled too.
    void barrier(Orlo &program) {
        const int before = program.changes();
        QVERIFY(copier.copyText(QStringLiteral("barrier %1").arg(++copies)));
        QTRY_COMPARE_WITH_TIMEOUT(program.changes(), before + 1, 10000);
    }

    void showByTray(Orlo &program) {
        QVERIFY(program.clickTrayIcon());
        QTRY_VERIFY_WITH_TIMEOUT(program.windowViewable(), 10000);
        QCOMPARE(program.windowState(), QStringLiteral("Normal"));
    }

    void hideByMinimizing(Orlo &program) {
        QVERIFY(program.minimizeWindow());
        // Hidden (withdrawn), not waiting iconified on a taskbar.
        QTRY_VERIFY_WITH_TIMEOUT(!program.windowViewable() && program.windowState().isEmpty(),
                                 10000);
    }

private slots:
    void initTestCase() {
        if (const QString why = unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QVERIFY(desktop.startTrayHost());
        QVERIFY(desktop.startWindowManager());
        orlo = std::make_unique<Orlo>();
        QVERIFY2(orlo->start(), "the program's icon did not appear in the tray");
    }

    void cleanupTestCase() { orlo.reset(); }

    void startsHiddenBehindItsIcon() {
        QVERIFY(!orlo->trayIcon().isEmpty());
        QVERIFY(!orlo->windowViewable());
    }

    void aTrayClickShowsTheWindowASecondDoesNothing() {
        showByTray(*orlo);
        const QString geometry = orlo->windowGeometry();
        QVERIFY(orlo->clickTrayIcon());
        barrier(*orlo);
        QVERIFY(orlo->windowViewable());
        QCOMPARE(orlo->windowState(), QStringLiteral("Normal"));
        QCOMPARE(orlo->windowGeometry(), geometry);
    }

    void minimisingHidesTheWindowAndTheIconBringsItBack() {
        const QString geometry = orlo->windowGeometry();
        hideByMinimizing(*orlo);
        QVERIFY(!orlo->trayIcon().isEmpty());
        // Capture goes on while hidden.
        const int before = int(orlo->entries().size());
        barrier(*orlo);
        QCOMPARE(orlo->entries().size(), before + 1);
        showByTray(*orlo);
        QCOMPARE(orlo->windowGeometry(), geometry);
    }

    void aSecondStartBringsUpTheFirstAndEnds() {
        hideByMinimizing(*orlo);
        QCOMPARE(orlo->startAgain(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(orlo->windowViewable(), 10000);
        QCOMPARE(orlo->windowState(), QStringLiteral("Normal"));
        QVERIFY(orlo->process().running());
        // The window is up already: a second start changes nothing there.
        QCOMPARE(orlo->startAgain(), 0);
        QVERIFY(orlo->windowViewable());
    }

    void endsTheOrderlyWay_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("exit command") << "ctrl+q";
        QTest::newRow("window closed") << "alt+F4";
        QTest::newRow("session ends, window hidden") << "SIGTERM";
    }
    void endsTheOrderlyWay() {
        QFETCH(QString, how);
        orlo.reset(); // one program at a time on the clipboard
        Orlo program;
        QVERIFY(program.start());
        QTemporaryDir dir;
        const QString png = dir.filePath(QStringLiteral("p.png"));
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(png));
        QVERIFY(copier.copyFile(png, QStringLiteral("image/png")));
        QTRY_COMPARE_WITH_TIMEOUT(program.tempPictures().size(), 1, 10000);

        if (how == QStringLiteral("SIGTERM")) {
            program.process().terminate();
        } else {
            showByTray(program);
            QVERIFY(program.pressKeys(how));
        }
        QVERIFY2(program.process().waitForEnd(10000), "the program did not end");
        QCOMPARE(program.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.process().exitCode(), 0);
        QCOMPARE(program.tempPictures(), QStringList());
    }
};

E2E_MAIN(tst_E2eWindow)
#include "tst_e2e_window.moc"
