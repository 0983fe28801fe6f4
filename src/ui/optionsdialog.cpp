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
    , m_overwrite(named(new QRadioButton(QStringLiteral("数据量超过100条后，自动覆盖原有数据")),
                        "optClear"))
    , m_save(
          named(new QRadioButton(QStringLiteral("数据量超过100条后，自动保存原有数据")), "optSave"))
    , m_folders(named(new QGroupBox(QStringLiteral(" 数据存放路径设置 ")), "Frame2"))
    , m_textFolder(named(new QLineEdit(QDir::toNativeSeparators(inForce.txtPath)), "txtTxt"))
    , m_pictureFolder(named(new QLineEdit(QDir::toNativeSeparators(inForce.imgPath)), "txtImg"))
    , m_otherFolder(named(new QLineEdit(QDir::toNativeSeparators(inForce.othPath)), "txtOthers")) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("选项"));

    // Read by its own title (screen readers took the group's around it).
    m_folders->setAccessibleName(m_folders->title().trimmed());
    auto *folders = new QFormLayout(m_folders);
    folders->addRow(QStringLiteral("文本数据(*.htm)："), m_textFolder);
    folders->addRow(QStringLiteral("图像数据(*.bmp)："), m_pictureFolder);
    folders->addRow(QStringLiteral("Flash和其他(*.*)："), m_otherFolder);
    for (QLineEdit *field : {m_textFolder, m_pictureFolder, m_otherFolder})
        field->setMinimumWidth(224);

    auto *policy = new QGroupBox(QStringLiteral(" 数据处理设置 "));
    auto *policyLayout = new QVBoxLayout(policy);
    policyLayout->addWidget(m_overwrite);
    policyLayout->addWidget(m_save);
    policyLayout->addWidget(m_folders);
    auto *outer = new QGroupBox;
    (new QVBoxLayout(outer))->addWidget(policy);

    frameDialog(this, outer, "cmdOK",
                {m_overwrite, m_save, m_textFolder, m_pictureFolder, m_otherFolder});

    (inForce.autoSave ? m_save : m_overwrite)->setChecked(true);
    m_folders->setEnabled(inForce.autoSave);
    // The folders count only with the save policy.
    connect(m_save, &QRadioButton::toggled, m_folders, &QGroupBox::setEnabled);
}

Options OptionsDialog::chosen() const {
    return {m_textFolder->text(), m_pictureFolder->text(), m_otherFolder->text(),
            m_save->isChecked()};
}
