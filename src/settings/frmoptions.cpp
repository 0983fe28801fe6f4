// SPDX-License-Identifier: MIT
#include "settings/frmoptions.h"

#include "ui/frmmain.h"

void frmMain::menuOption_Click() {}
