// SPDX-License-Identifier: MIT
// The window behind its tray icon, its menu, a window that grows, a second
// start, and the ways the program ends, on a desktop with a tray host and a
// window manager.
#include "harness.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QStringEncoder>

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

    void earlierRunsSavedPagesAndPicturesAreFound() {
        // 2,000 pages of 100 entries and a picture saved by an earlier run,
        // a minute apart; one word in one entry 1,000 pages back, one in the picture.
        orlo = std::make_unique<Orlo>(); // one program at a time on the clipboard
        const QString data = orlo->folder() + u"/data"_s;
        QVERIFY(QDir().mkpath(data + u"/text"_s) && QDir().mkpath(data + u"/image"_s));
        QStringEncoder gbk("GBK");
        const QByteArray head = gbk.encode(
            u"<html><head><meta http-equiv=\"Content-Language\" content=\"zh-cn\"><meta "
            "http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\"><title>"
            "Orlo粘贴板数据文件</title></head><body><p><font size=\"3\" face=\"宋体\">\r\n"_s);
        const QDateTime first(QDate(2026, 1, 1), QTime(8, 0));
        for (int page = 0; page < 2000; ++page) {
            QByteArray bytes = head;
            for (int entry = 0; entry < 100; ++entry)
                bytes += gbk.encode(
                    u"第%1页 entry %2 剪贴板 clipboard history %3<br><br>\r\n"_s.arg(page)
                        .arg(entry)
                        .arg(page == 999 && entry == 41
                                 ? u"the quokka sleeps\r\n&lt;here&gt; &amp; 那里"_s
                                 : QString(40, u'x')));
            QFile file(data + u"/text/"_s + first.addSecs(60 * page).toString(u"yyyyMMddHHmmss"_s) +
                       u".htm"_s);
            QVERIFY(file.open(QIODevice::WriteOnly) &&
                    file.write(bytes + "</font></p></body></html>\r\n") > 0);
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
        // Looked for until found: the picture's words are read after indexing.
        const auto found = [this](const QString &word, const QString &caption) {
            const QDeadlineTimer deadline(90000);
            while (!deadline.hasExpired()) {
                if (orlo->pressKeys(u"ctrl+e ctrl+a BackSpace"_s) &&
                    runTool(u"xdotool"_s, {u"type"_s, u"--delay"_s, u"50"_s, word}).ok &&
                    orlo->pressKeys(u"Return"_s) &&
                    QTest::qWaitFor(
                        [&] { return orlo->last(u"saved"_s).toString().endsWith(caption); }, 3000))
                    return true;
            }
            return false;
        };
        QVERIFY(found(u"quokka"_s, u"2026-01-02 00:39 第42条"_s));
        QVERIFY(orlo->last(u"savedText"_s).toString().contains(u"<here> & 那里"_s));
        orlo->command("menuCopyThis");
        QTRY_COMPARE_WITH_TIMEOUT(
            tool(u"xclip"_s, {u"-selection"_s, u"clipboard"_s, u"-o"_s}),
            u"第999页 entry 41 剪贴板 clipboard history the quokka sleeps\r\n<here> & 那里"_s,
            10000);
        QVERIFY(found(u"marmalade"_s, u"图片"_s));
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
