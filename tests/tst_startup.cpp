// SPDX-License-Identifier: MIT
// Start-up and shutdown of the main window, on fakes.
#include "testrig.h"
#include "ui/frmmain.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QSystemTrayIcon>

using namespace Qt::StringLiterals;

class tst_Startup : public QObject {
    Q_OBJECT

private slots:
    void aClipboardThatCannotBeWatchedIsReportedOnceAndStartUpGoesOn() {
        TestRig rig;
        rig.clipboard.m_listenError = u"no change notification"_s;
        frmMain form(rig.m);
        form.Form_Load();
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.dialogs.messages[0].icon, QMessageBox::Critical);
        QCOMPARE(rig.dialogs.messages[0].text, u"系统错误!no change notification"_s);
        QVERIFY(form.trayIcon()->isVisible() && form.isVisible());
    }

    void everyWayOutDiscardsEverythingOnce_data() {
        QTest::addColumn<QString>("way");
        for (const char *way : {"window closed", "exit command", "application quits"})
            QTest::newRow(way) << QString::fromLatin1(way);
    }
    void everyWayOutDiscardsEverythingOnce() {
        QFETCH(QString, way);
        TestRig rig;
        frmMain form(rig.m);
        form.Form_Load();
        rig.clipboard.offerText(u"秘密"_s);
        rig.clipboard.offerImage(testPicture(8, 8));
        auto leavePicture = [&](const QString &name) {
            return QFile(rig.m.tempImageFolder() + u'/' + name).open(QIODevice::WriteOnly);
        };
        QVERIFY(leavePicture(u"图像57.bmp"_s)); // left by a run that was killed
        if (way == u"window closed"_s)
            QVERIFY(form.close());
        else if (way == u"exit command"_s)
            form.menuExit->trigger();
        else
            QVERIFY(QMetaObject::invokeMethod(qApp, "aboutToQuit"));
        QVERIFY(form.unloaded() && !form.trayIcon()->isVisible());
        rig.clipboard.offerText(u"too late"_s); // no longer listening
        QCOMPARE(form.lstTxt->count() + form.lstImg->count() + rig.m.TextCount, 0);
        QCOMPARE(rig.m.textPage(0), QString());
        QCOMPARE(rig.tempPictures(), QStringList());
        // Whatever follows (the quit after a close...) finds the work done.
        QVERIFY(leavePicture(u"图像00.bmp"_s));
        form.show();
        form.close();
        QVERIFY(QMetaObject::invokeMethod(qApp, "aboutToQuit"));
        QCOMPARE(rig.tempPictures(), QStringList{u"图像00.bmp"_s});
    }
};

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
