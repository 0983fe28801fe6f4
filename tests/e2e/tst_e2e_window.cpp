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

    void aTrayClickShowsTheWindowASecondDoesNothing() {
        hideByMinimising();
        showByTray();
        QVERIFY(orlo->clickTrayIcon());
        // Once a copy made after the click is handled, the click is too.
        QCOMPARE(orlo->take(copier.text(u"after the click"_s)).size(), 1);
        QVERIFY(orlo->windowViewable());
        QCOMPARE(orlo->windowState(), u"Normal"_s);
    }

    void theTrayMenuShowsTheWindow() {
        hideByMinimising();
        QVERIFY(orlo->clickTrayIcon(3));
        QTRY_VERIFY_WITH_TIMEOUT(!orlo->openMenu().isEmpty(), 10000);
        QVERIFY(!orlo->windowViewable()); // the menu, not the window
        // Its first item: 显示主窗口.
        QVERIFY(runTool(u"xdotool"_s, u"key --clearmodifiers Down Return"_s.split(u' ')).ok);
        QTRY_VERIFY_WITH_TIMEOUT(orlo->windowViewable(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(orlo->openMenu().isEmpty(), 10000);
    }

    void aSearchFindsTextsAndTheWordsInPictures() {
        showByTray();
        const QString banana = orlo->take(copier.text(u"banana split"_s)).value(0).caption;
        const QString cherry = orlo->take(copier.text(u"cherry 天气"_s)).value(0).caption;
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
        // Typed into the field: the picture, though the texts are on show.
        QVERIFY(orlo->pressKeys(u"ctrl+e"_s));
        QVERIFY(runTool(u"xdotool"_s, {u"type"_s, u"--delay"_s, u"50"_s, u"图书馆"_s}).ok);
        QVERIFY(orlo->pressKeys(u"Return"_s));
        QTRY_COMPARE_WITH_TIMEOUT(orlo->last(u"current"_s).toString(), u"图像00"_s, 10000);
        // Copied out of the field, the words are a copy of the program's own.
        QCOMPARE(orlo->take([&] { return orlo->pressKeys(u"ctrl+a ctrl+c"_s); }).value(0).text,
                 u"图书馆"_s);
        // A text; Ctrl+D typed there deletes nothing; this page is the one found.
        QVERIFY(orlo->pressKeys(u"ctrl+a BackSpace b a n a n a ctrl+d Return"_s));
        QTRY_COMPARE_WITH_TIMEOUT(orlo->last(u"current"_s).toString(), banana, 10000);
        orlo->command("menuSaveThisTxt");
        const QString texts = orlo->folder() + u"/data/text"_s;
        QTRY_COMPARE_WITH_TIMEOUT(filesIn(texts, u"*.htm"_s), 1, 10000);
        QFile page(texts + u'/' + QDir(texts, u"*.htm"_s).entryList().value(0));
        QVERIFY(page.open(QIODevice::ReadOnly) && page.readAll().contains("banana split<br>"));
        // The next copy is numbered on: nothing was deleted.
        QVERIFY(orlo->take(copier.text(u"after the search"_s)).value(0).caption > cherry);
    }

    void theShortcutSummonsTheWindowFromAnotherProgram() {
        const QStringList words{u"kiwi"_s, u"mango"_s};
        QStringList captions;
        for (const QString &word : words)
            captions << orlo->take(copier.text(word)).value(0).caption;
        Started other;
        QVERIFY(other.start(u"xmessage"_s, {u"-name"_s, u"orlo-other"_s, u"another program"_s}));
        const QString otherWindow =
            tool(u"xdotool"_s, {u"search"_s, u"--sync"_s, u"--classname"_s, u"^orlo-other$"_s});
        const auto press = [&](const QString &keys) {
            hideByMinimising();
            QVERIFY(runTool(u"xdotool"_s, {u"windowactivate"_s, u"--sync"_s, otherWindow}).ok);
            QVERIFY(runTool(u"xdotool"_s, {u"key"_s, u"--clearmodifiers"_s, keys}).ok);
        };
        const auto settings = [&] {
            QFile file(orlo->folder() + u"/.config/Orlo粘贴板.conf"_s);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const auto focused = [] {
            return tool(u"xdotool"_s, {u"getwindowfocus"_s});
        };
        // Ctrl+Alt+V, then the one 选项 changes it to.
        const QStringList shortcuts{u"ctrl+alt+v"_s, u"ctrl+shift+F9"_s};
        for (int round = 0; round < 2; ++round) {
            press(shortcuts[round]);
            QTRY_VERIFY_WITH_TIMEOUT(orlo->windowViewable(), 10000);
            QTRY_COMPARE_WITH_TIMEOUT(focused(), orlo->window(), 10000);
            // Typed at once, the words go to the search field and choose the
            // entry (typed after Ctrl+E, they replace what was there); Enter
            // puts it on the clipboard and the window away, Esc only puts the
            // window away.
            QVERIFY(runTool(u"xdotool"_s, {u"type"_s, u"zz"_s}).ok && orlo->pressKeys(u"ctrl+e"_s));
            QVERIFY(runTool(u"xdotool"_s, {u"type"_s, u"--delay"_s, u"50"_s, words[round]}).ok);
            QTRY_COMPARE_WITH_TIMEOUT(orlo->last(u"current"_s).toString(), captions[round], 10000);
            QVERIFY(runTool(u"xdotool"_s, {u"key"_s, round == 0 ? u"Return"_s : u"Escape"_s}).ok);
            QTRY_VERIFY_WITH_TIMEOUT(!orlo->windowViewable(), 10000);
            QCOMPARE(tool(u"xclip"_s, {u"-o"_s, u"-selection"_s, u"clipboard"_s}), words[0]);
            if (round == 1)
                break;
            showByTray();
            orlo->command("menuOption");
            QTRY_VERIFY_WITH_TIMEOUT(
                runTool(u"xdotool"_s, {u"search"_s, u"--onlyvisible"_s, u"--name"_s, u"^选项$"_s})
                    .ok,
                10000);
            // From 确定: 取消, the policy, then the shortcut.
            QVERIFY(
                runTool(u"xdotool"_s, {u"key"_s, u"Tab"_s, u"Tab"_s, u"Tab"_s, shortcuts[1]}).ok);
            orlo->command("accept");
            QTRY_VERIFY_WITH_TIMEOUT(settings().contains("ShowShortcut=Ctrl+Shift+F9"), 10000);
        }
        // The old one is let go: it reaches the program that has the focus.
        press(shortcuts[0]);
        QTest::qWait(1000);
        QVERIFY(!orlo->windowViewable());
    }

    void aSecondStartBringsUpTheFirstAndEnds() {
        // --show, as a desktop's own shortcut runs it, focuses the search field too.
        for (const QStringList &arguments : {QStringList(), QStringList{u"--show"_s}}) {
            hideByMinimising();
            QCOMPARE(orlo->startAgain(arguments), 0);
            QTRY_VERIFY_WITH_TIMEOUT(orlo->windowViewable(), 10000);
            QCOMPARE(orlo->windowState(), u"Normal"_s);
            QVERIFY(orlo->process().running());
        }
        const QList<Entry> entries = orlo->entries();
        // The newest entry found is chosen, and Enter picks it.
        const auto kiwi = std::find_if(entries.crbegin(), entries.crend(),
                                       [](const Entry &entry) { return entry.text == u"kiwi"_s; });
        QVERIFY(kiwi != entries.crend() && orlo->last(u"current"_s).toString() != kiwi->caption);
        QVERIFY(runTool(u"xdotool"_s, {u"type"_s, u"kiwi"_s}).ok);
        QVERIFY(runTool(u"xdotool"_s, {u"key"_s, u"Return"_s}).ok);
        QTRY_COMPARE_WITH_TIMEOUT(orlo->last(u"current"_s).toString(), kiwi->caption, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!orlo->windowViewable(), 10000);
    }

    void endsTheOrderlyWayLeavingNoPicture_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("exit command") << u"ctrl+q"_s;
        QTest::newRow("window closed") << u"alt+F4"_s;
        QTest::newRow("session ends") << u"SIGTERM"_s;
    }
    void endsTheOrderlyWayLeavingNoPicture() {
        QFETCH(QString, how);
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
        }
        QVERIFY2(orlo->process().waitForEnd(10000), "the program did not end");
        QCOMPARE(orlo->process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(orlo->process().exitCode(), 0);
        QCOMPARE(orlo->tempPictures(), QStringList());
    }
};

QTEST_MAIN(tst_E2eWindow)
#include "tst_e2e_window.moc"
