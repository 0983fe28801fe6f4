// SPDX-License-Identifier: MIT
// The program in a Wayland session (a headless sway that session.sh starts),
// its window out of view and without the focus: it catches every copy
// through data-control. Under GNOME's mutter (ORLO_COMPOSITOR=mutter), started
// as the desktop starts it, with XWayland named too, and hidden by a
// notification area: it catches them through XWayland. Under weston (no
// data-control), with a DISPLAY that is not this session's: it runs on
// Wayland, says what it cannot catch, and does not end until told to.
#include "harness.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <csignal>

using namespace e2e;
using namespace Qt::StringLiterals;

class tst_E2eWayland : public QObject {
    Q_OBJECT

    Copier copier;
    Orlo orlo;
    Started trayHost;
    Started portal; ///< the desktop's GlobalShortcuts portal (sway)
    const QString xwayland = qEnvironmentVariable("ORLO_XWAYLAND");
    const bool weston = qEnvironmentVariable("ORLO_COMPOSITOR") == u"weston"_s;

    /// The entries a copy added, "文本00 its text".
    QStringList take(const std::function<bool()> &copy) const {
        QStringList shown;
        for (const Entry &entry : orlo.take(copy))
            shown << entry.shown();
        return shown;
    }
    /// The caption the next entry of a kind ("文本", "图像") gets.
    QString nextCaption(const QString &kind) const {
        const auto taken = std::ranges::count_if(
            orlo.entries(), [&](const Entry &entry) { return entry.caption.startsWith(kind); });
        return kind + u"%1"_s.arg(taken % 100, 2, 10, QChar(u'0'));
    }
    /// Out of view and without the focus, as a compositor's minimising leaves
    /// a window: the program is not told.
    static bool outOfView() { return run(u"swaymsg [app_id=orlo-clipboard] move scratchpad"_s).ok; }
    /// Whether sway shows the program's window.
    static bool inView() {
        const std::function<bool(const QJsonObject &)> shown = [&](const QJsonObject &node) {
            if (node[u"app_id"_s] == u"orlo-clipboard"_s)
                return node[u"visible"_s].toBool();
            for (const QString &key : {u"nodes"_s, u"floating_nodes"_s})
                for (const QJsonValue &child : node[key].toArray())
                    if (shown(child.toObject()))
                        return true;
            return false;
        };
        return shown(QJsonDocument::fromJson(tool(u"swaymsg -r -t get_tree"_s).toUtf8()).object());
    }

private slots:
    void initTestCase() {
        if (!wayland())
            QSKIP("needs a Wayland session: run it through wayland/session.sh");
        if (weston)
            return; // only the test below, that one run in a session of its own
        QFile settings(orlo.folder() + u"/.config/Orlo粘贴板.conf"_s);
        QVERIFY(QDir().mkpath(orlo.folder() + u"/.config"_s) &&
                settings.open(QIODevice::WriteOnly) &&
                settings.write("[Option]\nShowShortcut=Ctrl+Shift+F9\n") > 0 && settings.flush());
        if (!xwayland.isEmpty()) {
            orlo.environment.insert(u"DISPLAY"_s, xwayland);
            orlo.environment.insert(u"XAUTHORITY"_s, qEnvironmentVariable("ORLO_XAUTHORITY"));
            QVERIFY(trayHost.start(qEnvironmentVariable("ORLO_TRAY_BIN"), {},
                                   QProcessEnvironment::systemEnvironment(), true));
            QVERIFY(
                run(u"gdbus wait --session --timeout 10 org.kde.StatusNotifierWatcher"_s, 11'000)
                    .ok);
            QVERIFY(orlo.start());
            QTRY_VERIFY_WITH_TIMEOUT(trayHost.said("\n") > 0, 10'000); // the window hides
            // The program's own item on X11 too: the title is the same.
            QCOMPARE(QJsonDocument::fromJson(trayHost.output()).object()[u"title"_s],
                     u"Orlo粘贴板"_s);
            QCOMPARE(orlo.last(u"clipboard"_s).toString(), u"剪贴板监控：X11（XWayland）"_s);
            return;
        }
        QVERIFY(portal.start(qEnvironmentVariable("ORLO_TRAY_BIN"), {u"--portal"_s},
                             QProcessEnvironment::systemEnvironment(), true));
        QVERIFY(
            run(u"gdbus wait --session --timeout 10 org.freedesktop.portal.Desktop"_s, 11'000).ok);
        QVERIFY(orlo.start());
        // The shortcut chosen, as the portal writes it.
        QTRY_COMPARE_WITH_TIMEOUT(portal.output(), "{\"bind\": \"CTRL+SHIFT+F9\"}\n"_ba, 10'000);
        // No tray here: the window comes up, and goes out of view and focus.
        QVERIFY(QTest::qWaitFor(
            [] { return tool(u"swaymsg -t get_tree"_s).contains(u"orlo-clipboard"_s); }, 15'000));
        QVERIFY(outOfView());
        QCOMPARE(orlo.last(u"clipboard"_s).toString(), u"剪贴板监控：Wayland 数据控制"_s);
    }

    void textsAndPictures() {
        // Twenty texts and two pictures, each taken in turn.
        QStringList wanted, shown;
        QImage image(64, 48, QImage::Format_RGB32);
        for (int i = 0; i < 22; ++i) {
            if (i == 7 || i == 14) {
                image.fill(QColor(10, 120, 10 * i));
                QVERIFY(image.save(orlo.folder() + u"/p.png"_s));
                wanted << nextCaption(u"图像"_s) + u' ';
                shown << take(copier.file(orlo.folder() + u"/p.png"_s, u"image/png"_s));
            } else {
                const QString text = u"剪贴板 第%1条 😀"_s.arg(i);
                wanted << nextCaption(u"文本"_s) + u' ' + text;
                shown << take(copier.text(text));
            }
        }
        QCOMPARE(shown, wanted);
        QCOMPARE(take(copier.text(u"剪贴板 第21条 😀"_s)), QStringList()); // the newest again
        QCOMPARE(QImage(orlo.folder() + u"/data/image/temp/"_s + wanted[14].trimmed() + u".bmp"_s)
                     .convertToFormat(image.format()),
                 image);
    }

    void secretsAndHungOwnersAreNotTaken() {
        if (!xwayland.isEmpty())
            QSKIP("the owners here are data-control clients");
        const auto offer = [this](const QStringList &arguments) {
            return [=, this] {
                Started &owner = copier.owners.emplace_back();
                return owner.start(qEnvironmentVariable("ORLO_DCTOOL_BIN"), arguments) &&
                       QTest::qWaitFor([&] { return owner.said("owner") > 0; }, 10'000);
            };
        };
        QCOMPARE(take(offer({u"text/plain;charset=utf-8"_s, u"pw"_s, u"x-kde-passwordManagerHint"_s,
                             u"secret"_s})),
                 QStringList());
        // An owner that never answers costs one wait; the next copy is taken.
        QCOMPARE(take(offer({u"--never"_s, u"text/plain;charset=utf-8"_s, u"x"_s})), QStringList());
        const QString caption = nextCaption(u"文本"_s);
        QCOMPARE(take(copier.text(u"next"_s)), QStringList{caption + u" next"_s});
        // One that drips its text without end holds the next copy a second at
        // most, and is listed only if it ever ends.
        QVERIFY(offer({u"--drip"_s, u"text/plain;charset=utf-8"_s, u"drip"_s})());
        QElapsedTimer clock;
        clock.start();
        const QString after = nextCaption(u"文本"_s) + u" after the drip"_s;
        QCOMPARE(take(copier.text(u"after the drip"_s)), QStringList{after});
        QCOMPARE_LT(clock.elapsed(), 3000);
    }

    void aBusyWindowLosesNoCopy() {
        // Copies are heard and fetched off the window thread, as on X11.
        const qsizetype before = orlo.entries().size();
        orlo.command("block 3000");
        QTRY_VERIFY(!orlo.last(u"blocking"_s).isUndefined());
        QStringList made, taken;
        for (int i = 0; i < 20; ++i)
            QVERIFY(copier.copyText(made.emplace_back(u"while blocked %1"_s.arg(i))));
        QTRY_COMPARE_WITH_TIMEOUT(orlo.entries().size(), before + 20, 20'000);
        for (const Entry &entry : orlo.entries().mid(before))
            taken << entry.text;
        QCOMPARE(taken, made);
    }

    void copyingBackAndEmptying() {
        if (!xwayland.isEmpty())
            QSKIP("mutter keeps the Wayland clipboard when XWayland's is emptied");
        QCOMPARE(take(copier.text(u"to copy back"_s)).size(), 1);
        const qsizetype before = orlo.entries().size();
        orlo.command("menuClearCB");
        QTRY_VERIFY_WITH_TIMEOUT(!run(u"wl-paste"_s).ok, 10'000);
        orlo.command("menuCopyThis");
        QTRY_COMPARE_WITH_TIMEOUT(tool(u"wl-paste --no-newline"_s), u"to copy back"_s, 10'000);
        QVERIFY(!tool(u"wl-paste --list-types"_s).contains(u"orlo"_s)); // no marker
        // Its own copy back was taken as any other (the newest text: no entry).
        QCOMPARE(orlo.entries().size(), before);
    }

    void aTrayThatComesLateTakesTheIconAndBringsTheWindowBack() {
        if (!xwayland.isEmpty())
            QSKIP("sway's alone");
        // Started after the program, as a panel often is, and again after it went.
        std::unique_ptr<Started> tray;
        for (int round = 0; round < 2; ++round) {
            tray = std::make_unique<Started>();
            QVERIFY(tray->start(qEnvironmentVariable("ORLO_TRAY_BIN"), {},
                                QProcessEnvironment::systemEnvironment(), true));
            QTRY_VERIFY_WITH_TIMEOUT(tray->said("\n") > 0, 10'000);
        }
        const QJsonObject item = QJsonDocument::fromJson(tray->output()).object();
        QCOMPARE(item[u"title"_s], u"Orlo粘贴板"_s);
        QCOMPARE(item[u"tip"_s].toArray(), (QJsonArray{u"Orlo粘贴板"_s, u""_s}));
        QVERIFY(item[u"icons"_s].toInt() > 0);
        QCOMPARE(item[u"menu"_s].toArray(),
                 (QJsonArray{u"显示主窗口"_s, u"开始监控剪贴板"_s, u""_s, u"退出"_s}));
        const QString send =
            u"dbus-send --session --print-reply --dest="_s + item[u"item"_s].toString();
        // Shown for all the program knows: a click on the icon, the menu's
        // first item, a second start and the shortcut each bring it back.
        const auto call = [&](const QString &what) {
            return [=] {
                return run(send + what).ok;
            };
        };
        const std::function<bool()> ways[] = {
            call(u" /StatusNotifierItem org.kde.StatusNotifierItem.Activate int32:0 int32:0"_s),
            call(u" /MenuBar com.canonical.dbusmenu.Event int32:1 string:clicked variant:int32:0 "
                 u"uint32:0"_s),
            [&] { return orlo.startAgain() == 0; },
            [&] { return ::kill(pid_t(portal.pid()), SIGUSR1) == 0; },
        };
        for (const auto &bringBack : ways) {
            QVERIFY(outOfView());
            QTRY_VERIFY_WITH_TIMEOUT(!inView(), 10'000);
            QVERIFY(bringBack());
            QTRY_VERIFY_WITH_TIMEOUT(inView(), 10'000);
        }
        QVERIFY(outOfView()); // as the other tests have it
    }

    void theTrayAsHostsUseIt() {
        if (!xwayland.isEmpty())
            QSKIP("sway's alone");
        // Started beside an area, the window hides; the area gone (the panel
        // crashed), it comes, as at a start without one.
        const auto areaThere = [] { // and answering
            const QString watcher = u"org.kde.StatusNotifierWatcher"_s;
            return tool(u"gdbus call --session --dest %1 --object-path /StatusNotifierWatcher "
                        u"--method org.freedesktop.DBus.Properties.Get %1 "
                        u"IsStatusNotifierHostRegistered"_s.arg(watcher)) == u"(<true>,)"_s;
        };
        orlo.kill();
        QTRY_VERIFY_WITH_TIMEOUT(!areaThere(), 10'000); // the last test's, gone
        Started tray;
        QVERIFY(tray.start(qEnvironmentVariable("ORLO_TRAY_BIN"), {},
                           QProcessEnvironment::systemEnvironment(), true));
        QTRY_VERIFY_WITH_TIMEOUT(areaThere(), 10'000);
        QVERIFY(orlo.start());
        QTRY_VERIFY_WITH_TIMEOUT(tray.said("\n") > 0, 10'000);
        QTRY_VERIFY_WITH_TIMEOUT(!tool(u"swaymsg -t get_tree"_s).contains(u"orlo-clipboard"_s),
                                 10'000);
        const QString item = QJsonDocument::fromJson(tray.output()).object()[u"item"_s].toString();
        tray.stop();
        QTRY_VERIFY_WITH_TIMEOUT(inView(), 10'000);

        // Every method answers at once, with a value or an error: each line the object, the
        // method and its arguments, then what the answer holds.
        const QString calls =
            uR"(/MenuBar com.canonical.dbusmenu.GetLayout 99 -1 []|Error.InvalidArgs
/MenuBar com.canonical.dbusmenu.GetGroupProperties [1,99] ['label']|([(1, {'label': <'显示主窗口'>})],)
/MenuBar com.canonical.dbusmenu.GetProperty 1 nonexistent|Error.InvalidArgs
/MenuBar com.canonical.dbusmenu.GetProperty 99 label|Error.InvalidArgs
/MenuBar com.canonical.dbusmenu.Event 99 clicked <0> 0|Error.InvalidArgs
/MenuBar com.canonical.dbusmenu.EventGroup [(3,'hovered',<0>,0),(99,'clicked',<0>,0)]|([99],)
/MenuBar com.canonical.dbusmenu.AboutToShowGroup [0,99]|[], [99])
/MenuBar org.freedesktop.DBus.Properties.Get com.canonical.dbusmenu Version|(<uint32 3>,)
/StatusNotifierItem org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem Nothing|Error.
/StatusNotifierItem org.kde.StatusNotifierItem.Scroll 1 sideways|Error.InvalidArgs
/StatusNotifierItem org.kde.StatusNotifierItem.ContextMenu 10 10|())"_s;
        for (const QString &line : calls.split(u'\n')) {
            const QStringList arguments = {u"-c"_s,
                                           u"gdbus call --session --timeout 1 --dest $0 "
                                           u"--object-path $1 --method $2 -- \"${@:3}\" 2>&1"_s,
                                           item};
            const QString output =
                runTool(u"bash"_s, arguments + line.section(u'|', 0, 0).split(u' ')).output;
            QVERIFY2(output.contains(line.section(u'|', 1)), qPrintable(line + u": "_s + output));
        }
        // ContextMenu opened the menu: on Wayland a window of its own, where
        // the compositor puts it.
        QTRY_COMPARE_WITH_TIMEOUT(
            tool(u"swaymsg -t get_tree"_s).count(u"\"app_id\": \"orlo-clipboard\""_s), 2, 10'000);
        const QString introspection =
            tool(u"gdbus introspect --session --object-path /StatusNotifierItem --dest "_s + item);
        for (const QString &signal :
             u"NewTitle NewIcon NewAttentionIcon NewOverlayIcon "
             u"NewStatus NewToolTip ProvideXdgActivationToken"_s.split(u' '))
            QVERIFY2(introspection.contains(signal), qPrintable(signal));
    }

    void aDisplayOfNoXWaylandIsNotWatched_data() {
        QTest::addColumn<QString>("display");
        QTest::newRow("left over, no server") << u":77"_s;
        // An X server that answers, of another session: watching it would
        // catch nothing copied here.
        QTest::newRow("another session's") << qEnvironmentVariable("ORLO_OTHER_DISPLAY");
    }
    void aDisplayOfNoXWaylandIsNotWatched() {
        QFETCH(QString, display);
        if (!weston)
            QSKIP("without data-control: a session of weston's");
        if (display.isEmpty())
            QSKIP("needs the X server of ./test");
        Orlo alone;
        alone.environment.insert(u"DISPLAY"_s, display);
        QVERIFY(alone.process().start(
            u"sh"_s, {u"-c"_s, u"exec \"$0\" 2>&1"_s, alone.folder() + u"/orlo-clipboard"_s},
            alone.environment));
        // It stays on Wayland, tells in a message box that copies made in the
        // background cannot be seen here, and goes on.
        QTRY_VERIFY_WITH_TIMEOUT(alone.process().said("neither data-control nor XWayland"), 10'000);
        QVERIFY(!alone.process().waitForEnd(3000));
        // The end of the session ends it while the box is up (within the
        // seconds a session manager waits: some 50 ms here, 2 s for a loaded machine).
        alone.process().terminate();
        QVERIFY(alone.process().waitForEnd(2000));
    }
};

QTEST_MAIN(tst_E2eWayland)
#include "tst_e2e_wayland.moc"
