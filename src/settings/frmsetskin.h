// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QDialog>

class frmMain;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

/// The text view's appearance: font, style, size and colours, tried out on a
/// preview and given to the main window's text box on OK. Nothing is stored;
/// every opening starts from the default appearance.
class frmSetSkin final : public QDialog {
    Q_OBJECT
public:
    explicit frmSetSkin(frmMain &mainForm, QWidget *parent = nullptr);

    /// The main window whose text box takes the appearance.
    frmMain &form;

    QGroupBox *Frame1 = nullptr;
    QLabel *Label4 = nullptr;
    QComboBox *cmbFColor = nullptr;
    QLabel *Label5 = nullptr;
    QComboBox *cmbBColor = nullptr;
    QLabel *Label1 = nullptr;
    QComboBox *cmbFont = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *cmbIBU = nullptr;
    QLabel *Label3 = nullptr;
    QComboBox *cmbSize = nullptr;
    QGroupBox *Frame2 = nullptr;
    QLineEdit *txtPre = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdApply = nullptr;

    /// Colour value of a colour name, red in the low byte, green in the
    /// middle one, blue in the high one; -1 for a name outside the list.
    static qint32 funSetColor(const QString &txtColor);
    /// The colour a value from funSetColor() stands for.
    static QColor colorOfValue(qint32 value);
    /// The value of a colour, as funSetColor() packs it.
    static qint32 valueOfColor(const QColor &color);

    /// Fills the five lists and sets the fixed initial texts.
    void Form_Load();
    void cmbFont_Click();
    void cmbIBU_Click();
    void cmbSize_Click();
    void cmbSize_Change();
    void cmbFColor_Click();
    void cmbBColor_Click();
    /// Gives the preview's appearance to the main window's text box and closes.
    void cmdApply_Click();
    void cmdCancel_Click();

private:
    void createControls();
    void connectControls();
};

/// The seven colour names in the order of the lists.
QStringList colorNames();
