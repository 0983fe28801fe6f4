// SPDX-License-Identifier: MIT
// Start-up and shutdown of the main window, and its tray icon, on fakes.
#include "testrig.h"
#include "ui/frmmain.h"
#include "ui/picturebox.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QSystemTrayIcon>

namespace {

struct Started {
    Started() { form.Form_Load(); }

    /// One text and one picture taken, so that there is something to lose.
    void captureSome() {
        rig.clipboard.offerText(QStringLiteral("秘密"));
        rig.clipboard.offerImage(testPicture(8, 8));
        QCOMPARE(form.lstTxt->count(), 1);
        QCOMPARE(rig.tempPictures(), QStringList{QStringLiteral("图像00.bmp")});
    }
    void leavePicture(const QString &name) {
        QFile file(rig.m.tempImageFolder() + u'/' + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    TestRig rig;
    frmMain form{rig.m};
};

} // namespace

class tst_Startup : public QObject {
    Q_OBJECT

private slots:
    void loadStartsFromNothing() {
        TestRig rig;
        rig.m.TextCount = 7;
        rig.m.ImageCount = 3;
        QVERIFY(QDir(rig.path(QStringLiteral("data"))).removeRecursively());
        frmMain form(rig.m);
        form.Form_Load();

        QCOMPARE(rig.m.TextCount, 0);
        QCOMPARE(rig.m.ImageCount, 0);
        QCOMPARE(form.imgBak->geometry(), QRect(QPoint(tw(-50), tw(-50)), form.imgMain->size()));
        QVERIFY(QFileInfo::exists(rig.m.tempImageFolder()));
        QVERIFY(rig.dialogs.messages.isEmpty());
        QVERIFY(form.menuDetectClpBd->isChecked());

        QSystemTrayIcon *tray = form.trayIcon();
        QVERIFY(tray && tray->isVisible());
        QCOMPARE(tray->toolTip(), QStringLiteral("Orlo粘贴板"));
        QVERIFY(!tray->icon().isNull());
        // This platform has no notification area: the window must be reachable.
        QVERIFY(!form.hasTray());
        QVERIFY(form.isVisible());

        // What was on the clipboard before is not taken; what comes after is.
        QCOMPARE(form.lstTxt->count(), 0);
        rig.clipboard.offerText(QStringLiteral("after start"));
        QCOMPARE(form.lstTxt->count(), 1);
    }

    void aClipboardThatCannotBeWatchedIsReportedOnce() {
        TestRig rig;
        rig.clipboard.m_listenError = QStringLiteral("no change notification");
        frmMain form(rig.m);
        form.Form_Load();
        QCOMPARE(rig.dialogs.messages.size(), 1);
        const FakeDialogs::Shown shown = rig.dialogs.messages.constFirst();
        QCOMPARE(shown.icon, QMessageBox::Critical);
        QCOMPARE(shown.text, QStringLiteral("系统错误!no change notification"));
        QCOMPARE(shown.caption, QStringLiteral("Orlo粘贴板"));
        // Start-up went on to its end.
        QVERIFY(form.trayIcon() && form.trayIcon()->isVisible());
        QVERIFY(form.isVisible());
    }

    void unloadDiscardsEverything() {
        Started s;
        s.captureSome();
        s.leavePicture(QStringLiteral("图像57.bmp")); // left by a run that was killed
        s.form.Form_Unload();

        QVERIFY(s.form.unloaded());
        QCOMPARE(s.form.lstTxt->count(), 0);
        QCOMPARE(s.form.lstImg->count(), 0);
        QCOMPARE(s.rig.m.textPage(0), QString());
        QCOMPARE(s.rig.m.TextCount, 0);
        QCOMPARE(s.rig.m.ImageCount, 0);
        QCOMPARE(s.rig.tempPictures(), QStringList());
        QCOMPARE(s.form.lTip->text(), QStringLiteral("就绪"));
        QVERIFY(!s.form.trayIcon()->isVisible());
        // Not listening any more.
        s.rig.clipboard.offerText(QStringLiteral("too late"));
        QCOMPARE(s.form.lstTxt->count(), 0);
    }

    void everyWayOutUnloadsOnce_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("window closed") << "close";
        QTest::newRow("exit command") << "exit";
        QTest::newRow("application quits") << "quit";
    }
    void everyWayOutUnloadsOnce() {
        QFETCH(QString, way);
        Started s;
        s.captureSome();
        if (way == QStringLiteral("close"))
            QVERIFY(s.form.close());
        else if (way == QStringLiteral("exit"))
            s.form.menuExit->trigger();
        else
            QVERIFY(QMetaObject::invokeMethod(qApp, "aboutToQuit"));
        QVERIFY(s.form.unloaded());
        QCOMPARE(s.rig.tempPictures(), QStringList());
        if (way != QStringLiteral("quit")) // the running application closes it then
            QVERIFY(!s.form.isVisible());

        // Whatever follows (the quit after a close, a close after the exit
        // command) finds the work done and touches nothing.
        s.leavePicture(QStringLiteral("图像00.bmp"));
        s.form.show();
        s.form.close();
        s.form.Form_Unload();
        QVERIFY(QMetaObject::invokeMethod(qApp, "aboutToQuit"));
        QCOMPARE(s.rig.tempPictures(), QStringList{QStringLiteral("图像00.bmp")});
    }

    void onlyALeftClickOnTheIconShowsTheWindow_data() {
        QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");
        QTest::addColumn<bool>("shown");
        QTest::newRow("left click") << QSystemTrayIcon::Trigger << true;
        QTest::newRow("right click") << QSystemTrayIcon::Context << false;
        QTest::newRow("double click") << QSystemTrayIcon::DoubleClick << false;
        QTest::newRow("middle click") << QSystemTrayIcon::MiddleClick << false;
        QTest::newRow("unknown") << QSystemTrayIcon::Unknown << false;
    }
    void onlyALeftClickOnTheIconShowsTheWindow() {
        QFETCH(QSystemTrayIcon::ActivationReason, reason);
        QFETCH(bool, shown);
        Started s;
        s.form.setWindowState(Qt::WindowMinimized);
        s.form.hide();
        emit s.form.trayIcon()->activated(reason);
        QCOMPARE(s.form.isVisible(), shown);
        if (shown)
            QVERIFY(!(s.form.windowState() & Qt::WindowMinimized));
    }
};

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
