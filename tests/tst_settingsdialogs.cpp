// SPDX-License-Identifier: MIT
#include "settings/frmoptions.h"
#include "settings/frmsetskin.h"
#include "settings/help.h"
#include "testrig.h"
#include "ui/frmmain.h"
#include "ui/textbox.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString App = QStringLiteral("Orlo粘贴板");

QString stored(TestRig &rig, const char *section, const char *key) {
    return rig.settings.ReadSetting(App, section, key, QStringLiteral("<none>"));
}

void choose(QComboBox *box, const QString &item) {
    box->setCurrentIndex(box->findText(item));
    emit box->activated(box->currentIndex());
}

/// Opens with the focus on OK, leaves by Cancel (0), Esc (1), close box (2) or OK (3).
void openAndLeave(QDialog &dialog, QPushButton *cancel, QPushButton *ok, int how) {
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(QApplication::focusWidget(), ok);
    how == 1   ? QTest::keyClick(&dialog, Qt::Key_Escape)
    : how == 2 ? void(dialog.close())
               : (how ? ok : cancel)->click();
    QVERIFY(!dialog.isVisible());
}

QString lookOf(const QWidget *w) {
    const QFont f = w->font();
    QString look;
    QDebug(&look).noquote() << f.family() << f.bold() << f.italic() << f.pointSizeF()
                            << w->palette().color(QPalette::Text).name()
                            << w->palette().color(QPalette::Base).name();
    return look.trimmed();
}

} // namespace

class tst_SettingsDialogs : public QObject {
    Q_OBJECT

private slots:
    void leaving_data() {
        QTest::addColumn<bool>("atStart"); // the save policy was stored before the start
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("how");
        QTest::newRow("first start, Cancel") << false << true << "/tmp/不要" << 0;
        QTest::newRow("save policy stored, Esc") << true << false << "/tmp/不要" << 1;
        QTest::newRow("close box") << false << true << "/tmp/不要" << 2;
        QTest::newRow("save, edit, back to overwrite, OK") << false << false << "/tmp/别的" << 3;
        QTest::newRow("save, a new folder, OK") << false << true << "/数据/文本 " << 3;
        QTest::newRow("save, a folder emptied, OK") << true << true << "" << 3;
    }
    void leaving() {
        QFETCH(bool, atStart);
        QFETCH(bool, save);
        QFETCH(QString, folder);
        QFETCH(int, how);
        TestRig rig;
        if (atStart)
            rig.settings.WriteSetting(App, "Option", "AutoSave", "True");
        rig.m.ReadSettings();
        frmMain form(rig.m);
        const QString data = rig.dir.path() + "/data/", look = lookOf(form.txtMain);
        frmOptions options(rig.m);
        QCOMPARE(options.optSave->isChecked(), atStart);
        QCOMPARE(options.Frame2->isEnabled(), atStart);
        QCOMPARE((QStringList{options.txtTxt->text(), options.txtImg->text(),
                              options.txtOthers->text()}),
                 (QStringList{data + "text", data + "image", data + "other"}));
        options.optSave->click();
        options.txtTxt->setText(folder);
        if (!save)
            options.optClear->click();
        QCOMPARE(options.txtTxt->isEnabled(), save);
        openAndLeave(options, options.cmdCancel, options.cmdOK, how);
        const bool ok = how == 3;
        QCOMPARE(stored(rig, "Option", "AutoSave"),
                 ok ? (save ? "True" : "False") : (atStart ? "True" : "<none>"));
        QCOMPARE(stored(rig, "Path", "txtPath"), ok && save ? folder : "<none>");
        QCOMPARE(stored(rig, "Path", "imgPath"), ok && save ? data + "image" : "<none>");
        QCOMPARE(rig.m.TxtPath, ok && save ? folder : data + "text");
        QCOMPARE(rig.m.AutoSave, atStart);
        QCOMPARE(frmOptions(rig.m).optSave->isChecked(), atStart);

        frmSetSkin skin(form);
        const QString family = skin.cmbFont->itemText(skin.cmbFont->count() - 1);
        choose(skin.cmbFont, family);
        choose(skin.cmbIBU, "粗斜体");
        choose(skin.cmbSize, "20");
        choose(skin.cmbFColor, "红色");
        choose(skin.cmbBColor, "青色");
        openAndLeave(skin, skin.cmdCancel, skin.cmdApply, how);
        QCOMPARE(lookOf(form.txtMain), ok ? family + " true true 20 #ff0000 #00ffff" : look);
        QCOMPARE(QFile::exists(rig.path(QStringLiteral("settings.ini"))), atStart || ok);
        frmSetSkin(form).cmdApply_Click();
        const QLineEdit fresh;
        QCOMPARE(lookOf(form.txtMain), lookOf(&fresh));
    }

    void appearance() {
        TestRig rig;
        frmMain form(rig.m);
        const QLineEdit fresh;
        frmSetSkin dialog(form);
        const QStringList names{"黑色", "红色", "绿色", "黄色", "蓝色", "青色", "白色", "红"};
        const QList<int> values{0, 255, 65280, 65535, 16711680, 16776960, 16777215, -1};
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(frmSetSkin::funSetColor(names.at(i)), values.at(i));
        // A name typed into a list is no choice.
        for (QComboBox *box : {dialog.cmbFColor, dialog.cmbBColor, dialog.cmbIBU, dialog.cmbFont})
            box->lineEdit()->setText(box->itemText(box->count() - 1));
        QCOMPARE(lookOf(dialog.txtPre), lookOf(&fresh));
        // Every style sets both flags, after regular and after bold italic.
        const QStringList styles{"常规", "粗体", "斜体", "粗斜体"};
        for (int i = 0; i < 8; ++i) {
            choose(dialog.cmbIBU, styles.at(i < 4 ? 0 : 3));
            choose(dialog.cmbIBU, styles.at(i % 4));
            QCOMPARE(dialog.txtPre->font().bold(), i % 2 == 1);
            QCOMPARE(dialog.txtPre->font().italic(), i % 4 >= 2);
        }
        const QStringList typed{"\b1", "2", "abc", "\b\b\b\b.5", "0", "\b\b\b\b"};
        const QList<qreal> sizes{1, 12, 12, 1.5, 1.5, 1};
        for (int i = 0; i < typed.size(); ++i) {
            QTest::keyClicks(dialog.cmbSize->lineEdit(), typed.at(i));
            QCOMPARE(dialog.txtPre->font().pointSizeF(), sizes.at(i));
        }
    }

    void help() {
        TestRig rig;
        frmMain form(rig.m);
        rig.launcher.succeed = false;
        form.imgTool_Click(7);
        form.menuDownload_Click();
        form.imgTool_Click(8);
        QCOMPARE(rig.launcher.opened.size(), 2);
        QStringList shown;
        for (const auto &box : std::as_const(rig.dialogs.messages))
            shown << QStringLiteral("%1 %2 %3").arg(int(box.icon)).arg(box.caption, box.text);
        const QString failed = "3 " + App + " IE浏览器启动过程中发生未知错误，";
        QCOMPARE(
            shown,
            (QStringList{failed + "请检查IE浏览器。",
                         failed + "请手动启动浏览器访问" + QString::fromUtf16(ForumAddress) + "。",
                         "1 " + App + ' ' + form.windowTitle() +
                             "\r\n\r\n作者：Orlo粘贴板开发组\r\n\r\n二〇二六年十二月"}));
    }
};

QTEST_MAIN(tst_SettingsDialogs)
#include "tst_settingsdialogs.moc"
