// SPDX-License-Identifier: MIT
// The window behind its tray icon, its menu, a window that grows, a second
// start, and the ways the program ends, on a desktop with a tray host and a
// window manager.
#include "harness.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

using namespace e2e;
using namespace Qt::StringLiterals;

class tst_E2eWindow : public QObject {
    Q_OBJECT

    Desktop desktop;
    Copier copier;
    std::unique_ptr<Orlo> orlo;

    void showByTray() {
        QVERIFY(orlo->showWindow());
        QCOMPARE(orlo->windowState(), u"Normal"_s);
    }
    void hideByMinimising() {
        showByTray();
        QVERIFY(orlo->minimizeWindow());
        // Withdrawn, not waiting iconified on a taskbar.
        QTRY_VERIFY_WITH_TIMEOUT(!orlo->windowViewable() && orlo->windowState().isEmpty(), 10000);
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

    void aTrayClickShowsTheWindowWhereItWasASecondDoesNothing() {
        showByTray();
        QVERIFY(runTool(u"xdotool"_s,
                        {u"windowmove"_s, u"--sync"_s, orlo->window(), u"311"_s, u"207"_s})
                    .ok);
        const QString place = orlo->windowPlace();
        hideByMinimising();
        showByTray();
        QCOMPARE(orlo->windowPlace(), place);
        QVERIFY(orlo->clickTrayIcon());
        // Once a copy made after the click is handled, the click is too.
        QCOMPARE(orlo->take(copier.text(u"after the click"_s)).size(), 1);
        QVERIFY(orlo->windowViewable());
        QCOMPARE(orlo->windowState(), u"Normal"_s);
    }

    void theTrayMenuShowsTheWindowWithItsDialog() {
        // 选项 open, minimised with the window: the icon's menu still works.
        showByTray();
        orlo->command("menuOption");
        QTRY_VERIFY_WITH_TIMEOUT(orlo->windowViewable(u"选项"_s), 10000);
        hideByMinimising();
        QVERIFY(orlo->clickTrayIcon(3));
        QTRY_VERIFY_WITH_TIMEOUT(!orlo->openMenu().isEmpty(), 10000);
        QVERIFY(!orlo->windowViewable()); // the menu, not the window
        // Its first item: 显示主窗口, and the dialog comes too.
        QVERIFY(runTool(u"xdotool"_s, u"key --clearmodifiers Down Return"_s.split(u' ')).ok);
        QTRY_VERIFY_WITH_TIMEOUT(orlo->windowViewable(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(orlo->windowViewable(u"选项"_s), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(orlo->openMenu().isEmpty(), 10000);
        // The dialog minimised alone: a click brings it back.
        QVERIFY(orlo->minimizeWindow(u"选项"_s));
        QTRY_VERIFY_WITH_TIMEOUT(!orlo->windowViewable(u"选项"_s), 10000);
        QVERIFY(orlo->clickTrayIcon());
        QTRY_VERIFY_WITH_TIMEOUT(orlo->windowViewable(u"选项"_s), 10000);
        QVERIFY(orlo->pressKeys(u"Escape"_s, u"选项"_s));
        QTRY_VERIFY_WITH_TIMEOUT(orlo->window(u"选项"_s).isEmpty(), 10000);
    }

    void aSearchFindsTextsAndTheWordsInPictures() {
        showByTray();
        QCOMPARE(orlo->take(copier.text(u"banana split"_s)).size(), 1);
        // A picture with words in it, as a screenshot has them.
        QImage shot(640, 160, QImage::Format_RGB32);
        shot.fill(Qt::white);
        QPainter painter(&shot);
        painter.setFont(QFont(u"WenQuanYi Zen Hei"_s, 32));
        painter.drawText(20, 100, u"Sunflower 图书馆"_s);
        painter.end();
        QVERIFY(shot.save(orlo->folder() + u"/shot.png"_s));
        QCOMPARE(orlo->take(copier.file(orlo->folder() + u"/shot.png"_s, u"image/png"_s)).size(),
                 1);
        QTRY_VERIFY_WITH_TIMEOUT(!orlo->last(u"words"_s).isUndefined(), 60000);
        // A search that leaves the picture out marks none; typed into the
        // field, Enter then finds the picture, though the texts are on show.
        QVERIFY(orlo->pressKeys(u"ctrl+e b a n a n a ctrl+a"_s));
        QTRY_COMPARE_WITH_TIMEOUT(orlo->last(u"current"_s).toString(), QString(), 10000);
        QVERIFY(runTool(u"xdotool"_s, {u"type"_s, u"--delay"_s, u"50"_s, u"图书馆"_s}).ok);
        QVERIFY(orlo->pressKeys(u"Return"_s));
        QTRY_COMPARE_WITH_TIMEOUT(orlo->last(u"current"_s).toString(), u"图像00"_s, 10000);
        // Copied out of the field, the words are a copy of the program's own.
        QCOMPARE(orlo->take([&] { return orlo->pressKeys(u"ctrl+a ctrl+c"_s); }).value(0).text,
                 u"图书馆"_s);
    }

    void aSecondStartBringsUpTheFirstAndEnds() {
        // With its dialog open.
        const QString dialog = u"文本管理界面设置"_s;
        showByTray();
        orlo->command("menuSkin");
        QTRY_VERIFY_WITH_TIMEOUT(orlo->windowViewable(dialog), 10000);
        hideByMinimising();
        QCOMPARE(orlo->startAgain(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(orlo->windowViewable() && orlo->windowViewable(dialog), 10000);
        QCOMPARE(orlo->windowState(), u"Normal"_s);
        QVERIFY(orlo->process().running());
    }

    void endsAskingOrNothingIsLost_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("left"); // temp files: the picture and the journal
        QTest::newRow("exit command, not saved") << u"ctrl+q"_s << 0;
        QTest::newRow("window closed, not saved") << u"alt+F4"_s << 0;
        QTest::newRow("session ends") << u"SIGTERM"_s << 2;
    }
    void endsAskingOrNothingIsLost() {
        QFETCH(QString, how);
        QFETCH(int, left);
        orlo = std::make_unique<Orlo>(); // one program at a time on the clipboard
        QVERIFY(orlo->start());
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(orlo->folder() + u"/p.png"_s));
        QVERIFY(copier.copyFile(orlo->folder() + u"/p.png"_s, u"image/png"_s));
        QTRY_COMPARE_WITH_TIMEOUT(orlo->tempPictures().size(), 1, 10000);
        if (how == u"SIGTERM"_s) {
            orlo->process().terminate();
        } else {
            showByTray();
            QVERIFY(orlo->pressKeys(how));
            // The question takes the keyboard: 不保存退出(&N).
            QTest::qWait(1000);
            QVERIFY(runTool(u"xdotool"_s, {u"key"_s, u"--clearmodifiers"_s, u"alt+n"_s}).ok);
        }
        QVERIFY2(orlo->process().waitForEnd(10000), "the program did not end");
        QCOMPARE(orlo->process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(orlo->process().exitCode(), 0);
        QCOMPARE(QDir(orlo->folder() + u"/data/image/temp"_s).entryList(QDir::Files).size(), left);
    }
};

QTEST_MAIN(tst_E2eWindow)
#include "tst_e2e_window.moc"
