// SPDX-License-Identifier: MIT
#include "settings/frmoptions.h"
#include "settings/frmsetskin.h"
#include "settings/help.h"
#include "testrig.h"
#include "ui/frmmain.h"
#include "ui/textbox.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStringDecoder>
#include <QTimer>

namespace {

const QString App = QStringLiteral("Orlo粘贴板");

QString stored(TestRig &rig, const char *section, const char *key) {
    return rig.settings.ReadSetting(App, section, key, QStringLiteral("<none>"));
}

/// Text typed by the user, Chinese through the input method.
void type(QWidget *box, const QString &text) {
    QInputMethodEvent typed;
    typed.setCommitString(text);
    QApplication::sendEvent(box, &typed);
}

/// An item chosen from a combo box's list.
void choose(QComboBox *box, const QString &item) {
    box->setCurrentIndex(box->findText(item));
    emit box->activated(box->currentIndex());
}

/// The control that has the focus when the dialog opens.
QWidget *focusAtOpening(QDialog &dialog) {
    dialog.show();
    return QTest::qWaitForWindowActive(&dialog) ? QApplication::focusWidget() : nullptr;
}

/// Leaves the dialog by Cancel (0), Esc (1) or the close box (2).
void leave(QDialog &dialog, QPushButton *cancel, int how) {
    if (how == 0)
        cancel->click();
    else if (how == 1)
        QTest::keyClick(&dialog, Qt::Key_Escape);
    else
        dialog.close();
}

struct Look {
    QString family;
    bool bold, italic;
    qreal size;
    QColor text, base;
    bool operator==(const Look &) const = default;
};
Look lookOf(const QWidget *w) {
    return {w->font().family(),
            w->font().bold(),
            w->font().italic(),
            w->font().pointSizeF(),
            w->palette().color(QPalette::Text),
            w->palette().color(QPalette::Base)};
}
Look defaultLook() {
    QLineEdit fresh;
    return lookOf(&fresh);
}

} // namespace

class tst_SettingsDialogs : public QObject {
    Q_OBJECT

private slots:
    // Options.

