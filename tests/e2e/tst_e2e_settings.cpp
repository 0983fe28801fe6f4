// SPDX-License-Identifier: MIT
// The program started over settings that are garbled, name folders that do
// not exist, or hold values of 10,000 characters: it starts, says nothing at
// start, takes copies as usual, leaves the file as it was, and only a save
// into a folder that is not there is reported, in a box that fits the screen.
#include "harness.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>

using namespace e2e;

namespace {

/// Viewable windows of the program that carry the title of its message boxes.
QStringList messageBoxes(Orlo &orlo) {
    QStringList boxes;
    const QStringList ids =
        tool(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--pid"),
                                         QString::number(orlo.process().pid())})
            .split(u'\n', Qt::SkipEmptyParts);
    for (const QString &id : ids) {
        if (tool(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), id}) ==
                QStringLiteral("Orlo粘贴板") &&
            tool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id})
                .contains(QStringLiteral("IsViewable")))
            boxes << id;
    }
    return boxes;
}

/// Where the window lies: x, y, width, height.
QRect geometryOf(const QString &id) {
    const QString info = tool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id});
    const auto number = [&info](const char *label) {
        const auto match =
            QRegularExpression(QString::fromLatin1(label) + QStringLiteral(":\\s+(-?\\d+)"))
                .match(info);
        return match.captured(1).toInt();
    };
    return {number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"),
            number("Height")};
}

QStringList files(const QString &folder) {
    return QDir(folder).entryList(QDir::Files);
}

} // namespace

class tst_E2eSettings : public QObject {
    Q_OBJECT

    Desktop desktop;
    Copier copier;

private slots:
    void initTestCase() {
        if (const QString why = unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QVERIFY(desktop.startWindowManager());
        QVERIFY(desktop.startTrayHost());
    }

    void cleanupTestCase() { QGuiApplication::clipboard()->clear(); }

    void badSettingsAreSurvivedQuietly_data() {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("saveFails");
        QTest::newRow("garbled file")
            << QByteArray("\xff\xfe[Path\x00\x01 txtPath=\n=\n[[[Option]\nAutoSave\x80\x81=\"", 46)
            << false;
        QTest::newRow("folders that do not exist")
            << QByteArray(
                   "[Path]\ntxtPath=/nonexistent/orlo/text\nimgPath=/nonexistent/orlo/image\n"
                   "othPath=/nonexistent/orlo/other\n[Option]\nAutoSave=True\n")
            << true;
        QTest::newRow("values of 10,000 characters")
            << "[Path]\ntxtPath=/tmp/" + QByteArray(9995, 'x') +
                   "\nimgPath=" + QByteArray(10000, '\\') +
                   "\n[Option]\nAutoSave=" + QByteArray(10000, '1') + "\n"
            << true;
    }
    void badSettingsAreSurvivedQuietly() {
        QFETCH(QByteArray, settings);
        QFETCH(bool, saveFails);
        Orlo orlo;
        const QString config = orlo.folder() + QStringLiteral("/home/.config");
        QVERIFY(QDir().mkpath(config));
        QFile file(config + QStringLiteral("/Orlo粘贴板.conf"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(settings);
        file.close();
        QVERIFY2(orlo.start(), "the program's icon did not appear in the tray");

        // Copies are taken as usual, and nothing was said.
        const QString text =
            QStringLiteral("copied after a start over %1").arg(QTest::currentDataTag());
        QVERIFY(copier.copyText(text));
        QTRY_COMPARE_WITH_TIMEOUT(orlo.entries().size(), 1, 10000);
        QCOMPARE(orlo.entries().constFirst().text, text);
        QVERIFY(messageBoxes(orlo).isEmpty());
        QVERIFY(!QFileInfo::exists(QStringLiteral("/nonexistent/orlo")));

        // Saving goes to the default folders, or tells why it cannot.
        QVERIFY(orlo.clickTrayIcon());
        QTRY_VERIFY_WITH_TIMEOUT(orlo.windowViewable(), 10000);
        QVERIFY(orlo.pressKeys(QStringLiteral("ctrl+s")));
        const QString defaultText = orlo.folder() + QStringLiteral("/data/text");
        if (saveFails) {
            QTRY_VERIFY_WITH_TIMEOUT(!messageBoxes(orlo).isEmpty(), 10000);
            const QString box = messageBoxes(orlo).constFirst();
            const QRect screen = QGuiApplication::primaryScreen()->geometry();
            QVERIFY2(screen.contains(geometryOf(box)),
                     qPrintable(QStringLiteral("the box lies at %1,%2 %3x%4")
                                    .arg(geometryOf(box).x())
                                    .arg(geometryOf(box).y())
                                    .arg(geometryOf(box).width())
                                    .arg(geometryOf(box).height())));
            qInfo("the box: %dx%d", geometryOf(box).width(), geometryOf(box).height());
            // It takes the keyboard, and Enter closes it.
            QVERIFY(runTool(QStringLiteral("xdotool"),
                            {QStringLiteral("windowfocus"), QStringLiteral("--sync"), box})
                        .ok);
            QVERIFY(runTool(QStringLiteral("xdotool"),
                            {QStringLiteral("key"), QStringLiteral("Return")})
                        .ok);
            QTRY_VERIFY_WITH_TIMEOUT(messageBoxes(orlo).isEmpty(), 10000);
            QVERIFY(files(defaultText).isEmpty());
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(files(defaultText).size(), 1, 10000);
            QVERIFY(messageBoxes(orlo).isEmpty());
        }

        // The user's file stays as it was.
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), settings);
    }
};

E2E_MAIN(tst_E2eSettings)
#include "tst_e2e_settings.moc"
