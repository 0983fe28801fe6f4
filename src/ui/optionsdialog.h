// SPDX-License-Identifier: MIT
#pragma once

#include "core/settings.h"

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QRadioButton;

/// The options dialog (frmOptions): the overflow policy and the three data
/// folders. Built afresh at every opening from what is in force; OK accepts
/// the choice (stored by the caller), Cancel, Esc and the close box drop it.
class OptionsDialog final : public QDialog {
    Q_OBJECT
public:
    explicit OptionsDialog(const Options &inForce, QWidget *parent = nullptr);

    /// The choice: the policy and the folders as they stand in the fields.
    Options chosen() const;

private:
    QRadioButton *m_overwrite;
    QRadioButton *m_save;
    /// The folders (Frame2), enabled only with the save policy.
    QGroupBox *m_folders;
    QLineEdit *m_textFolder;
    QLineEdit *m_pictureFolder;
    QLineEdit *m_otherFolder;
};
