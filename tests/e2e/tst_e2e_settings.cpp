// SPDX-License-Identifier: MIT
// Over bad settings: a quiet start, copies taken, the file kept, a failed save told in a box.
#include "harness.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

using namespace e2e;
using namespace Qt::StringLiterals;

class tst_E2eSettings : public QObject {
    Q_OBJECT

    Desktop desktop;
    Copier copier;

private slots:
    void initTestCase() {
        if (const QString why = unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QVERIFY(desktop.startWindowManager() && desktop.startTrayHost());
    }

    void badSettingsAreSurvivedQuietly_data() {
        QTest::addColumn<QByteArray>("settings");
        QTest::newRow("garbled") << "\xff\xfe[Path\0\1 txtPath=\n[[[Option]\nAutoSave\x80="_ba;
        QTest::newRow("missing folder") << "[Path]\ntxtPath=/nonexistent/orlo/text"_ba;
        QTest::newRow("10,000 characters") << "[Path]\ntxtPath=/tmp/" + QByteArray(9995, 'x');
    }
    void badSettingsAreSurvivedQuietly() {
        QFETCH(QByteArray, settings);
        const bool saveFails = settings.startsWith("[Path]");
        Orlo orlo;
        const auto onMessageBox = [&orlo](const QString &command) {
            const QString line = u"search --all --onlyvisible --pid %1 --name ^Orlo粘贴板$"_s;
            return tool(u"xdotool"_s, (line.arg(orlo.process().pid()) + command).split(u' '));
        };
        QVERIFY(QDir().mkpath(orlo.folder() + u"/.config"_s));
        QFile file(orlo.folder() + u"/.config/Orlo粘贴板.conf"_s);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(settings) == settings.size());
        file.close();
        QVERIFY2(orlo.start(), "the program's icon did not appear in the tray");

        QVERIFY(copier.copyText(QTest::currentDataTag()));
        QTRY_COMPARE_WITH_TIMEOUT(orlo.entries().value(0).text, QTest::currentDataTag(), 10000);
        QVERIFY(orlo.showWindow());
        QVERIFY(onMessageBox({}).isEmpty() && orlo.pressKeys(u"ctrl+s"_s));
        if (saveFails) {
            QTRY_VERIFY_WITH_TIMEOUT(!onMessageBox({}).isEmpty(), 10000);
            const QString at = onMessageBox(u" getwindowgeometry --shell"_s);
            const auto n = [&](auto key) {
                return at.section(key, 1).section(u'\n', 0, 0).toInt();
            };
            const QRect where(n("X="), n("Y="), n("WIDTH="), n("HEIGHT="));
            QVERIFY2(QGuiApplication::primaryScreen()->geometry().contains(where), qPrintable(at));
        }
        QTRY_COMPARE_WITH_TIMEOUT(filesIn(orlo.folder() + u"/data/text"_s, u"*.htm"_s),
                                  saveFails ? 0 : 1, 10000);
        QVERIFY(!QFileInfo::exists(u"/nonexistent/orlo"_s));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), settings);
    }
};

QTEST_MAIN(tst_E2eSettings)
#include "tst_e2e_settings.moc"
