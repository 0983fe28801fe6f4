// SPDX-License-Identifier: MIT
#include "ui/optionsdialog.h"

#include "ui/dialogframe.h"

#include <QCheckBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

OptionsDialog::OptionsDialog(const Options &inForce, bool startsAtLogin, QWidget *parent)
    : QDialog(parent)
    , m_overwrite(named(new QRadioButton(QStringLiteral("数据量超过100条后，自动覆盖原有数据")),
                        "optClear"))
    , m_save(
          named(new QRadioButton(QStringLiteral("数据量超过100条后，自动保存原有数据")), "optSave"))
    , m_folders(named(new QGroupBox(QStringLiteral(" 数据存放路径设置 ")), "Frame2"))
    , m_textFolder(named(new QLineEdit(QDir::toNativeSeparators(inForce.txtPath)), "txtTxt"))
    , m_pictureFolder(named(new QLineEdit(QDir::toNativeSeparators(inForce.imgPath)), "txtImg"))
    , m_otherFolder(named(new QLineEdit(QDir::toNativeSeparators(inForce.othPath)), "txtOthers"))
    , m_shortcut(named(new QKeySequenceEdit(QKeySequence::fromString(inForce.showShortcut,
                                                                     QKeySequence::PortableText)),
                       "keyShow"))
    , m_atLogin(named(new QCheckBox(QStringLiteral("登录时启动")), "chkAutostart")) {
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
    // The shortcut and the start at login count whatever the policy.
    auto *clear = named(new QPushButton(QStringLiteral("清除")), "cmdClearShortcut");
    auto *shortcutRow = new QHBoxLayout;
    shortcutRow->addWidget(new QLabel(QStringLiteral("呼出窗口的快捷键：")));
    shortcutRow->addWidget(m_shortcut, 1);
    // Named for screen readers, with the field it types into.
    m_shortcut->setAccessibleName(QStringLiteral("呼出窗口的快捷键"));
    for (QWidget *field : m_shortcut->findChildren<QLineEdit *>())
        field->setAccessibleName(m_shortcut->accessibleName());
    shortcutRow->addWidget(clear);
    auto *hint = new QLabel(QStringLiteral("桌面不支持时，可在桌面的键盘设置中"
                                           "把快捷键绑定到命令 orlo-clipboard --show"));
    hint->setWordWrap(true);
    auto *outer = new QGroupBox;
    auto *outerLayout = new QVBoxLayout(outer);
    outerLayout->addWidget(policy);
    outerLayout->addLayout(shortcutRow);
    outerLayout->addWidget(hint);
    outerLayout->addWidget(m_atLogin);

    frameDialog(this, outer, "cmdOK",
                {m_overwrite, m_save, m_textFolder, m_pictureFolder, m_otherFolder, m_shortcut,
                 clear, m_atLogin});
    m_atLogin->setChecked(startsAtLogin);
    connect(clear, &QPushButton::clicked, m_shortcut, &QKeySequenceEdit::clear);
    // One combination: what is typed after the first one is dropped.
    connect(m_shortcut, &QKeySequenceEdit::keySequenceChanged, this,
            [this](const QKeySequence &keys) {
                if (keys.count() > 1)
                    m_shortcut->setKeySequence(QKeySequence(keys[0]));
            });

    (inForce.autoSave ? m_save : m_overwrite)->setChecked(true);
    m_folders->setEnabled(inForce.autoSave);
    // The folders count only with the save policy.
    connect(m_save, &QRadioButton::toggled, m_folders, &QGroupBox::setEnabled);
}

Options OptionsDialog::chosen() const {
    return {m_textFolder->text(), m_pictureFolder->text(), m_otherFolder->text(),
            m_save->isChecked(), m_shortcut->keySequence().toString(QKeySequence::PortableText)};
}

bool OptionsDialog::startAtLogin() const {
    return m_atLogin->isChecked();
}
