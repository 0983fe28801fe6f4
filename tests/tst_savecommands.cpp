// SPDX-License-Identifier: MIT
#include "app/capture.h"
#include "store/entries.h"
#include "testrig.h"
#include "ui/frmmain.h"
#include "ui/picturebox.h"
#include "ui/textbox.h"

#include <QLabel>
#include <QListWidget>

namespace {

/// Captures the texts t0, t1, … and then the pictures.
void capture(TestRig &rig, frmMain &form, int texts, int pictures) {
    for (int i = 0; i < texts; ++i) {
        rig.clipboard.setText(QStringLiteral("t%1").arg(i));
        CaptureText(rig.m, form.lstTxt, form.txtMain);
    }
    for (int i = 0; i < pictures; ++i) {
        rig.clipboard.setImage(testPicture(4, 3));
        CaptureImage(rig.m, form.lstImg, form.imgMain, form.imgBak);
    }
}

/// The entry lines of the only text data file; none without exactly one file.
QList<QByteArray> savedLines(const TestRig &rig) {
    const QStringList files = QDir(rig.m.TxtPath).entryList(QDir::Files | QDir::Hidden);
    QFile file(rig.m.TxtPath + u'/' + files.value(0));
    const QList<QByteArray> lines = files.size() == 1 && file.open(QIODevice::ReadOnly)
                                        ? file.readAll().split('\n')
                                        : QList<QByteArray>();
    return lines.mid(1, lines.size() - 3);
}

/// Texts stored, text count, text list, box; picture count, picture list, temp pictures.
QString left(const TestRig &rig, const frmMain &form) {
    QString state;
    QDebug(&state) << rig.m.TextPages.size() - rig.m.TextPages.count(QString()) << rig.m.TextCount
                   << form.lstTxt->count() << form.txtMain->text() << rig.m.ImageCount
                   << form.lstImg->count() << rig.tempPictures().size();
    return state.trimmed();
}

} // namespace

class tst_SaveCommands : public QObject {
    Q_OBJECT
    static void row(const char *name, bool automatic, bool text, bool pictures, const char *left,
                    int boxes) {
        QTest::newRow(name) << automatic << text << pictures << left << boxes;
    }

private slots:
    void saveAllTextAfterTheCountWrapped() {
        TestRig rig;
        frmMain form(rig.m);
        capture(rig, form, 101, 0);
        form.menuSaveAllTxt_Click();
        // 100 entries stay while the count starts again; slot 0 holds the newest.
        const QList<QByteArray> lines = savedLines(rig);
        QCOMPARE(lines.size(), 100);
        QCOMPARE(lines.first() + lines.last(), "t100<br><br>\rt99<br><br>\r");
        QCOMPARE(left(rig, form), "0 0 0 \"\" 0 0 0");
        QVERIFY(rig.dialogs.messages.isEmpty());
    }

    void saveEverything_data() {
        QTest::addColumn<bool>("automatic"); // 100 of each captured under the save policy
        QTest::addColumn<bool>("textGone");
        QTest::addColumn<bool>("picturesGone");
        QTest::addColumn<QString>("left");
        QTest::addColumn<int>("boxes");
        row("by command", false, false, false, "0 0 0 \"\" 0 0 0", 0);
        row("text folder missing", false, true, false, "2 2 2 \"t1\" 0 0 0", 1);
        row("picture folder missing", false, false, true, "0 0 0 \"\" 2 2 2", 2);
        row("automatic", true, false, false, "0 0 0 \"\" 0 0 100", 0);
        row("automatic, folders missing", true, true, true, "100 100 100 \"t99\" 100 100 100", 2);
    }
    void saveEverything() {
        QFETCH(bool, automatic);
        QFETCH(bool, textGone);
        QFETCH(bool, picturesGone);
        QFETCH(QString, left);
        QFETCH(int, boxes);
        TestRig rig;
        rig.m.TxtPath = textGone ? rig.path(QStringLiteral("gone")) : rig.m.TxtPath;
        rig.m.ImgPath = picturesGone ? rig.path(QStringLiteral("gone")) : rig.m.ImgPath;
        rig.m.AutoSave = automatic;
        frmMain form(rig.m);
        const int n = automatic ? 100 : 2;
        capture(rig, form, n, n);
        if (!automatic)
            form.menuSave_Click();
        QCOMPARE(form.lTip->text(), QStringLiteral("就绪"));
        QCOMPARE(::left(rig, form), left);
        QCOMPARE(rig.dialogs.messages.size(), boxes);
        // A box for the text file and each picture not copied; automatic saves tell once a kind.
        const QString problem =
            textGone ? SaveFailureDescription(rig.m.TxtPath, FolderProblem(rig.m.TxtPath))
                     : QString();
        QCOMPARE(rig.dialogs.messages.value(0).text, boxes ? "系统错误!" + problem : QString());
        QCOMPARE(savedLines(rig).value(1), textGone ? "" : "t1<br><br>\r");
        QCOMPARE(QDir(rig.m.ImgPath, QStringLiteral("*.bmp")).count(), uint(picturesGone ? 0 : n));
        QCOMPARE(form.imgMain->picture().isNull(), !picturesGone);
    }
};

QTEST_MAIN(tst_SaveCommands)
#include "tst_savecommands.moc"
