// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

/// The text view's appearance: font, style, size and colours, tried out on a
/// preview and given to the text view on OK. Nothing is stored; every
/// opening starts from the default appearance.
class AppearanceDialog final : public QDialog {
    Q_OBJECT
public:
    /// `target` is the text view that takes the appearance.
    explicit AppearanceDialog(QWidget *target, QWidget *parent = nullptr);

    /// Colour value of a colour name, red in the low byte, green in the
    /// middle one, blue in the high one; -1 for a name outside the list.
    static qint32 funSetColor(const QString &txtColor);

    QComboBox *cmbFColor;
    QComboBox *cmbBColor;
    QComboBox *cmbFont;
    QComboBox *cmbIBU;
    QComboBox *cmbSize;
    QLineEdit *txtPre;
    QPushButton *cmdCancel;
    QPushButton *cmdApply;

private slots:
    // An item chosen from a list (mouse or arrow keys); typing is no choice,
    // but for the size, which follows every key.
    void cmbFont_Click();
    void cmbIBU_Click();
    void cmbSize_Change();
    void cmbFColor_Click();
    void cmbBColor_Click();
    /// Gives the preview's appearance to the text view.
    void cmdApply_Click();

private:
    QWidget *m_target;
};
