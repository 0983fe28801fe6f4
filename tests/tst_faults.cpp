// SPDX-License-Identifier: MIT
// Clipboard text that cannot be had, broken data folders, a save killed halfway.
#include "brokenfolder.h"
#include "store/entries.h"
#include "store/textfile.h"
#include "testrig.h"
#include "ui/frmmain.h"

#include <QListWidget>
#include <QMimeData>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

/// A state on fakes and its window, which hears the clipboard as after start-up.
struct Rig : TestRig {
    Rig() {
        QObject::connect(&clipboard, &Clipboard::changed, &form,
                         [this] { form.MainWndProc(WinMsg::DrawClipboard, 0, 0); });
    }
    frmMain form{m};
};

} // namespace

class tst_Faults : public QObject {
    Q_OBJECT

private slots:
    // With a hundred texts taken the next one overwrites slot 0 (null: no answer).
    void unreadableTextIsNotTaken_data() {
        QTest::addColumn<QString>("content");
        QTest::newRow("owner did not answer") << u"unreadable"_s;
        QTest::newRow("the same, rich text beside it") << u"unreadable+rtf"_s;
        QTest::newRow("rich text alone: an empty entry") << u"rtf"_s;
        QTest::newRow("a copy of empty text") << u"empty"_s;
    }
    void unreadableTextIsNotTaken() {
        QFETCH(QString, content);
        const bool taken = !content.startsWith(u"unreadable");
        Rig rig;
        for (int i = 0; i < 100; ++i)
            rig.clipboard.offerText(u"t%1"_s.arg(i));
        auto *data = new QMimeData;
        if (content != u"rtf")
            data->setData(u"text/plain"_s, content == u"empty" ? QByteArray("") : QByteArray());
        if (content.endsWith(u"rtf"))
            data->setData(u"text/rtf"_s, "{\\rtf1 bold}");
        rig.clipboard.offer(data);
        QCOMPARE(rig.m.TextCount, qint16(taken ? 1 : 0));
        QCOMPARE(rig.m.TextPages.at(0), taken ? QString() : u"t0"_s);
    }

    void brokenFolderLosesNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("automatic");
        for (const QString &kind : {u"text"_s, u"pictures"_s})
            for (const QString &fault : {u"missing"_s, u"read-only"_s, u"full"_s})
                for (const bool automatic : {false, true})
                    QTest::newRow(qPrintable(kind + u' ' + fault + (automatic ? " auto" : "")))
                        << kind << fault << automatic;
        // Pictures that do not fit leave no short file for the view and the saves to take.
        QTest::newRow("temp pictures, full folder") << u"temp"_s << u"full"_s << false;
    }
    void brokenFolderLosesNothing() {
        QFETCH(QString, kind);
        QFETCH(QString, fault);
        QFETCH(bool, automatic);
        const bool text = kind == u"text", temp = kind == u"temp";
        Rig rig;
        rig.m.AutoSave = automatic;
        const QString folder = temp ? rig.m.tempImageFolder()
                                    : (text ? rig.m.TxtPath : rig.m.ImgPath) = rig.path(u"x"_s);
        BrokenFolder broken(folder, fault);
        if (!broken.unavailable.isEmpty())
            QSKIP(qPrintable(broken.unavailable));

        // A hundred entries of 12 kB each: more than a full folder takes.
        const QImage picture = testPicture(64, 64, Qt::darkCyan);
        QStringList texts;
        for (int i = 0; i < 100; ++i) {
            texts << u"第%1条 entry "_s.arg(i, 3, 10, QChar(u'0')).repeated(900);
            text ? rig.clipboard.offerText(texts.constLast()) : rig.clipboard.offerImage(picture);
        }
        if (!automatic && !temp)
            text ? rig.form.menuSaveAllTxt_Click() : rig.form.menuSaveAllImg_Click();
        const char16_t *reason = fault == u"missing" ? SaveReason::FolderMissing
                                 : fault == u"full"  ? SaveReason::WriteFailed
                                                     : SaveReason::FolderReadOnly;
        const QString told = SaveFailureDescription(folder, QString::fromUtf16(reason));
        const qsizetype boxes = rig.dialogs.messages.size();
        QVERIFY(temp ? boxes == 0 : automatic ? boxes == 1 : boxes > 0);
        for (const FakeDialogs::Shown &shown : rig.dialogs.messages)
            QVERIFY2(shown.text == u"系统错误!"_s + (text || automatic ? told : QString()) &&
                         shown.icon == QMessageBox::Critical,
                     qPrintable(shown.text));

        // Every entry is still there; the folder holds no piece of a file.
        QCOMPARE((text ? rig.form.lstTxt : rig.form.lstImg)->count(), 100);
        if (text)
            QCOMPARE(rig.m.TextPages.mid(0, 100), texts);
        const qsizetype kept = rig.tempPictures().size();
        QVERIFY(temp ? kept > 0 && kept < 100 : kept == (text ? 0 : 100));
        for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
            QCOMPARE(QImage(folder + u'/' + name), picture);
    }

    void saveKilledHalfwayLeavesNoPieceOfAFile() {
#ifdef Q_OS_LINUX
        TestRig rig;
        rig.m.TextPages.fill(u"剪贴板 entry <&> 文本\r\n"_s.repeated(60'000), 100);
        const QString folder = QFileInfo(rig.m.TxtPath).canonicalFilePath();
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(SaveTextFile(rig.m, 0, 99, folder).ok ? 0 : 1);

        // Killed once it has written 16 MB into the file, not yet named there.
        qint64 written = -1;
        for (QDeadlineTimer deadline(60000); written < (16 << 20) && !deadline.hasExpired();) {
            const QDir fds(u"/proc/%1/fd"_s.arg(child));
            for (const QFileInfo &fd : fds.entryInfoList(QDir::Files | QDir::System))
                if (fd.symLinkTarget().startsWith(folder + u'/'))
                    written = fd.size();
        }
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        QVERIFY2(written > 0, "nothing was written");
        QCOMPARE(QDir(folder).entryList({u"*.htm"_s}, QDir::Files), QStringList());
#else
        QSKIP("watches the saving process through /proc");
#endif
    }
};

QTEST_MAIN(tst_Faults)
#include "tst_faults.moc"
