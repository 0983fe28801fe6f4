// SPDX-License-Identifier: MIT
// The program in a Wayland session (a headless sway), its window out of view
// and without the focus: it catches every copy through data-control.
#include "report.h"
#include "waylandsession.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTest>

using namespace e2e;
using namespace wltest;
using namespace Qt::StringLiterals;

class tst_E2eWayland : public QObject {
    Q_OBJECT

    WaylandSession session;
    QProcess program;
    QString folder; ///< the program's folder, which holds its data folders

    ProgramReport report{QString()};

    /// The entries a copy added, "文本00 its text".
    QStringList take(const std::function<bool()> &copy) const {
        QStringList shown;
        for (const Entry &entry : report.take(copy))
            shown << entry.shown();
        return shown;
    }
    /// Entries of a kind ("文本", "图像") taken so far; a hundred start again
    /// at 00 under the save policy.
    int taken(const QString &kind) const {
        const QList<Entry> entries = report.entries();
        return int(std::count_if(entries.cbegin(), entries.cend(), [&](const Entry &entry) {
            return entry.caption.startsWith(kind);
        }));
    }
    QString nextCaption(const QString &kind) const {
        return kind + u"%1"_s.arg(taken(kind) % 100, 2, 10, QChar(u'0'));
    }
    std::function<bool()> wlCopy(const QByteArray &data, const QString &type) {
        return [=, this] {
            return session.copy(data, {u"--type"_s, type});
        };
    }

private slots:
    void initTestCase() {
        if (const QString why = WaylandSession::unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QString why;
        QVERIFY2(session.start(&why), qPrintable(why));
        folder = QFileInfo(session.installProgram(qEnvironmentVariable("ORLO_CLIPBOARD_BIN")))
                     .absolutePath();
        // The save policy: a hundred texts reach a data file.
        QVERIFY(QDir().mkpath(folder + u"/.config"_s));
        session.writeFile(u".config/Orlo粘贴板.conf"_s, "[Option]\nAutoSave=True\n");
        report = ProgramReport(folder + u"/report.jsonl"_s);
        QProcessEnvironment extra;
        extra.insert(u"ORLO_TEST_REPORT"_s, report.path());
        session.prepare(program, folder + u"/orlo-clipboard-observed"_s, {}, extra);
        program.start();
        // No tray here: the window comes up, and goes out of view and focus.
        const bool up = QTest::qWaitFor(
            [&] {
                return session.swaymsg({u"-t"_s, u"get_tree"_s}).output.contains("orlo-clipboard");
            },
            15'000);
        QVERIFY2(up, program.readAllStandardError().constData());
        QVERIFY(session.swaymsg({u"[app_id=orlo-clipboard] move scratchpad"_s}).ok);
        QTRY_COMPARE_WITH_TIMEOUT(report.atStart().value(u"clipboard"_s).toString(),
                                  u"剪贴板监控：Wayland 数据控制"_s, 10'000);
    }

    void cleanupTestCase() {
        program.kill();
        program.waitForFinished(3000);
        session.stop();
    }

    void textsAndPictures() {
        const QString text = u"剪贴板 第一条 😀"_s;
        const QString caption = nextCaption(u"文本"_s);
        QCOMPARE(take(wlCopy(text.toUtf8(), u"text/plain;charset=utf-8"_s)),
                 QStringList{caption + u' ' + text});
        QCOMPARE(take(wlCopy(text.toUtf8(), u"text/plain;charset=utf-8"_s)), QStringList());
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(QColor(10, 120, 230));
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        const QString picture = nextCaption(u"图像"_s);
        QCOMPARE(take(wlCopy(png, u"image/png"_s)), QStringList{picture + u' '});
        QCOMPARE(QImage(folder + u"/data/image/temp/"_s + picture + u".bmp"_s)
                     .convertToFormat(image.format()),
                 image);
    }

    void secretsAndHungOwnersAreNotTaken() {
        const QString dctool = qEnvironmentVariable("ORLO_DCTOOL_BIN");
        const auto offer = [&](const QStringList &arguments) {
            return [=, this] {
                QProcess *owner =
                    session.startBackground(dctool, QStringList{u"offer"_s} + arguments);
                return Lines(owner).next("owner", 10'000).has_value();
            };
        };
        QCOMPARE(take(offer({u"text/plain;charset=utf-8"_s, u"pw"_s, u"x-kde-passwordManagerHint"_s,
                             u"secret"_s})),
                 QStringList());
        // An owner that never answers costs one wait; the next copy is taken.
        QCOMPARE(take(offer({u"--never"_s, u"text/plain;charset=utf-8"_s, u"x"_s})), QStringList());
        const QString caption = nextCaption(u"文本"_s);
        QCOMPARE(take(wlCopy("next", u"text/plain;charset=utf-8"_s)),
                 QStringList{caption + u" next"_s});
    }

    void copyingBackAndEmptying() {
        QCOMPARE(take(wlCopy("to copy back", u"text/plain;charset=utf-8"_s)).size(), 1);
        const qsizetype before = report.entries().size();
        program.write("menuClearCB\n");
        QTRY_VERIFY_WITH_TIMEOUT(!session.paste().ok, 10'000);
        program.write("menuCopyThis\n");
        QTRY_COMPARE_WITH_TIMEOUT(session.paste({u"--no-newline"_s}).output,
                                  QByteArray("to copy back"), 10'000);
        // Its own copy back was taken as any other (the newest text: no entry).
        QCOMPARE(report.entries().size(), before);
    }

    void aHundredCopiesReachTheDataFile() {
        // Enough copies for the hundredth text entry, which saves them all.
        const int before = taken(u"文本"_s);
        for (int i = before % 100; i < 100; ++i) {
            const QByteArray text = "copy " + QByteArray::number(i);
            QVERIFY(session.copy(text, {u"--type"_s, u"text/plain;charset=utf-8"_s}));
        }
        QTRY_COMPARE_WITH_TIMEOUT(taken(u"文本"_s), before + 100 - before % 100, 30'000);
        const QDir saved(folder + u"/data/text"_s, u"*.htm"_s);
        QTRY_COMPARE_WITH_TIMEOUT((saved.refresh(), saved.entryList().size()), 1, 10'000);
        QFile page(saved.filePath(saved.entryList().value(0)));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QByteArray bytes = page.readAll();
        QCOMPARE(bytes.count("<br><br>"), 100);
        QVERIFY(bytes.contains("copy 99<br><br>\r\n</font>"));
    }
};

QTEST_MAIN(tst_E2eWayland)
#include "tst_e2e_wayland.moc"
