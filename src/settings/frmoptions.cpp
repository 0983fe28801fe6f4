// SPDX-License-Identifier: MIT
#include "settings/frmoptions.h"

#include "app/module1.h"
#include "settings/dialoglayout.h"
#include "settings/settingsstore.h"
#include "ui/frmmain.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

template <typename W> W *named(W *widget, const char *name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

frmOptions::frmOptions(Module1 &module, QWidget *parent)
    : QDialog(parent)
    , m(module) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("选项"));
    createControls();
    fixDialog(this, 6810, 4605, parent);
    Form_Load();
}

void frmOptions::createControls() {
    Frame1 = named(new QGroupBox(this), "Frame1");
    Frame1->setGeometry(tw(60), tw(0), tw(6660), tw(3975));
    Frame3 = named(new QGroupBox(QStringLiteral(" 数据处理设置 "), Frame1), "Frame3");
    Frame3->setGeometry(tw(150), tw(270), tw(6330), tw(3435));

    optClear =
        named(new QRadioButton(QStringLiteral("数据量超过100条后，自动覆盖原有数据"), Frame3),
              "optClear");
    placeTwips(optClear, 330, 375, 4875, 285);
    optClear->setChecked(true);
    optSave = named(new QRadioButton(QStringLiteral("数据量超过100条后，自动保存原有数据"), Frame3),
                    "optSave");
    placeTwips(optSave, 330, 765, 4800, 240);

    Frame2 = named(new QGroupBox(QStringLiteral(" 数据存放路径设置 "), Frame3), "Frame2");
    Frame2->setGeometry(tw(600), tw(1185), tw(5535), tw(2010));
    Label1 = named(new QLabel(QStringLiteral("文本数据(*.htm)："), Frame2), "Label1");
    placeTwips(Label1, 225, 450, 1530, 180);
    txtTxt = named(new QLineEdit(Frame2), "txtTxt");
    placeTwips(txtTxt, 1965, 375, 3360, 360);
    Label2 = named(new QLabel(QStringLiteral("图像数据(*.bmp)："), Frame2), "Label2");
    placeTwips(Label2, 225, 975, 1530, 180);
    txtImg = named(new QLineEdit(Frame2), "txtImg");
    placeTwips(txtImg, 1965, 877, 3360, 360);
    Label3 = named(new QLabel(QStringLiteral("Flash和其他(*.*)："), Frame2), "Label3");
    placeTwips(Label3, 225, 1485, 1620, 180);
    txtOthers = named(new QLineEdit(Frame2), "txtOthers");
    placeTwips(txtOthers, 1965, 1380, 3360, 360);
    Label1->setBuddy(txtTxt);
    Label2->setBuddy(txtImg);
    Label3->setBuddy(txtOthers);

    cmdCancel = named(new QPushButton(QStringLiteral("取消"), this), "cmdCancel");
    cmdCancel->setGeometry(tw(4380), tw(4080), tw(1095), tw(375));
    cmdOK = named(new QPushButton(QStringLiteral("确定"), this), "cmdOK");
    cmdOK->setGeometry(tw(5610), tw(4080), tw(1095), tw(375));

    setTabOrder(cmdOK, cmdCancel);
    setTabOrder(cmdCancel, optClear);
    setTabOrder(optClear, optSave);
    setTabOrder(optSave, txtTxt);
    setTabOrder(txtTxt, txtImg);
    setTabOrder(txtImg, txtOthers);
    cmdOK->setFocus();

    // A button becoming selected counts, whether by mouse, keyboard or Form_Load.
    connect(optSave, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optSave_Click();
    });
    connect(optClear, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optClear_Click();
    });
    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);
}

void frmOptions::Form_Load() {
    txtTxt->setText(m.TxtPath);
    txtImg->setText(m.ImgPath);
    txtOthers->setText(m.OthPath);
    if (m.AutoSave)
        optSave->setChecked(true);
    Frame2->setEnabled(m.AutoSave);
}

void frmOptions::optSave_Click() {
    Frame2->setEnabled(true);
}

void frmOptions::optClear_Click() {
    Frame2->setEnabled(false);
}

void frmOptions::cmdOK_Click() {
    const QString app = QString::fromUtf16(AppTitle);
    const bool save = optSave->isChecked();
    if (save) {
        const QString path = QStringLiteral("Path");
        const QString text = txtTxt->text();
        const QString image = txtImg->text();
        const QString other = txtOthers->text();
        m.settings.WriteSetting(app, path, QStringLiteral("txtPath"), text);
        m.settings.WriteSetting(app, path, QStringLiteral("imgPath"), image);
        m.settings.WriteSetting(app, path, QStringLiteral("othPath"), other);
        m.TxtPath = text;
        m.ImgPath = image;
        m.OthPath = other;
    }
    // The policy in force stays the one read at start until the next start.
    m.settings.WriteSetting(app, QStringLiteral("Option"), QStringLiteral("AutoSave"),
                            boolSettingText(save));
    accept();
}

void frmOptions::cmdCancel_Click() {
    reject();
}

void frmMain::menuOption_Click() {
    frmOptions dialog(m, this);
    dialog.exec();
}
