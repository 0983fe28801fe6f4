// SPDX-License-Identifier: MIT
// Removing a recurring signature from the shown text entry.
#include "ui/frmmain.h"

void frmMain::menuClearICP_Click() {}
