// SPDX-License-Identifier: MIT
#include "platform/programfolder.h"
#include "testrig.h"

#include <QFile>

class tst_StartupSettings : public QObject {
    Q_OBJECT

    /// Start-up over a settings file with the given bytes.
    static void startWithIni(TestRig &rig, const QByteArray &content) {
        const QString ini = rig.path(QStringLiteral("written.ini"));
        QFile file(ini);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        SettingsStore store(ini);
        Module1 m(rig.m.platform, store, rig.dir.path());
        m.ReadSettings();
        rig.m.TxtPath = m.TxtPath;
        rig.m.ImgPath = m.ImgPath;
        rig.m.AutoSave = m.AutoSave;
    }

private slots:
    void nothingStoredGivesTheDefaults() {
        TestRig rig;
        QCOMPARE(rig.m.TxtPath, rig.dir.path() + QStringLiteral("/data/text"));
        QCOMPARE(rig.m.ImgPath, rig.dir.path() + QStringLiteral("/data/image"));
        QCOMPARE(rig.m.OthPath, rig.dir.path() + QStringLiteral("/data/other"));
        QCOMPARE(rig.m.AutoSave, false);
        // Defaults are never written back.
        QVERIFY(!QFile::exists(rig.path(QStringLiteral("settings.ini"))));
    }

    void storedValuesAreUsedAsTheyStand() {
        TestRig rig;
        rig.settings.WriteSetting(QStringLiteral("Orlo粘贴板"), QStringLiteral("Path"),
                                  QStringLiteral("txtPath"), QString());
        rig.settings.WriteSetting(QStringLiteral("Orlo粘贴板"), QStringLiteral("Path"),
                                  QStringLiteral("imgPath"), QStringLiteral("/某处/图片 "));
        rig.settings.WriteSetting(QStringLiteral("Orlo粘贴板"), QStringLiteral("Option"),
                                  QStringLiteral("AutoSave"), QStringLiteral("True"));
        rig.m.ReadSettings();
        QCOMPARE(rig.m.TxtPath, QString());
        QCOMPARE(rig.m.ImgPath, QStringLiteral("/某处/图片 "));
        QCOMPARE(rig.m.OthPath, rig.dir.path() + QStringLiteral("/data/other"));
        QCOMPARE(rig.m.AutoSave, true);
    }

    void autoSaveText_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("expected");
        QTest::newRow("True") << "True" << true;
        QTest::newRow("False") << "False" << false;
        QTest::newRow("lower case true") << "true" << true;
        QTest::newRow("number") << "1" << true;
        QTest::newRow("zero") << "0" << false;
        QTest::newRow("garbage") << "yes please" << false;
        QTest::newRow("empty") << "" << false;
    }
    void autoSaveText() {
        QFETCH(QString, stored);
        QFETCH(bool, expected);
        QCOMPARE(settingToBool(stored), expected);
        QCOMPARE(boolSettingText(expected),
                 expected ? QStringLiteral("True") : QStringLiteral("False"));
    }

    void garbledSettingsFileGivesDefaults() {
        TestRig rig;
        startWithIni(rig,
                     QByteArray("\xff\xfe[Path\x00\x01 txtPath=\n=\n[[[Option]\nAutoSave", 40));
        QCOMPARE(rig.m.ImgPath, rig.dir.path() + QStringLiteral("/data/image"));
        QCOMPARE(rig.m.AutoSave, false);
    }

    void hugeAndOddValuesDoNotBreakStartUp() {
        TestRig rig;
        startWithIni(rig, "[Path]\ntxtPath=" + QByteArray(10000, 'x') +
                              "\nimgPath=a, b, c\n[Option]\nAutoSave=@Invalid()\n");
        QCOMPARE(rig.m.TxtPath.size(), 10000);
        QVERIFY(!rig.m.ImgPath.isEmpty());
        QCOMPARE(rig.m.AutoSave, false);
    }

    void dataFoldersAreProvidedAtStart() {
        TestRig rig;
        QDir(rig.path(QStringLiteral("data"))).removeRecursively();
        rig.m.ProvideDataFolders();
        for (const char *sub : {"data/text", "data/image", "data/other", "data/image/temp"})
            QVERIFY2(QFileInfo(rig.path(QString::fromLatin1(sub))).isDir(), sub);
#ifndef Q_OS_WIN
        QCOMPARE(QFile::permissions(rig.m.tempImageFolder()) &
                     (QFile::ReadGroup | QFile::ReadOther | QFile::ExeOther),
                 QFile::Permissions());
        // A temp folder left open to others by an older run is closed again.
        QFile::setPermissions(rig.m.tempImageFolder(), QFile::ReadOwner | QFile::WriteOwner |
                                                           QFile::ExeOwner | QFile::ReadOther |
                                                           QFile::ExeOther);
        rig.m.ProvideDataFolders();
        QCOMPARE(QFile::permissions(rig.m.tempImageFolder()) & QFile::ReadOther,
                 QFile::Permissions());
#endif
        // A folder the user typed in is never created.
        rig.m.TxtPath = rig.path(QStringLiteral("typed"));
        rig.m.ProvideDataFolders();
        QVERIFY(!QFileInfo::exists(rig.m.TxtPath));
    }

    void programFolderFallsBackToUserDataWhenNotWritable() {
        TestRig rig;
        QCOMPARE(resolveProgramFolder(rig.dir.path()), rig.dir.path());
        const QString readOnly = rig.path(QStringLiteral("ro"));
        QDir().mkpath(readOnly);
        QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner);
        const QString expected = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QCOMPARE(resolveProgramFolder(rig.path(QStringLiteral("nowhere"))), expected);
        if (QFileInfo(readOnly).isWritable())
            QSKIP("running as a user who may write anywhere");
        QCOMPARE(resolveProgramFolder(readOnly), expected);
    }
};

QTEST_MAIN(tst_StartupSettings)
#include "tst_startup_settings.moc"
