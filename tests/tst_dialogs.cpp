// SPDX-License-Identifier: MIT
// The options: read with their defaults, written, and set by the options
// dialog as the menu opens it; the appearance dialog; the data folders made
// at start and where the program keeps its data; and the help commands.
#include "platform/autostart.h"
#include "platform/programfolder.h"
#include "platform/qtdialogs.h"
#include "ui/appearancedialog.h"
#include "ui/helpcommands.h"
#include "windowrig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {

QString stored(TestRig &rig, const char *section, const char *key) {
    return rig.settings.readSetting(section, key, u"<none>"_s);
}

void choose(QComboBox *box, const QString &item) {
    box->setCurrentIndex(box->findText(item));
    emit box->activated(box->currentIndex());
}

/// Leaves a dialog by Cancel (0), Esc (1) or OK (2).
/// Whether it had opened with the focus on OK.
bool leave(QDialog *dialog, int how) {
    auto *ok = dialog->findChild<QPushButton *>(u"cmdOK"_s);
    const bool focused = dialog->focusWidget() == ok;
    if (how == 1)
        QTest::keyClick(dialog, Qt::Key_Escape);
    else
        (how ? ok : dialog->findChild<QPushButton *>(u"cmdCancel"_s))->click();
    return focused;
}

QString lookOf(const QWidget &w) {
    const QFont f = w.font();
    QString look;
    QDebug(&look).noquote() << f.family() << f.bold() << f.italic() << f.pointSizeF()
                            << w.palette().color(QPalette::Text).name()
                            << w.palette().color(QPalette::Base).name();
    return look.trimmed();
}

} // namespace

