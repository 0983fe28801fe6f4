// SPDX-License-Identifier: MIT
// The window without a tray, then behind its tray icon, its menu, the
// shortcut, a second start, and the ways the program ends, on a desktop with
// a window manager.
#include "core/textfile.h"
#include "harness.h"

#include <QDir>
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
        QVERIFY(desktop.startWindowManager());
        orlo = std::make_unique<Orlo>();
        QVERIFY2(orlo->start(false), "the window did not come up at start");
    }

    void withoutATrayTheWindowIsShownAndOnlyEverMinimised() {
        QCOMPARE(orlo->windowState(), u"Normal"_s);
        QVERIFY(orlo->trayIcon().isEmpty());
        // Hidden it could not be reached: it waits on the taskbar instead.
        QVERIFY(orlo->minimizeWindow());
        QTRY_COMPARE_WITH_TIMEOUT(orlo->windowState(), u"Iconic"_s, 10000);
        QCOMPARE(orlo->startAgain(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(orlo->windowState(), u"Normal"_s, 10000);
        // The other tests: with a tray.
        orlo = std::make_unique<Orlo>(); // one program at a time on the clipboard
        QVERIFY(desktop.startTrayHost());
        QVERIFY2(orlo->start(), "the program's icon did not appear in the tray");
    }

    void aTrayClickShowsTheWindowWhereItWasASecondDoesNothing() {
        showByTray();
        QVERIFY(run(u"xdotool windowmove --sync %1 311 207"_s.arg(orlo->window())).ok);
        const QString geometry = tool(u"xdotool getwindowgeometry --shell "_s + orlo->window());
        hideByMinimising();
        showByTray();
        QCOMPARE(tool(u"xdotool getwindowgeometry --shell "_s + orlo->window()), geometry);
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
        QVERIFY(run(u"xdotool key --clearmodifiers Down Return"_s).ok);
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

    void theShortcutSummonsTheWindowFromAnotherProgram() {
        const QStringList words{u"kiwi"_s, u"mango"_s};
        QStringList captions;
        for (const QString &word : words)
            captions << orlo->take(copier.text(word)).value(0).caption;
        Started other;
        QVERIFY(other.start(u"xmessage"_s, {u"-name"_s, u"orlo-other"_s, u"another program"_s}));
        const QString otherWindow = tool(u"xdotool search --sync --classname ^orlo-other$"_s);
        const auto press = [&](const QString &keys) {
            hideByMinimising();
            QVERIFY(run(u"xdotool windowactivate --sync "_s + otherWindow).ok);
            QVERIFY(run(u"xdotool key --clearmodifiers "_s + keys).ok);
        };
        // Ctrl+Alt+V, then the one 选项 changes it to.
        const QStringList shortcuts{u"ctrl+alt+v"_s, u"ctrl+shift+F9"_s};
        for (int round = 0; round < 2; ++round) {
            press(shortcuts[round]);
            QTRY_VERIFY_WITH_TIMEOUT(orlo->windowViewable(), 10000);
            QTRY_COMPARE_WITH_TIMEOUT(tool(u"xdotool getwindowfocus"_s), orlo->window(), 10000);
            // Typed at once, the words go to the search field and choose the
            // entry (typed after Ctrl+E, they replace what was there); Enter
            // puts it on the clipboard and the window away, Esc only puts the
            // window away.
            QVERIFY(run(u"xdotool type zz"_s).ok && orlo->pressKeys(u"ctrl+e"_s));
            QVERIFY(run(u"xdotool type --delay 50 "_s + words[round]).ok);
            QTRY_COMPARE_WITH_TIMEOUT(orlo->last(u"current"_s).toString(), captions[round], 10000);
            QVERIFY(run(u"xdotool key "_s + (round == 0 ? u"Return"_s : u"Escape"_s)).ok);
            QTRY_VERIFY_WITH_TIMEOUT(!orlo->windowViewable(), 10000);
            QCOMPARE(tool(u"xclip -o -selection clipboard"_s), words[0]);
            if (round == 1)
                break;
            showByTray();
            orlo->command("menuOption");
            QTRY_VERIFY_WITH_TIMEOUT(orlo->windowViewable(u"选项"_s), 10000);
            // From 确定: 取消, the policy, then the shortcut.
            QVERIFY(run(u"xdotool key Tab Tab Tab "_s + shortcuts[1]).ok);
            orlo->command("accept");
            QTRY_VERIFY_WITH_TIMEOUT(
                runTool(u"cat"_s, {orlo->folder() + u"/.config/Orlo粘贴板.conf"_s})
                    .output.contains(u"ShowShortcut=Ctrl+Shift+F9"_s),
                10000);
        }
        // The old one is let go: it reaches the program that has the focus.
        press(shortcuts[0]);
        QTest::qWait(1000);
        QVERIFY(!orlo->windowViewable());
    }

    void aSecondStartBringsUpTheFirstAndEnds() {
        // Also with --show, as a desktop's own shortcut runs it.
        for (const QStringList &arguments : {QStringList(), QStringList{u"--show"_s}}) {
            hideByMinimising();
            QCOMPARE(orlo->startAgain(arguments), 0);
            QTRY_VERIFY_WITH_TIMEOUT(orlo->windowViewable(), 10000);
            QCOMPARE(orlo->windowState(), u"Normal"_s);
            QVERIFY(orlo->process().running());
        }
    }

    void earlierRunsSavedPagesAndPicturesAreFound() {
        // 2,000 pages of 100 entries and a picture saved by an earlier run, a
        // minute apart: a word in one entry 1,000 pages back, one in the picture.
        orlo = std::make_unique<Orlo>(); // one program at a time on the clipboard
        const QString data = orlo->folder() + u"/data"_s;
        QVERIFY(QDir().mkpath(data + u"/text"_s) && QDir().mkpath(data + u"/image"_s));
        const QDateTime first(QDate(2026, 1, 1), QTime(8, 0));
        for (int page = 0; page < 2000; ++page) {
            QStringList entries;
            for (int entry = 0; entry < 100; ++entry)
                entries
                    << u"第%1页 entry %2 剪贴板 clipboard history %3"_s.arg(page).arg(entry).arg(
                           page == 999 && entry == 41 ? u"the quokka sleeps\r\n<here> & 那里"_s
                                                      : QString(40, u'x'));
            QVERIFY(saveTextFile(entries, 0, 99, data + u"/text"_s, first.addSecs(60 * page)).ok());
        }
        QImage shot(640, 160, QImage::Format_RGB32);
        shot.fill(Qt::white);
        QPainter painter(&shot);
        painter.setFont(QFont(u"WenQuanYi Zen Hei"_s, 32));
        painter.drawText(20, 100, u"Marmalade"_s);
        painter.end();
        QVERIFY(shot.save(data + u"/image/202602030405063.bmp"_s));
        QVERIFY(orlo->start());
        QTRY_VERIFY_WITH_TIMEOUT(orlo->last(u"indexing"_s) == QJsonValue(false), 120000);
        showByTray();
        // Typed once: the picture's words are read after indexing, and an
        // open search is found again as they come.
        const auto found = [this](const QString &word, const QString &caption) {
            if (!orlo->pressKeys(u"ctrl+e ctrl+a BackSpace"_s) ||
                !runTool(u"xdotool"_s, {u"type"_s, u"--delay"_s, u"50"_s, word}).ok)
                return false;
            return QTest::qWaitFor(
                [&] {
                    return orlo->pressKeys(u"Return"_s) &&
                           QTest::qWaitFor(
                               [&] { return orlo->last(u"saved"_s).toString().endsWith(caption); },
                               1000);
                },
                90000);
        };
        QVERIFY(found(u"quokka"_s, u"2026-01-02 00:39 第42条"_s));
        QVERIFY(orlo->last(u"savedText"_s).toString().contains(u"<here> & 那里"_s));
        orlo->command("menuCopyThis");
        QTRY_COMPARE_WITH_TIMEOUT(
            tool(u"xclip -o -selection clipboard"_s),
            u"第999页 entry 41 剪贴板 clipboard history the quokka sleeps\r\n<here> & 那里"_s,
            10000);
        QVERIFY(found(u"marmalade"_s, u"图片"_s));
    }

    void endsAskingOrNothingIsLost_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("left"); // temp files: the journal
        QTest::newRow("exit command, not saved") << u"ctrl+q"_s << 0;
        QTest::newRow("window closed, not saved") << u"alt+F4"_s << 0;
        QTest::newRow("session ends") << u"SIGTERM"_s << 1;
    }
    void endsAskingOrNothingIsLost() {
        QFETCH(QString, how);
        QFETCH(int, left);
        orlo = std::make_unique<Orlo>(); // one program at a time on the clipboard
        QVERIFY(orlo->start());
        QCOMPARE(orlo->take(copier.text(u"kept or asked about"_s)).size(), 1);
        if (how == u"SIGTERM"_s) {
            orlo->process().terminate();
        } else {
            showByTray();
            QVERIFY(orlo->pressKeys(how));
            // The question takes the keyboard: 不保存退出(&N).
            QTest::qWait(1000);
            QVERIFY(run(u"xdotool key --clearmodifiers alt+n"_s).ok);
        }
        QVERIFY2(orlo->process().waitForEnd(10000), "the program did not end");
        QCOMPARE(orlo->process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(orlo->process().exitCode(), 0);
        QCOMPARE(QDir(orlo->folder() + u"/data/image/temp"_s).entryList(QDir::Files).size(), left);
    }
};

QTEST_MAIN(tst_E2eWindow)
#include "tst_e2e_window.moc"
