// SPDX-License-Identifier: MIT
// The program in a Wayland session (a headless sway that session.sh starts),
// its window out of view and without the focus: it catches every copy
// through data-control. Under GNOME's mutter (ORLO_COMPOSITOR=mutter), started
// as the desktop starts it, with XWayland named too, and hidden by a
// notification area: it catches them through XWayland.
#include "harness.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>

using namespace e2e;
using namespace Qt::StringLiterals;

class tst_E2eWayland : public QObject {
    Q_OBJECT

    Copier copier;
    Orlo orlo;
    Started trayHost;
    const QString xwayland = qEnvironmentVariable("ORLO_XWAYLAND");

    /// The entries a copy added, "文本00 its text".
    QStringList take(const std::function<bool()> &copy) const {
        QStringList shown;
        for (const Entry &entry : orlo.take(copy))
            shown << entry.shown();
        return shown;
    }
    /// Entries of a kind ("文本", "图像") taken so far; a hundred start again
    /// at 00 under the save policy.
    int taken(const QString &kind) const {
        const QList<Entry> entries = orlo.entries();
        return int(std::count_if(entries.cbegin(), entries.cend(), [&](const Entry &entry) {
            return entry.caption.startsWith(kind);
        }));
    }
    QString nextCaption(const QString &kind) const {
        return kind + u"%1"_s.arg(taken(kind) % 100, 2, 10, QChar(u'0'));
    }
    /// Out of view and without the focus, as a compositor's minimising leaves
    /// a window: the program is not told.
    static bool outOfView() {
        return runTool(u"swaymsg"_s, {u"[app_id=orlo-clipboard] move scratchpad"_s}).ok;
    }
    /// Whether sway shows the program's window.
    static bool inView() {
        const std::function<bool(const QJsonObject &)> shown = [&](const QJsonObject &node) {
            if (node[u"app_id"_s] == u"orlo-clipboard"_s)
                return node[u"visible"_s].toBool();
            for (const QString &key : {u"nodes"_s, u"floating_nodes"_s}) {
                for (const QJsonValue &child : node[key].toArray()) {
                    if (shown(child.toObject()))
                        return true;
                }
            }
            return false;
        };
        const QString tree = tool(u"swaymsg"_s, {u"-r"_s, u"-t"_s, u"get_tree"_s});
        return shown(QJsonDocument::fromJson(tree.toUtf8()).object());
    }

private slots:
    void initTestCase() {
        if (!wayland())
            QSKIP("needs a Wayland session: run it through wayland/session.sh");
        // The save policy: a hundred texts reach a data file.
        QVERIFY(QDir().mkpath(orlo.folder() + u"/.config"_s));
        QFile settings(orlo.folder() + u"/.config/Orlo粘贴板.conf"_s);
        QVERIFY(settings.open(QIODevice::WriteOnly) && settings.write("[Option]\nAutoSave=True\n"));
        settings.close();
        if (!xwayland.isEmpty()) {
            orlo.environment.insert(u"DISPLAY"_s, xwayland);
            orlo.environment.insert(u"XAUTHORITY"_s, qEnvironmentVariable("ORLO_XAUTHORITY"));
            QVERIFY(trayHost.start(qEnvironmentVariable("ORLO_TRAY_BIN"), {},
                                   QProcessEnvironment::systemEnvironment(), true));
            QVERIFY(runTool(u"gdbus"_s,
                            {u"wait"_s, u"--session"_s, u"--timeout"_s, u"10"_s,
                             u"org.kde.StatusNotifierWatcher"_s},
                            11'000)
                        .ok);
            QVERIFY(orlo.start());
            QTRY_VERIFY_WITH_TIMEOUT(trayHost.said("\n") > 0, 10'000); // the window hides
            QCOMPARE(orlo.last(u"clipboard"_s).toString(), u"剪贴板监控：X11（XWayland）"_s);
            return;
        }
        QVERIFY(orlo.start());
        // No tray here: the window comes up, and goes out of view and focus.
        QVERIFY(QTest::qWaitFor(
            [] {
                return tool(u"swaymsg"_s, {u"-t"_s, u"get_tree"_s}).contains(u"orlo-clipboard"_s);
            },
            15'000));
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

    void copyingBackAndEmptying() {
        if (!xwayland.isEmpty())
            QSKIP("mutter keeps the Wayland clipboard when XWayland's is emptied");
        QCOMPARE(take(copier.text(u"to copy back"_s)).size(), 1);
        const qsizetype before = orlo.entries().size();
        orlo.command("menuClearCB");
        QTRY_VERIFY_WITH_TIMEOUT(!runTool(u"wl-paste"_s, {}).ok, 10'000);
        orlo.command("menuCopyThis");
        QTRY_COMPARE_WITH_TIMEOUT(tool(u"wl-paste"_s, {u"--no-newline"_s}), u"to copy back"_s,
                                  10'000);
        QVERIFY(!tool(u"wl-paste"_s, {u"--list-types"_s}).contains(u"orlo"_s)); // no marker
        // Its own copy back was taken as any other (the newest text: no entry).
        QCOMPARE(orlo.entries().size(), before);
    }

    void aBusyWindowLosesNoCopy() {
        // The X11 test's twin: copies are heard and fetched off the window thread.
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

    void aHundredCopiesReachTheDataFile() {
        // Enough copies for the hundredth text entry, which saves them all.
        const int before = taken(u"文本"_s);
        // One at a time: a copy replaced before anyone read it is nobody's
        // (bursts are the benchmark's).
        for (int i = before % 100; i < 100; ++i) {
            QVERIFY(copier.copyText(u"copy %1"_s.arg(i)));
            QTRY_COMPARE_WITH_TIMEOUT(taken(u"文本"_s), before + i + 1 - before % 100, 10'000);
        }
        const QDir saved(orlo.folder() + u"/data/text"_s, u"*.htm"_s);
        QTRY_COMPARE_WITH_TIMEOUT((saved.refresh(), saved.entryList().size()), 1, 10'000);
        QFile page(saved.filePath(saved.entryList().value(0)));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QByteArray bytes = page.readAll();
        QCOMPARE(bytes.count("<br><br>"), 100);
        QVERIFY(bytes.contains("copy 99<br><br>\r\n</font>"));
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
        QCOMPARE(item[u"tip"_s].toArray(), (QJsonArray{u"Orlo粘贴板"_s, u""_s}));
        QVERIFY(item[u"icons"_s].toInt() > 0);
        QCOMPARE(item[u"menu"_s].toArray(),
                 (QJsonArray{u"显示主窗口"_s, u"开始监控剪贴板"_s, u""_s, u"退出"_s}));
        const auto send = [&](const QString &path, const QString &method,
                              const QString &arguments) {
            const QStringList call = {u"--session"_s, u"--print-reply"_s,
                                      u"--dest="_s + item[u"item"_s].toString(), path, method};
            return runTool(u"dbus-send"_s, call + arguments.split(u' ')).ok;
        };
        // Shown for all the program knows: a click on the icon, the menu's
        // first item and a second start each bring it back.
        const std::function<bool()> ways[] = {
            [&] {
                return send(u"/StatusNotifierItem"_s, u"org.kde.StatusNotifierItem.Activate"_s,
                            u"int32:0 int32:0"_s);
            },
            [&] {
                return send(u"/MenuBar"_s, u"com.canonical.dbusmenu.Event"_s,
                            u"int32:1 string:clicked variant:int32:0 uint32:0"_s);
            },
            [&] { return orlo.startAgain() == 0; },
        };
        for (const auto &bringBack : ways) {
            QVERIFY(outOfView());
            QTRY_VERIFY_WITH_TIMEOUT(!inView(), 10'000);
            QVERIFY(bringBack());
            QTRY_VERIFY_WITH_TIMEOUT(inView(), 10'000);
        }
        QVERIFY(outOfView()); // as the other tests have it
    }
};

QTEST_MAIN(tst_E2eWayland)
#include "tst_e2e_wayland.moc"