class tst_Dialogs : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString file(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

private slots:
    void leaving_data() {
        QTest::addColumn<bool>("atStart"); // the save policy was stored before the start
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("how");
        QTest::newRow("first start, Cancel") << false << true << "/tmp/不要" << 0;
        QTest::newRow("save policy stored, Esc") << true << false << "/tmp/不要" << 1;
        QTest::newRow("save, edit, back to overwrite, OK") << false << false << "/tmp/别的" << 2;
        QTest::newRow("save, a new folder, OK") << false << true << "/数据/文本 " << 2;
    }
    void leaving() {
        QFETCH(bool, atStart);
        QFETCH(bool, save);
        QFETCH(QString, folder);
        QFETCH(int, how);
        WindowRig rig(atStart);
        if (atStart)
            rig.settings.writeSetting(u"Option"_s, u"AutoSave"_s, u"True"_s);
        const QString data = rig.dir.path() + "/data/";
        QList<bool> seen; // policy, folders enabled, then after the choice; focus on OK
        whenModal([&](QDialog *dialog) {
            auto *saving = dialog->findChild<QRadioButton *>(u"optSave"_s);
            auto *texts = dialog->findChild<QLineEdit *>(u"txtTxt"_s);
            seen << saving->isChecked() << dialog->findChild<QWidget *>(u"Frame2"_s)->isEnabled();
            saving->click();
            texts->setText(folder);
            if (!save)
                dialog->findChild<QRadioButton *>(u"optClear"_s)->click();
            seen << texts->isEnabled() << leave(dialog, how);
        });
        rig.trigger("menuOption");
        QCOMPARE(seen, (QList<bool>{atStart, atStart, save, true}));
        const bool ok = how == 2;
        QCOMPARE(stored(rig, "Option", "AutoSave"),
                 ok ? (save ? "True" : "False") : (atStart ? "True" : "<none>"));
        QCOMPARE(stored(rig, "Path", "txtPath"), ok && save ? folder : "<none>");
        QCOMPARE(stored(rig, "Path", "imgPath"),
                 ok && save ? QDir::toNativeSeparators(data + "image") : "<none>");
        QCOMPARE(rig.store.options().txtPath, ok && save ? folder : data + "text");
        QCOMPARE(rig.store.options().autoSave, atStart); // until the next start

        QVERIFY(rig.dialogs.messages.isEmpty());
    }

    void shortcutAndStartAtLogin() {
        WindowRig rig;
        QSignalSpy chosen(&rig.form, &MainWindow::shortcutChosen);
        const QString entry =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            u"/autostart/orlo-clipboard.desktop"_s;
        QVERIFY(autostart::setEnabled(false).ok());
        // Twice: on and a new combination, then off and none.
        for (const bool on : {true, false}) {
            whenModal([&](QDialog *dialog) {
                auto *atLogin = dialog->findChild<QCheckBox *>(u"chkAutostart"_s);
                QCOMPARE(atLogin->isChecked(), !on); // the state as it is
                atLogin->setChecked(on);
                if (on)
                    QTest::keyClick(dialog->findChild<QKeySequenceEdit *>(u"keyShow"_s), Qt::Key_F9,
                                    Qt::ControlModifier | Qt::ShiftModifier);
                else
                    dialog->findChild<QPushButton *>(u"cmdClearShortcut"_s)->click();
                leave(dialog, 2);
            });
            rig.trigger("menuOption");
            QCOMPARE(autostart::enabled(), on);
            // Not installed: run by its path (Linux; Windows keeps it in the registry).
            QVERIFY(!on || !QFile::exists(entry) ||
                    contents(entry).contains(
                        "\nExec=\"" + QCoreApplication::applicationFilePath().toUtf8() + "\"\n"));
        }
        QCOMPARE(chosen, (QList<QVariantList>{{u"Ctrl+Shift+F9"_s}, {QString()}}));
        QCOMPARE(stored(rig, "Option", "ShowShortcut"), QString());
        QVERIFY(rig.dialogs.messages.isEmpty());
    }

    void appearance() {
        WindowRig rig;
        AppearanceDialog dialog(rig.find("txtMain"));
        const auto box = [&](auto name) {
            return dialog.findChild<QComboBox *>(name);
        };
        auto *preview = dialog.findChild<QLineEdit *>(u"txtPre"_s);
        // A name typed into a list is no choice, nor is leaving the box.
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        for (const char *name : {"cmbFColor", "cmbBColor", "cmbStyle", "cmbFont"}) {
            QComboBox *list = box(name);
            list->setFocus();
            QTest::keyClick(list->lineEdit(), Qt::Key_Tab); // its initial text
            list->setFocus();
            list->lineEdit()->setText(list->itemText(list->count() - 1));
            QTest::keyClick(list->lineEdit(), Qt::Key_Tab);
        }
        QCOMPARE(lookOf(*preview), lookOf(QLineEdit()));
        // Every style sets both flags, after regular and after bold italic.
        const QStringList styles{"常规", "粗体", "斜体", "粗斜体"};
        for (int i = 0; i < 8; ++i) {
            choose(box("cmbStyle"), styles.at(i < 4 ? 0 : 3));
            choose(box("cmbStyle"), styles.at(i % 4));
            QCOMPARE(preview->font().bold(), i % 2 == 1);
            QCOMPARE(preview->font().italic(), i % 4 >= 2);
        }
        // The size follows every key; what is no size leaves it.
        const QStringList typed{"\b1", "2", "abc", "\b\b\b\b.5", "0", "\b\b\b\b"};
        const QList<qreal> sizes{1, 12, 12, 1.5, 1.5, 1};
        for (int i = 0; i < typed.size(); ++i) {
            QTest::keyClicks(box("cmbSize")->lineEdit(), typed.at(i));
            QCOMPARE(preview->font().pointSizeF(), sizes.at(i));
        }
        // OK gives the preview's look to the text view.
        choose(box("cmbFColor"), "红色");
        choose(box("cmbBColor"), "青色");
        dialog.accept();
        QCOMPARE(lookOf(*rig.find("txtMain")), lookOf(*preview));
        QVERIFY(lookOf(*preview).endsWith(u"#ff0000 #00ffff"_s));
    }

    void unsavedOptionsAreTold() {
        WindowRig rig;
        QFile::remove(rig.path(u"settings.ini"_s));
        QVERIFY(QDir().mkpath(rig.path(u"settings.ini"_s))); // cannot be written now
        whenModal([](QDialog *dialog) { dialog->accept(); });
        rig.trigger("menuOption");
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QVERIFY(rig.dialogs.messages.at(0).text.contains(
            QDir::toNativeSeparators(rig.path(u"settings.ini"_s))));
    }

    void qtsOwnBoxesSpeakChinese() {
        // Loaded as at the program's start: the buttons of Qt's own boxes.
        QTranslator words;
        QVERIFY(translateQt(words));
        QStringList buttons;
        whenModal([&](QDialog *box) {
            for (const QAbstractButton *button : box->findChild<QDialogButtonBox *>()->buttons())
                buttons << button->text();
            box->reject();
        });
        QtDialogs().input(u"签名"_s, u"清除签名"_s);
        buttons.sort();
        QCOMPARE(buttons, (QStringList{u"取消"_s, u"确定"_s}));
    }

    void help() {
        WindowRig rig;
        rig.launcher.succeed = false;
        for (const char *item : {"menuUser", "menuDownload", "menuAbout"})
            rig.trigger(item);
        // The manual and the forum go to the browser; when none starts, it is said.
        QCOMPARE(rig.launcher.opened.size(), 2);
        QVERIFY(rig.launcher.opened.at(0).toLocalFile().endsWith(u"/readme.htm"_s));
        QCOMPARE(rig.dialogs.messages.size(), 3);
        QVERIFY(rig.dialogs.messages.at(1).text.contains(QString::fromUtf16(ForumAddress)));
    }

    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void readWithDefaults_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QStringList>("paths"); // texts, pictures
        QTest::addColumn<bool>("autoSave");
        const QString image = u"/program/data/image"_s;
        const QStringList defaults{u"/program/data/text"_s, image};
        QTest::newRow("nothing stored") << QByteArray() << defaults << false;
        QTest::newRow("stored as they stand")
            << "[Path]\ntxtPath=\nimgPath=\"/某处/图片 \"\n[Option]\nAutoSave=True\n"_ba
            << QStringList{u""_s, u"/某处/图片 "_s} << true;
        QTest::newRow("a number") << "[Option]\nAutoSave=1\n"_ba << defaults << true;
        QTest::newRow("not a flag") << "[Option]\nAutoSave=@Invalid()\n"_ba << defaults << false;
        QTest::newRow("garbled") << QByteArray("\xff\xfe[Path\x00\x01 txtPath=\n=\n[[[Option]", 30)
                                 << defaults << false;
        QTest::newRow("10,000 characters") << "[Path]\ntxtPath=" + QByteArray(10000, 'x') + "\n"
                                           << QStringList{QString(10000, u'x'), image} << false;
    }
    void readWithDefaults() {
        QFETCH(QByteArray, ini);
        QFETCH(QStringList, paths);
        QFETCH(bool, autoSave);
        const QString path = file(QTest::currentDataTag());
        QVERIFY(ini.isNull() || written(path, ini));
        const Options options = readOptions(SettingsStore(path), u"/program"_s);
        QCOMPARE((QStringList{options.txtPath, options.imgPath}), paths);
        QCOMPARE(options.autoSave, autoSave);
        QCOMPARE(QFile::exists(path), !ini.isNull());   // defaults are never written back
        QVERIFY(ini.isNull() || contents(path) == ini); // nor a garbled file tidied up
    }

    void writtenAsTheDialogChose() {
        // (What each policy stores, as the dialog writes it: tst_dialogs.)
        // The shortcut stored empty is none.
        SettingsStore store(file("written.ini"));
        QVERIFY(writeOptions(store, {u"a"_s, u"b"_s, u"c"_s, false, QString()}).ok());
        QCOMPARE(readOptions(store, u"/p"_s).showShortcut, QString());
        // (A store that cannot be written: unsavedOptionsAreTold.)
    }

    void dataFoldersAreProvided() {
        const DataFolders folders(dir.path());
        QVERIFY(QDir().mkpath(folders.temp()));
        QFile::setPermissions(folders.temp(), QFile::ReadOwner | QFile::WriteOwner |
                                                  QFile::ExeOwner | QFile::ReadOther);
        folders.provide();
        // (The folders made: every test that saves, and tst_e2e_install.)
        // Owner-only, also when an older run left it open to others.
        QVERIFY(ownersOnly(folders.temp()));
    }

    void programFolderFallsBackToUserData() {
        const QString userData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QCOMPARE(resolveProgramFolder(dir.path()), dir.path());
        QCOMPARE(resolveProgramFolder(file("nowhere")), userData);
        // (Installed, the writable bin folder is not for data: tst_e2e_install.)
    }
};

QTEST_MAIN(tst_Dialogs)
#include "tst_dialogs.moc"
