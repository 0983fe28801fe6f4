// SPDX-License-Identifier: MIT
#include "ui/optionsdialog.h"

#include "ui/dialogframe.h"
#include "ui/twips.h"

#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

OptionsDialog::OptionsDialog(const Options &inForce, QWidget *parent)
    : QDialog(parent)
    , optClear(named(new QRadioButton(QStringLiteral("数据量超过100条后，自动覆盖原有数据")),
                     "optClear"))
    , optSave(
          named(new QRadioButton(QStringLiteral("数据量超过100条后，自动保存原有数据")), "optSave"))
    , Frame2(named(new QGroupBox(QStringLiteral(" 数据存放路径设置 ")), "Frame2"))
    , txtTxt(named(new QLineEdit(QDir::toNativeSeparators(inForce.txtPath)), "txtTxt"))
    , txtImg(named(new QLineEdit(QDir::toNativeSeparators(inForce.imgPath)), "txtImg"))
    , txtOthers(named(new QLineEdit(QDir::toNativeSeparators(inForce.othPath)), "txtOthers"))
    , cmdCancel(named(new QPushButton(QStringLiteral("取消")), "cmdCancel"))
    , cmdOK(named(new QPushButton(QStringLiteral("确定")), "cmdOK")) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("选项"));

    auto *folders = new QFormLayout(Frame2);
    folders->addRow(QStringLiteral("文本数据(*.htm)："), txtTxt);
    folders->addRow(QStringLiteral("图像数据(*.bmp)："), txtImg);
    folders->addRow(QStringLiteral("Flash和其他(*.*)："), txtOthers);
    for (QLineEdit *field : {txtTxt, txtImg, txtOthers})
        field->setMinimumWidth(tw(3360));

    auto *policy = new QGroupBox(QStringLiteral(" 数据处理设置 "));
    auto *policyLayout = new QVBoxLayout(policy);
    policyLayout->addWidget(optClear);
    policyLayout->addWidget(optSave);
    policyLayout->addWidget(Frame2);
    auto *outer = new QGroupBox;
    (new QVBoxLayout(outer))->addWidget(policy);

    frameDialog(this, outer, cmdCancel, cmdOK, parent);
    setTabOrder(cmdCancel, optClear);
    setTabOrder(optClear, optSave);
    setTabOrder(optSave, txtTxt);
    setTabOrder(txtTxt, txtImg);
    setTabOrder(txtImg, txtOthers);

    (inForce.autoSave ? optSave : optClear)->setChecked(true);
    Frame2->setEnabled(inForce.autoSave);
    // The folders count only with the save policy.
    connect(optSave, &QRadioButton::toggled, Frame2, &QGroupBox::setEnabled);
}

Options OptionsDialog::chosen() const {
    return {txtTxt->text(), txtImg->text(), txtOthers->text(), optSave->isChecked()};
}