    void optionsOpening_data() {
        QTest::addColumn<QString>("stored");
        QTest::newRow("first start") << "";
        QTest::newRow("save policy stored") << "True";
    }
    void optionsOpening() {
        QFETCH(QString, stored);
        TestRig rig;
        if (!stored.isEmpty())
            rig.settings.WriteSetting(App, "Option", "AutoSave", stored);
        rig.m.ReadSettings();
        frmOptions dialog(rig.m);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("选项"));
        QCOMPARE(dialog.size(), QSize(tw(6810), tw(4605)));
        QCOMPARE(dialog.optSave->isChecked(), !stored.isEmpty());
        QCOMPARE(dialog.optClear->isChecked(), stored.isEmpty());
        QCOMPARE(dialog.Frame2->isEnabled(), !stored.isEmpty());
        QCOMPARE(dialog.txtTxt->text(), rig.dir.path() + "/data/text");
        QCOMPARE(dialog.txtImg->text(), rig.dir.path() + "/data/image");
        QCOMPARE(dialog.txtOthers->text(), rig.dir.path() + "/data/other");
        QCOMPARE(focusAtOpening(dialog), dialog.cmdOK);
    }

    void optionsOk_data() {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("folder");
        QTest::newRow("overwrite, after editing the folders") << false << "/tmp/别的";
        QTest::newRow("save, a new folder as typed") << true << "/数据/文本 ";
        QTest::newRow("save, a folder emptied") << true << "";
    }
    void optionsOk() {
        QFETCH(bool, save);
        QFETCH(QString, folder);
        TestRig rig;
        const QString before = rig.m.TxtPath;
        frmOptions dialog(rig.m);
        dialog.show();
        QTest::mouseClick(dialog.optSave, Qt::LeftButton);
        QVERIFY(dialog.txtTxt->isEnabled());
        dialog.txtTxt->selectAll();
        QTest::keyClick(dialog.txtTxt, Qt::Key_Delete);
        type(dialog.txtTxt, folder);
        if (!save) {
            QTest::mouseClick(dialog.optClear, Qt::LeftButton);
            QVERIFY(!dialog.txtTxt->isEnabled());
        }
        QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(stored(rig, "Option", "AutoSave"), save ? "True" : "False");
        QCOMPARE(stored(rig, "Path", "txtPath"), save ? folder : "<none>");
        QCOMPARE(stored(rig, "Path", "imgPath"), save ? rig.m.ImgPath : "<none>");
        QCOMPARE(rig.m.TxtPath, save ? folder : before);
        // The policy in force stays until the next start, also for the dialog.
        QCOMPARE(rig.m.AutoSave, false);
        QVERIFY(frmOptions(rig.m).optClear->isChecked());
    }

    void leavingWithoutOkChangesNothing_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("Cancel") << 0;
        QTest::newRow("Esc") << 1;
        QTest::newRow("close box") << 2;
    }
    void leavingWithoutOkChangesNothing() {
        QFETCH(int, how);
        TestRig rig;
        frmMain form(rig.m);
        const QString folder = rig.m.TxtPath;
        frmOptions options(rig.m);
        options.show();
        QVERIFY(QTest::qWaitForWindowActive(&options));
        options.optSave->setChecked(true);
        options.txtTxt->setText(QStringLiteral("/tmp/不要"));
        leave(options, options.cmdCancel, how);
        QVERIFY(!options.isVisible());
        QCOMPARE(rig.m.TxtPath, folder);

        const Look look = lookOf(form.txtMain);
        frmSetSkin skin(form);
        skin.show();
        QVERIFY(QTest::qWaitForWindowActive(&skin));
        choose(skin.cmbIBU, QStringLiteral("粗体"));
        choose(skin.cmbBColor, QStringLiteral("黄色"));
        leave(skin, skin.cmdCancel, how);
        QVERIFY(!skin.isVisible());
        QCOMPARE(lookOf(form.txtMain), look);
        QVERIFY(!QFile::exists(rig.path(QStringLiteral("settings.ini"))));
    }

    void openedFromTheMainWindow_data() {
        QTest::addColumn<int>("tool");
        QTest::newRow("options, menu") << 0;
        QTest::newRow("options, toolbar") << 6;
        QTest::newRow("appearance, menu") << 1;
        QTest::newRow("appearance, toolbar") << 5;
    }
    void openedFromTheMainWindow() {
        QFETCH(int, tool);
        TestRig rig;
        frmMain form(rig.m);
        QString title;
        // Runs inside the dialog's own event loop, so the dialog is open.
        QTimer::singleShot(0, &form, [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            title = dialog ? dialog->windowTitle() : QString();
            if (auto *options = qobject_cast<frmOptions *>(dialog)) {
                options->optSave->setChecked(true);
                options->cmdOK->click();
            } else if (auto *skin = qobject_cast<frmSetSkin *>(dialog)) {
                choose(skin->cmbIBU, QStringLiteral("粗体"));
                skin->cmdApply->click();
            } else if (dialog) {
                dialog->close();
            }
        });
        if (tool > 1)
            form.imgTool_Click(tool);
        else
            (tool == 0 ? form.menuOption : form.menuSkin)->trigger();
        if (tool == 0 || tool == 6) {
            QCOMPARE(title, QStringLiteral("选项"));
            QCOMPARE(stored(rig, "Option", "AutoSave"), QStringLiteral("True"));
        } else {
            QCOMPARE(title, QStringLiteral("文本管理界面设置"));
            QVERIFY(form.txtMain->font().bold());
        }
        QVERIFY(form.findChildren<QDialog *>().isEmpty());
    }

    // Appearance.

    void appearanceOpening() {
        TestRig rig;
        frmMain form(rig.m);
        frmSetSkin dialog(form);
        QCOMPARE(dialog.size(), QSize(tw(6150), tw(4770)));
        const auto items = [](QComboBox *box) {
            QStringList list;
            for (int i = 0; i < box->count(); ++i)
                list.append(box->itemText(i));
            return list;
        };
        const QStringList colors{"黑色", "白色", "红色", "黄色", "蓝色", "绿色", "青色"};
        QCOMPARE(items(dialog.cmbFont), QFontDatabase::families());
        QCOMPARE(items(dialog.cmbIBU), (QStringList{"常规", "粗体", "斜体", "粗斜体"}));
        QCOMPARE(items(dialog.cmbSize).size(), 50);
        QCOMPARE(items(dialog.cmbFColor), colors);
        QCOMPARE(items(dialog.cmbBColor), colors);
        for (const auto &[box, text] : {std::pair{dialog.cmbFColor, "黑色"},
                                        {dialog.cmbBColor, "白色"},
                                        {dialog.cmbFont, "宋体"},
                                        {dialog.cmbIBU, "常规"},
                                        {dialog.cmbSize, "9"}}) {
            QCOMPARE(box->currentText(), QString::fromUtf8(text));
            QCOMPARE(box->currentIndex(), -1);
        }
        QCOMPARE(lookOf(dialog.txtPre), defaultLook());
        QCOMPARE(focusAtOpening(dialog), dialog.cmdApply);
    }

    void colors_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("value");
        QTest::newRow("black") << "黑色" << 0;
        QTest::newRow("red") << "红色" << 255;
        QTest::newRow("green") << "绿色" << 65280;
        QTest::newRow("yellow") << "黄色" << 65535;
        QTest::newRow("blue") << "蓝色" << 16711680;
        QTest::newRow("cyan") << "青色" << 16776960;
        QTest::newRow("white") << "白色" << 16777215;
        QTest::newRow("not in the list") << "红" << -1;
    }
    void colors() {
        QFETCH(QString, name);
        QFETCH(int, value);
        QCOMPARE(frmSetSkin::funSetColor(name), value);
    }

    void styles_data() {
        QTest::addColumn<QString>("style");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::newRow("regular") << "常规" << false << false;
        QTest::newRow("bold") << "粗体" << true << false;
        QTest::newRow("italic") << "斜体" << false << true;
        QTest::newRow("bold italic") << "粗斜体" << true << true;
    }
    void styles() {
        QFETCH(QString, style);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        TestRig rig;
        frmMain form(rig.m);
        for (const char *before : {"常规", "粗斜体"}) {
            frmSetSkin dialog(form);
            choose(dialog.cmbIBU, QString::fromUtf8(before));
            choose(dialog.cmbIBU, style);
            QCOMPARE(dialog.txtPre->font().bold(), bold);
            QCOMPARE(dialog.txtPre->font().italic(), italic);
        }
    }

    void typing() {
        TestRig rig;
        frmMain form(rig.m);
        frmSetSkin dialog(form);
        QLineEdit *size = dialog.cmbSize->lineEdit();
        size->clear();
        const std::pair<const char *, qreal> keys[] = {
            {"1", 1}, {"2", 12}, {"abc", 12}, {"\b\b\b\b.5", 1.5}, {"0", 1.5}, {"\b\b\b\b", 1}};
        for (const auto &[typed, points] : keys) {
            for (const char *key = typed; *key; ++key)
                if (*key == '\b')
                    QTest::keyClick(size, Qt::Key_Backspace);
                else
                    QTest::keyClick(size, *key);
            QCOMPARE(dialog.txtPre->font().pointSizeF(), points);
        }
        // Typing into the other boxes chooses nothing.
        for (QComboBox *box : {dialog.cmbFColor, dialog.cmbBColor, dialog.cmbIBU, dialog.cmbFont}) {
            box->lineEdit()->selectAll();
            type(box->lineEdit(), box == dialog.cmbFont ? QStringLiteral("DejaVu Serif")
                                                        : box->itemText(box->count() - 1));
        }
        Look expected = defaultLook();
        expected.size = 1;
        QCOMPARE(lookOf(dialog.txtPre), expected);
    }

    void okGivesTheTextBoxThePreviewLook() {
        TestRig rig;
        frmMain form(rig.m);
        form.txtMain->setText(QStringLiteral("文字 text"));
        frmSetSkin dialog(form);
        const QString family = dialog.cmbFont->itemText(dialog.cmbFont->count() - 1);
        choose(dialog.cmbFont, family);
        choose(dialog.cmbIBU, QStringLiteral("粗斜体"));
        choose(dialog.cmbSize, QStringLiteral("20"));
        choose(dialog.cmbFColor, QStringLiteral("红色"));
        choose(dialog.cmbBColor, QStringLiteral("青色"));
        dialog.cmdApply->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(lookOf(form.txtMain), (Look{family, true, true, 20, Qt::red, Qt::cyan}));
        QCOMPARE(frmSetSkin::valueOfColor(form.txtMain->palette().color(QPalette::Base)), 16776960);
        QCOMPARE(form.txtMain->text(), QStringLiteral("文字 text"));
        // The colours really show on the text view.
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QImage shot = form.txtMain->viewport()->grab().toImage();
        QCOMPARE(shot.pixelColor(shot.width() - 3, shot.height() - 3), QColor(Qt::cyan));

        // OK at once gives the default look back.
        frmSetSkin(form).cmdApply_Click();
        QCOMPARE(lookOf(form.txtMain), defaultLook());
    }

    // Help.

    void launchFailure_data() {
        QTest::addColumn<bool>("forum");
        QTest::addColumn<QString>("message");
        QTest::newRow("manual") << false << "IE浏览器启动过程中发生未知错误，请检查IE浏览器。";
        QTest::newRow("forum") << true
                               << "IE浏览器启动过程中发生未知错误，请手动启动浏览器访问" +
                                      QString::fromUtf16(ForumAddress) + "。";
    }
    void launchFailure() {
        QFETCH(bool, forum);
        QFETCH(QString, message);
        TestRig rig;
        frmMain form(rig.m);
        rig.launcher.succeed = false;
        forum ? form.menuDownload_Click() : form.imgTool_Click(7);
        QCOMPARE(rig.launcher.opened.size(), 1);
        QCOMPARE(rig.launcher.opened.at(0).isLocalFile(), !forum);
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.dialogs.messages.at(0).icon, QMessageBox::Critical);
        QCOMPARE(rig.dialogs.messages.at(0).text, message);
        QCOMPARE(rig.dialogs.messages.at(0).caption, App);
    }

    void manualIsLookedForInOrder() {
        QTemporaryDir dir;
        const QString program = dir.filePath(QStringLiteral("程序 文件夹"));
        const QString executable = dir.filePath(QStringLiteral("bin"));
        const QStringList places{program + "/readme.htm", executable + "/readme.htm",
                                 QStringLiteral(ORLO_DATA_DIR "/readme.htm")};
        QCOMPARE(manualCandidates(program, executable), places);
        QCOMPARE(findManual(program, executable), places.at(0)); // for the browser to report
        for (int i : {1, 0}) {
            QDir().mkpath(QFileInfo(places.at(i)).path());
            QFile(places.at(i)).open(QIODevice::WriteOnly);
            QCOMPARE(findManual(program, executable), places.at(i));
        }
    }

    void aboutBox() {
        TestRig rig;
        frmMain form(rig.m);
        form.imgTool_Click(8);
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.dialogs.messages.at(0).icon, QMessageBox::Information);
        QCOMPARE(rig.dialogs.messages.at(0).text.split("\r\n"),
                 (QStringList{form.windowTitle(), "", "作者：Orlo粘贴板开发组", "",
                              "二〇二六年十二月"}));
    }

    void manualExplainsEveryMenuItem() {
        QFile file(QFINDTESTDATA("../resources/readme.htm"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString manual = utf8(file.readAll());
        QVERIFY(!utf8.hasError());
        QVERIFY(manual.contains(QStringLiteral("charset=utf-8")));
        TestRig rig;
        frmMain form(rig.m);
        for (QMenu *menu : {form.menuF, form.menuV, form.menuS, form.menuH}) {
            for (const QAction *action : menu->actions())
                QVERIFY2(manual.contains(action->text()), qPrintable(action->text()));
        }
    }
};

QTEST_MAIN(tst_SettingsDialogs)
#include "tst_settingsdialogs.moc"
