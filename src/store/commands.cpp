// SPDX-License-Identifier: MIT
// The save and delete commands of the data menu.
//
// A save-all command empties only what it saved: when the writer fails, the
// entries, the list and the view stay and the user is told. Every command
// acts on the entries that exist, which are the list's items: under the
// overwrite policy the count starts again at 0 while the 100 entries stay.
#include "app/module1.h"
#include "store/entries.h"
#include "store/imagefiles.h"
#include "store/textfile.h"
#include "ui/frmmain.h"
#include "ui/picturebox.h"
#include "ui/textbox.h"

#include <QLabel>
#include <QListWidget>

namespace {

const QString Saving = QStringLiteral("数据正在自动存盘...");
const QString Ready = QStringLiteral("就绪");

/// A long save would otherwise keep the old text on screen until it ends.
void showStatus(QLabel *tip, const QString &text) {
    tip->setText(text);
    if (tip->isVisible())
        tip->repaint();
}

/// Writes one text data file; tells the user when that failed.
bool saveText(frmMain &f, int first, int last) {
    const SaveResult result = SaveTextFile(f.m, first, last, f.m.TxtPath);
    if (!result.ok)
        f.m.ShowSystemError(SaveFailureDescription(f.m.TxtPath, result.reason));
    return result.ok;
}

/// Save all text; true when the entries were saved and emptied.
bool saveAllText(frmMain &f) {
    showStatus(f.lTip, Saving);
    const bool saved = saveText(f, 0, f.lstTxt->count() - 1);
    if (saved) {
        f.m.TextSaveFailureShown = false;
        f.menuDelAllTxt_Click();
    }
    showStatus(f.lTip, Ready);
    return saved;
}

/// Save all pictures; true when every picture was copied and the list emptied.
/// The temp picture files stay: the next captures replace them.
bool saveAllPictures(frmMain &f) {
    showStatus(f.lTip, Saving);
    const bool saved = SaveImageFiles(f.m, 0, f.lstImg->count() - 1, f.m.ImgPath).ok();
    if (saved) {
        f.m.ImageSaveFailureShown = false;
        ForgetAllImages(f.m, f.lstImg, f.imgMain, f.imgBak);
    }
    showStatus(f.lTip, Ready);
    return saved;
}

} // namespace

void frmMain::menuSaveThisTxt_Click() {
    const int p = lstTxt->currentRow();
    saveText(*this, p, p);
}

void frmMain::menuSaveAllTxt_Click() {
    saveAllText(*this);
}

void frmMain::menuSaveThisImg_Click() {
    const int p = lstImg->currentRow();
    SaveImageFiles(m, p, p, m.ImgPath);
}

void frmMain::menuSaveImg_Click() {
    menuSaveThisImg_Click();
}

void frmMain::menuSaveAllImg_Click() {
    saveAllPictures(*this);
}

void frmMain::menuSave_Click() {
    saveAllText(*this);
    // The text is already empty when it was saved. Deleting it again here
    // could take texts captured while a message box was open, unsaved.
    if (saveAllPictures(*this)) {
        showStatus(lTip, QStringLiteral("正在缓存清除数据..."));
        DeleteTempPictures(m);
        showStatus(lTip, Ready);
    }
}

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
