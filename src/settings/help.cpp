// SPDX-License-Identifier: MIT
#include "settings/help.h"

#include "ui/frmmain.h"

void frmMain::menuUser_Click() {}

void frmMain::menuDownload_Click() {}

void frmMain::menuAbout_Click() {}
