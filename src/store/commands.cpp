// SPDX-License-Identifier: MIT
// The save and delete commands of the data menu.
#include "app/module1.h"
#include "store/entries.h"
#include "store/imagefiles.h"
#include "store/textfile.h"
#include "ui/frmmain.h"
#include "ui/picturebox.h"
#include "ui/textbox.h"

#include <QLabel>
#include <QListWidget>

void frmMain::menuSaveThisTxt_Click() {}

void frmMain::menuSaveAllTxt_Click() {}

void frmMain::menuSaveThisImg_Click() {}

void frmMain::menuSaveImg_Click() {
    menuSaveThisImg_Click();
}

void frmMain::menuSaveAllImg_Click() {}

void frmMain::menuSave_Click() {}

void frmMain::menuDelAllTxt_Click() {
    DeleteAllText(m, lstTxt, txtMain);
}

void frmMain::menuDelAllImg_Click() {
    DeleteTempPictures(m);
    ForgetAllImages(m, lstImg, imgMain, imgBak);
}

void frmMain::menuClearData_Click() {
    lTip->setText(QStringLiteral("正在缓存清除数据..."));
    menuDelAllTxt_Click();
    menuDelAllImg_Click();
    lTip->setText(QStringLiteral("就绪"));
}
