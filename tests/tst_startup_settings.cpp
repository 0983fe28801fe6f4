// SPDX-License-Identifier: MIT
#include "platform/programfolder.h"
#include "settings/help.h"
#include "testrig.h"

#include <QDir>
#include <QFile>

class tst_StartupSettings : public QObject {
    Q_OBJECT
private slots:
    void settingsAreReadWithDefaults_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("txtPath"); // "<default>" for the default
        QTest::addColumn<QString>("imgPath");
        QTest::addColumn<bool>("autoSave");
        QTest::newRow("nothing stored") << QByteArray() << "<default>"
                                        << "<default>" << false;
        QTest::newRow("stored as they stand")
            << QByteArray("[Path]\ntxtPath=\nimgPath=\"/某处/图片 \"\n[Option]\nAutoSave=True\n")
            << ""
            << "/某处/图片 " << true;
        QTest::newRow("False") << QByteArray("[Option]\nAutoSave=False\n") << "<default>"
                               << "<default>" << false;
        QTest::newRow("not a boolean")
            << QByteArray("[Option]\nAutoSave=@Invalid()\n") << "<default>"
            << "<default>" << false;
        QTest::newRow("garbled") << QByteArray(
                                        "\xff\xfe[Path\x00\x01 txtPath=\n=\n[[[Option]\nAutoSave",
                                        40)
                                 << "<default>"
                                 << "<default>" << false;
        QTest::newRow("10,000 characters") << "[Path]\ntxtPath=" + QByteArray(10000, 'x') + "\n"
                                           << QString(10000, u'x') << "<default>" << false;
    }
    void settingsAreReadWithDefaults() {
        QFETCH(QByteArray, ini);
        QFETCH(QString, txtPath);
        QFETCH(QString, imgPath);
        QFETCH(bool, autoSave);
        TestRig rig;
        const QString file = rig.path(QStringLiteral("written.ini"));
        if (!ini.isNull()) {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(ini);
        }
        SettingsStore store(file);
        Module1 m(rig.m.platform, store, rig.dir.path());
        m.ReadSettings();
        const auto orDefault = [&](const QString &v, const char *sub) {
            return v == u"<default>" ? rig.dir.path() + QLatin1String(sub) : v;
        };
        QCOMPARE(m.TxtPath, orDefault(txtPath, "/data/text"));
        QCOMPARE(m.ImgPath, orDefault(imgPath, "/data/image"));
        QCOMPARE(m.OthPath, rig.dir.path() + QStringLiteral("/data/other"));
        QCOMPARE(m.AutoSave, autoSave);
        QCOMPARE(QFile::exists(file), !ini.isNull()); // defaults are never written back
        QCOMPARE(settingToBool(QStringLiteral("1")), true);
    }

    void dataFoldersAreProvidedAtStart() {
        TestRig rig;
        QDir(rig.path(QStringLiteral("data"))).removeRecursively();
        rig.m.TxtPath = rig.path(QStringLiteral("typed"));
#ifndef Q_OS_WIN
        QDir().mkpath(rig.m.tempImageFolder());
        QFile::setPermissions(rig.m.tempImageFolder(), QFile::ReadOwner | QFile::WriteOwner |
                                                           QFile::ExeOwner | QFile::ReadOther);
#endif
        rig.m.ProvideDataFolders();
        for (const char *sub : {"data/text", "data/image", "data/other", "data/image/temp"})
            QVERIFY2(QFileInfo(rig.path(QString::fromLatin1(sub))).isDir(), sub);
        QVERIFY(!QFileInfo::exists(rig.m.TxtPath)); // a folder the user typed is never made
#ifndef Q_OS_WIN
        // Owner-only, also when an older run left it open to others.
        QCOMPARE(QFile::permissions(rig.m.tempImageFolder()) &
                     (QFile::ReadGroup | QFile::ReadOther | QFile::ExeOther),
                 QFile::Permissions());
#endif
    }

    void programFolderFallsBackToUserData() {
        TestRig rig;
        const QString userData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QCOMPARE(resolveProgramFolder(rig.dir.path()), rig.dir.path());
        QCOMPARE(resolveProgramFolder(rig.path(QStringLiteral("nowhere"))), userData);
        // Installed as the build lays it out (bin/ beside share/orlo-clipboard/):
        // the writable bin folder of a root or ~/.local install is not for data,
        // and the manual is found in the shared folder.
        const QString bin = rig.path(QStringLiteral("usr/bin"));
        QVERIFY(QDir().mkpath(bin));
        QCOMPARE(resolveProgramFolder(bin), bin);
        QVERIFY(QDir().mkpath(rig.path(QStringLiteral("usr/share/orlo-clipboard"))));
        QCOMPARE(resolveProgramFolder(bin), userData);
        QCOMPARE(manualCandidates(userData, bin).last(),
                 rig.path(QStringLiteral("usr/share/orlo-clipboard/readme.htm")));
    }
};

QTEST_MAIN(tst_StartupSettings)
#include "tst_startup_settings.moc"
