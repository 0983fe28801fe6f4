// SPDX-License-Identifier: MIT
#include "ui/optionsdialog.h"

#include "ui/dialogframe.h"

#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

OptionsDialog::OptionsDialog(const Options &inForce, QWidget *parent)
    : QDialog(parent)
    , optClear(named(new QRadioButton(QStringLiteral("数据量超过100条后，自动覆盖原有数据")),
                     "optClear"))
    , optSave(
          named(new QRadioButton(QStringLiteral("数据量超过100条后，自动保存原有数据")), "optSave"))
    , foldersBox(named(new QGroupBox(QStringLiteral(" 数据存放路径设置 ")), "Frame2"))
    , txtTxt(named(new QLineEdit(QDir::toNativeSeparators(inForce.txtPath)), "txtTxt"))
    , txtImg(named(new QLineEdit(QDir::toNativeSeparators(inForce.imgPath)), "txtImg"))
    , txtOthers(named(new QLineEdit(QDir::toNativeSeparators(inForce.othPath)), "txtOthers")) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("选项"));

    auto *folders = new QFormLayout(foldersBox);
    folders->addRow(QStringLiteral("文本数据(*.htm)："), txtTxt);
    folders->addRow(QStringLiteral("图像数据(*.bmp)："), txtImg);
    folders->addRow(QStringLiteral("Flash和其他(*.*)："), txtOthers);
    for (QLineEdit *field : {txtTxt, txtImg, txtOthers})
        field->setMinimumWidth(224);

    auto *policy = new QGroupBox(QStringLiteral(" 数据处理设置 "));
    auto *policyLayout = new QVBoxLayout(policy);
    policyLayout->addWidget(optClear);
    policyLayout->addWidget(optSave);
    policyLayout->addWidget(foldersBox);
    auto *outer = new QGroupBox;
    (new QVBoxLayout(outer))->addWidget(policy);

    frameDialog(this, outer, "cmdOK", {optClear, optSave, txtTxt, txtImg, txtOthers});

    (inForce.autoSave ? optSave : optClear)->setChecked(true);
    foldersBox->setEnabled(inForce.autoSave);
    // The folders count only with the save policy.
    connect(optSave, &QRadioButton::toggled, foldersBox, &QGroupBox::setEnabled);
}

Options OptionsDialog::chosen() const {
    return {txtTxt->text(), txtImg->text(), txtOthers->text(), optSave->isChecked()};
}
