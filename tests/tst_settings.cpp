// SPDX-License-Identifier: MIT
// The four stored options, the data folders made at start, and where the
// program keeps its data.
#include "core/datafolders.h"
#include "core/settings.h"
#include "platform/programfolder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Settings : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString file(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void readWithDefaults_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("txtPath"); // "<default>" for the default
        QTest::addColumn<QString>("imgPath");
        QTest::addColumn<bool>("autoSave");
        const QString fallback = u"<default>"_s;
        QTest::newRow("nothing stored") << QByteArray() << fallback << fallback << false;
        QTest::newRow("stored as they stand")
            << "[Path]\ntxtPath=\nimgPath=\"/某处/图片 \"\n[Option]\nAutoSave=True\n"_ba
            << "" << u"/某处/图片 "_s << true;
        QTest::newRow("a number") << "[Option]\nAutoSave=1\n"_ba << fallback << fallback << true;
        QTest::newRow("not a flag")
            << "[Option]\nAutoSave=@Invalid()\n"_ba << fallback << fallback << false;
        QTest::newRow("garbled") << QByteArray("\xff\xfe[Path\x00\x01 txtPath=\n=\n[[[Option]", 30)
                                 << fallback << fallback << false;
        QTest::newRow("10,000 characters") << "[Path]\ntxtPath=" + QByteArray(10000, 'x') + "\n"
                                           << QString(10000, u'x') << fallback << false;
    }
    void readWithDefaults() {
        QFETCH(QByteArray, ini);
        QFETCH(QString, txtPath);
        QFETCH(QString, imgPath);
        QFETCH(bool, autoSave);
        const QString path = file(QTest::currentDataTag());
        if (!ini.isNull()) {
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly) && out.write(ini) == ini.size());
        }
        const Options options = readOptions(SettingsStore(path), u"/program"_s);
        const auto orDefault = [](const QString &v, const QString &sub) {
            return v == u"<default>" ? u"/program/data/"_s + sub : v;
        };
        QCOMPARE(options.txtPath, orDefault(txtPath, u"text"_s));
        QCOMPARE(options.imgPath, orDefault(imgPath, u"image"_s));
        QCOMPARE(options.othPath, u"/program/data/other"_s);
        QCOMPARE(options.autoSave, autoSave);
        QCOMPARE(options.showShortcut, u"Ctrl+Alt+V"_s);
        QCOMPARE(QFile::exists(path), !ini.isNull()); // defaults are never written back
        QFile kept(path);                             // nor a garbled file tidied up
        QVERIFY(ini.isNull() || (kept.open(QIODevice::ReadOnly) && kept.readAll() == ini));
    }

    void writtenAsTheDialogChose() {
        // (What each policy stores, as the dialog writes it: tst_dialogs.)
        // The shortcut stored empty is none.
        SettingsStore store(file("written.ini"));
        QVERIFY(writeOptions(store, {u"a"_s, u"b"_s, u"c"_s, false, QString()}).ok());
        QCOMPARE(readOptions(store, u"/p"_s).showShortcut, QString());
        // A store that cannot be written says which keys were lost.
        QVERIFY(QDir().mkpath(file("folder.ini")));
        SettingsStore unwritable(file("folder.ini"));
        QCOMPARE(writeOptions(unwritable, {u"x"_s, u"y"_s, u"z"_s, true, {}}).detail,
                 u"txtPath, imgPath, othPath, AutoSave, ShowShortcut"_s);
    }

    void dataFoldersAreProvided() {
        const DataFolders folders(dir.path());
        QVERIFY(QDir().mkpath(folders.temp()));
        QFile::setPermissions(folders.temp(), QFile::ReadOwner | QFile::WriteOwner |
                                                  QFile::ExeOwner | QFile::ReadOther);
        folders.provide();
        for (const char *sub : {"data/text", "data/image", "data/other", "data/image/temp"})
            QVERIFY2(QFileInfo(file(sub)).isDir(), sub);
#ifndef Q_OS_WIN
        // Owner-only, also when an older run left it open to others.
        QCOMPARE(QFile::permissions(folders.temp()) &
                     (QFile::ReadGroup | QFile::ReadOther | QFile::ExeOther),
                 QFile::Permissions());
#endif
    }

    void programFolderFallsBackToUserData() {
        const QString userData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QCOMPARE(resolveProgramFolder(dir.path()), dir.path());
        QCOMPARE(resolveProgramFolder(file("nowhere")), userData);
        // Installed as the build lays it out (bin/ beside share/orlo-clipboard/):
        // the writable bin folder of a root or ~/.local install is not for data.
        const QString bin = file("usr/bin");
        QVERIFY(QDir().mkpath(bin));
        QCOMPARE(resolveProgramFolder(bin), bin);
        QVERIFY(QDir().mkpath(file("usr/share/orlo-clipboard")));
        QCOMPARE(resolveProgramFolder(bin), userData);
        QCOMPARE(installedDataFolder(bin), file("usr/share/orlo-clipboard"));
    }
};

QTEST_MAIN(tst_Settings)
#include "tst_settings.moc"
