// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class Module1;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

/// The options dialog: the overflow policy and the three data folders.
/// Built afresh at every opening from what is in force; OK stores the
/// choices, Cancel, Esc and the close box drop them.
class frmOptions final : public QDialog {
    Q_OBJECT
public:
    explicit frmOptions(Module1 &module, QWidget *parent = nullptr);

    Module1 &m;

    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame3 = nullptr;
    QRadioButton *optClear = nullptr;
    QRadioButton *optSave = nullptr;
    QGroupBox *Frame2 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *txtTxt = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *txtImg = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *txtOthers = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdOK = nullptr;

    /// Fills the controls from the shared state.
    void Form_Load();
    void optSave_Click();
    void optClear_Click();
    /// Stores the policy (and, with the save policy, the folders), then closes.
    void cmdOK_Click();
    void cmdCancel_Click();

private:
    void createControls();
};
