// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;

/// The text view's appearance (frmSetSkin): font, style, size and colours,
/// tried out on a preview and given to the text editor on OK. Nothing is
/// stored; every opening starts from the default appearance.
class AppearanceDialog final : public QDialog {
    Q_OBJECT
public:
    /// `target` is the editor that takes the appearance.
    explicit AppearanceDialog(QWidget *target, QWidget *parent = nullptr);

private slots:
    // An item chosen from a list (mouse or arrow keys); typing is no choice,
    // but for the size, which follows every key.
    void fontChosen();
    void styleChosen();
    void sizeTyped();
    void textColorChosen();
    void backColorChosen();
    /// Gives the preview's appearance to the target.
    void applyToTarget();

private:
    QComboBox *m_textColor;
    QComboBox *m_backColor;
    QComboBox *m_font;
    /// Regular, bold, italic, bold italic (cmbIBU).
    QComboBox *m_style;
    QComboBox *m_size;
    QLineEdit *m_preview;
    QWidget *m_target;
};
