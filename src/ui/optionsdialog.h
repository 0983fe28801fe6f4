// SPDX-License-Identifier: MIT
#pragma once

#include "core/settings.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QKeySequenceEdit;
class QLineEdit;
class QRadioButton;

/// The options dialog (frmOptions): the overflow policy and the three data
/// folders, the shortcut that summons the window and the start at login.
/// Built afresh at every opening from what is in force; OK accepts
/// the choice (stored by the caller), Cancel, Esc and the close box drop it.
class OptionsDialog final : public QDialog {
    Q_OBJECT
public:
    OptionsDialog(const Options &inForce, bool startsAtLogin, QWidget *parent = nullptr);

    /// The choice: the policy, the folders and the shortcut as they stand in
    /// the fields.
    Options chosen() const;
    bool startAtLogin() const;

private:
    QRadioButton *m_overwrite;
    QRadioButton *m_save;
    /// The folders (Frame2), enabled only with the save policy.
    QGroupBox *m_folders;
    QLineEdit *m_textFolder;
    QLineEdit *m_pictureFolder;
    QLineEdit *m_otherFolder;
    QKeySequenceEdit *m_shortcut;
    QCheckBox *m_atLogin;
};
