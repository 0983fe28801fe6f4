// SPDX-License-Identifier: MIT
#include "settings/frmsetskin.h"

#include "ui/frmmain.h"

void frmMain::menuSkin_Click() {}
