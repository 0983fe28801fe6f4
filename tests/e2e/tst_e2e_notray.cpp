// SPDX-License-Identifier: MIT
// A desktop without a notification area: the window must stay reachable.
#include "harness.h"

#include <QApplication>
#include <QTest>

using namespace e2e;

class tst_E2eNoTray : public QObject {
    Q_OBJECT

    Desktop desktop;
    Copier copier;
    std::unique_ptr<Orlo> orlo;

private slots:
    void initTestCase() {
        if (const QString why = unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QVERIFY(desktop.startWindowManager());
        orlo = std::make_unique<Orlo>();
        QVERIFY2(orlo->start(false), "the window did not come up at start");
    }

    void cleanupTestCase() { orlo.reset(); }

    void theWindowIsShownAtStart() {
        QCOMPARE(orlo->windowState(), QStringLiteral("Normal"));
        QVERIFY(orlo->trayIcon().isEmpty());
    }

    void capturesAsUsual() {
        QVERIFY(copier.copyText(QStringLiteral("没有托盘")));
        QTRY_COMPARE_WITH_TIMEOUT(orlo->entries().size(), 1, 10000);
        QCOMPARE(orlo->entries().constFirst().caption, QStringLiteral("文本00"));
    }

    void minimisingGoesToTheTaskbar() {
        QVERIFY(orlo->minimizeWindow());
        QTRY_COMPARE_WITH_TIMEOUT(orlo->windowState(), QStringLiteral("Iconic"), 10000);
    }

    void aSecondStartBringsTheMinimisedWindowBack() {
        QCOMPARE(orlo->startAgain(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(orlo->windowState(), QStringLiteral("Normal"), 10000);
        QVERIFY(orlo->windowViewable());
    }
};

E2E_MAIN(tst_E2eNoTray)
#include "tst_e2e_notray.moc"
