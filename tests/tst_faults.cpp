// SPDX-License-Identifier: MIT
// Faults around the entries: clipboard text that cannot be had, data folders
// that are missing, read-only or full, and a save cut short by SIGKILL.
// Whatever happens, no entry is lost, nothing wrong is kept, and the user is
// told when a save failed.
#include "brokenfolder.h"
#include "store/entries.h"
#include "testrig.h"
#include "ui/frmmain.h"
#include "ui/textbox.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMimeData>
#include <QProcess>
#include <QStringDecoder>
#include <cstdio>

namespace {

/// Content whose plain text could not be had, as the toolkit hands it over
/// when the owner did not answer in time; rich text may come beside it.
class UnreadableText final : public QMimeData {
public:
    explicit UnreadableText(bool withRichText)
        : m_rich(withRichText) {}
    QStringList formats() const override {
        QStringList offered{QStringLiteral("text/plain")};
        if (m_rich)
            offered << QStringLiteral("text/rtf");
        return offered;
    }
    bool hasFormat(const QString &mime) const override { return formats().contains(mime); }

protected:
    QVariant retrieveData(const QString &mime, QMetaType) const override {
        if (m_rich && mime == u"text/rtf")
            return QByteArray("{\\rtf1 bold}");
        return QVariant();
    }

private:
    bool m_rich;
};

/// A window that hears the test clipboard, as after start-up.
struct Window {
    explicit Window(TestRig &r)
        : rig(r)
        , form(r.m) {
        QObject::connect(&rig.clipboard, &Clipboard::changed, &form,
                         [this] { form.MainWndProc(WinMsg::DrawClipboard, 0, 0); });
    }
    TestRig &rig;
    frmMain form;
};

QStringList filesIn(const QString &folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QByteArray contentOf(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Every file in `folder` is a whole copy of one of `originals`.
bool onlyWholeCopies(const QString &folder, const QStringList &originals) {
    QSet<QByteArray> whole;
    for (const QString &path : originals)
        whole.insert(QCryptographicHash::hash(contentOf(path), QCryptographicHash::Sha1));
    for (const QString &name : filesIn(folder)) {
        const QByteArray copy = contentOf(folder + u'/' + name);
        if (!whole.contains(QCryptographicHash::hash(copy, QCryptographicHash::Sha1)))
            return false;
    }
    return true;
}

constexpr char DataFileEnd[] = "</font></p></body></html>\r\n";
/// Set in the environment of the child that saves and is killed.
constexpr char SaveChildFolder[] = "ORLO_TEST_SAVE_INTO";

/// The child: a hundred entries of a million characters each, saved at once.
int saveAndBeKilled(const QString &folder) {
    TestRig rig;
    frmMain form(rig.m);
    rig.m.TxtPath = folder;
    const QString line = QStringLiteral("剪贴板 entry text, line after line <&> 文本\r\n");
    for (int i = 0; i < 100; ++i) {
        rig.m.setTextPage(i, QString::number(i) + line.repeated(1'000'000 / line.size()));
        form.lstTxt->addItem(TextCaption(i));
    }
    rig.m.TextCount = 100;
    std::puts("saving");
    std::fflush(stdout);
    form.menuSaveAllTxt_Click();
    std::puts(rig.dialogs.messages.isEmpty() ? "saved" : "failed");
    return 0;
}

/// Bytes written so far through a descriptor of `pid` that lies in `folder`
/// (also one of a file not yet named there); -1 when none is open.
qint64 writtenInto(qint64 pid, const QString &folder) {
    const QString fds = QStringLiteral("/proc/%1/fd").arg(pid);
    for (const QFileInfo &fd : QDir(fds).entryInfoList(QDir::Files | QDir::System)) {
        if (!fd.symLinkTarget().startsWith(folder + u'/'))
            continue;
        QFile info(QStringLiteral("/proc/%1/fdinfo/%2").arg(pid).arg(fd.fileName()));
        if (!info.open(QIODevice::ReadOnly))
            return 0;
        const QByteArray text = info.readAll();
        const qsizetype at = text.indexOf("pos:");
        return at < 0 ? 0
                      : text.mid(at + 4, text.indexOf('\n', at) - at - 4).trimmed().toLongLong();
    }
    return -1;
}

} // namespace

class tst_Faults : public QObject {
    Q_OBJECT

private slots:
    // Under the overwrite policy, after a hundred texts, the next one goes
    // into slot 0: text that could not be read must not empty it.
    void textThatCouldNotBeReadIsNotTaken_data() {
        QTest::addColumn<QString>("content");
        QTest::addColumn<bool>("taken");
        QTest::newRow("plain text, owner did not answer") << "unreadable" << false;
        QTest::newRow("the same, with rich text beside it") << "unreadable+rtf" << false;
        QTest::newRow("rich text alone") << "rtf" << true;
        QTest::newRow("a copy of empty text") << "empty" << true;
    }
    void textThatCouldNotBeReadIsNotTaken() {
        QFETCH(QString, content);
        QFETCH(bool, taken);
        TestRig rig;
        Window w(rig);
        for (int i = 0; i < 100; ++i)
            rig.clipboard.offerText(QStringLiteral("t%1").arg(i));
        QCOMPARE(rig.m.TextCount, qint16(0));

        if (content.startsWith(u"unreadable")) {
            rig.clipboard.offer(new UnreadableText(content.endsWith(u"rtf")));
        } else if (content == u"rtf") {
            auto *data = new QMimeData;
            data->setData(QStringLiteral("text/rtf"), "{\\rtf1 bold}");
            rig.clipboard.offer(data);
        } else {
            rig.clipboard.offerText(QString());
        }
        QCOMPARE(rig.m.TextCount, qint16(taken ? 1 : 0));
        QCOMPARE(rig.m.TextPages.at(0), taken ? QString() : QStringLiteral("t0"));
        QCOMPARE(w.form.lstTxt->count(), 100);
        QCOMPARE(w.form.txtMain->text(), taken ? QString() : QStringLiteral("t99"));

        // The next readable copy is taken as usual.
        rig.clipboard.offerText(QStringLiteral("next"));
        QCOMPARE(rig.m.TextPages.at(taken ? 1 : 0), QStringLiteral("next"));
    }

    void brokenDataFolderLosesNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("automatic");
        for (const char *kind : {"text", "pictures"}) {
            for (const char *fault : {"missing", "read-only", "full"}) {
                for (const bool automatic : {false, true}) {
                    QTest::addRow("%s, %s folder, %s", kind, fault,
                                  automatic ? "automatic save" : "save command")
                        << QString::fromLatin1(kind) << QString::fromLatin1(fault) << automatic;
                }
            }
        }
    }
    void brokenDataFolderLosesNothing() {
        QFETCH(QString, kind);
        QFETCH(QString, fault);
        QFETCH(bool, automatic);
        const bool text = kind == u"text";
        TestRig rig;
        rig.m.AutoSave = automatic;
        Window w(rig);
        QString &folder = text ? rig.m.TxtPath : rig.m.ImgPath;
        const QString good = folder;
        folder = rig.path(QStringLiteral("broken/data"));
        BrokenFolder broken(folder, fault);
        if (!broken.unavailable().isEmpty())
            QSKIP(qPrintable(broken.unavailable()));

        // A hundred entries of 12 kB each: more than a full folder takes.
        QStringList texts;
        for (int i = 0; i < 100; ++i) {
            if (text) {
                texts << QStringLiteral("第%1条 entry ")
                             .arg(i, 3, 10, QLatin1Char('0'))
                             .repeated(900);
                rig.clipboard.offerText(texts.constLast());
            } else {
                rig.clipboard.offerImage(testPicture(64, 64, QColor::fromHsv(i * 3, 255, 255)));
            }
        }
        if (!automatic) {
            QVERIFY(rig.dialogs.messages.isEmpty());
            text ? w.form.menuSaveAllTxt_Click() : w.form.menuSaveAllImg_Click();
        }

        // The user was told, in the same words each time.
        QVERIFY(!rig.dialogs.messages.isEmpty());
        const QString reason =
            QString::fromUtf16(fault == u"missing"     ? SaveReason::FolderMissing
                               : fault == u"read-only" ? SaveReason::FolderReadOnly
                                                       : SaveReason::WriteFailed);
        const QString told = text || automatic ? SaveFailureDescription(folder, reason) : QString();
        for (const FakeDialogs::Shown &shown : rig.dialogs.messages) {
            QCOMPARE(shown.text, QStringLiteral("系统错误!") + told);
            QCOMPARE(shown.icon, QMessageBox::Critical);
        }
        if (automatic)
            QCOMPARE(rig.dialogs.messages.size(), 1);

        // Every entry is still there; the folder holds no piece of a file.
        QListWidget *list = text ? w.form.lstTxt : w.form.lstImg;
        QCOMPARE(list->count(), 100);
        if (text) {
            QCOMPARE(rig.m.TextPages.mid(0, 100), texts);
            QCOMPARE(filesIn(folder), QStringList());
        } else {
            QCOMPARE(rig.tempPictures().size(), 100);
            QStringList temps;
            for (const QString &name : rig.tempPictures())
                temps << rig.m.tempImageFolder() + u'/' + name;
            QVERIFY(onlyWholeCopies(folder, temps));
            if (fault == u"full")
                qInfo("%lld of 100 pictures fitted", qint64(filesIn(folder).size()));
        }

        // Once the folder is sound again, everything is saved.
        folder = good;
        rig.dialogs.messages.clear();
        text ? w.form.menuSaveAllTxt_Click() : w.form.menuSaveAllImg_Click();
        QVERIFY(rig.dialogs.messages.isEmpty());
        QCOMPARE(list->count(), 0);
        const QStringList saved = filesIn(good);
        if (text) {
            QCOMPARE(saved.size(), 1);
            const QByteArray file = contentOf(good + u'/' + saved.constFirst());
            QCOMPARE(file.count("<br><br>\r\n"), 100);
            const QString decoded = QStringDecoder("GBK").decode(file);
            QVERIFY(decoded.contains(texts.constFirst()) && decoded.contains(texts.constLast()));
        } else {
            QCOMPARE(saved.size(), 100);
        }
    }

    // A picture that does not fit into the temp folder leaves no short file
    // behind for the view and the save commands to take for the picture.
    void fullTempFolderKeepsNoShortPicture() {
        TestRig rig;
        Window w(rig);
        BrokenFolder full(rig.m.tempImageFolder(), QStringLiteral("full"));
        if (!full.unavailable().isEmpty())
            QSKIP(qPrintable(full.unavailable()));
        // 12 kB as BMP: written in one piece when the file is closed.
        const QImage picture = testPicture(64, 64, Qt::darkCyan);
        for (int i = 0; i < 100; ++i)
            rig.clipboard.offerImage(picture);
        QCOMPARE(w.form.lstImg->count(), 100);
        const QStringList kept = rig.tempPictures();
        QVERIFY(kept.size() > 0 && kept.size() < 100);
        for (const QString &name : kept)
            QCOMPARE(QImage(rig.m.tempImageFolder() + u'/' + name), picture);
        QVERIFY(rig.dialogs.messages.isEmpty());
    }

    void saveKilledHalfwayLeavesNoPieceOfAFile() {
#ifndef Q_OS_LINUX
        QSKIP("watches the saving process through /proc");
#endif
        QTemporaryDir dir;
        const QString folder = QFileInfo(dir.path()).canonicalFilePath();
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(SaveChildFolder), folder);
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {});
        auto stop = qScopeGuard([&child] {
            child.kill();
            child.waitForFinished(5000);
        });
        QVERIFY(child.waitForReadyRead(60000));
        QCOMPARE(child.readLine().trimmed(), QByteArray("saving"));

        // Killed once it has written a good part of the file.
        qint64 written = -1;
        QElapsedTimer clock;
        clock.start();
        while (written < (qint64(16) << 20) && child.state() == QProcess::Running &&
               clock.elapsed() < 60000)
            written = writtenInto(child.processId(), folder);
        QVERIFY2(written > 0, "the save ended before it could be cut short");
        child.kill();
        QVERIFY(child.waitForFinished(5000));

        const QStringList left = filesIn(folder);
        qInfo("killed after %lld MB written; left in the folder: %s", written >> 20,
              left.isEmpty() ? "nothing" : qPrintable(left.join(u", ")));
        for (const QString &name : left) {
            QVERIFY2(!name.endsWith(u".htm") ||
                         contentOf(folder + u'/' + name).endsWith(DataFileEnd),
                     qPrintable(name + QStringLiteral(" is cut short")));
        }
    }
};

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    if (const QString folder = qEnvironmentVariable(SaveChildFolder); !folder.isEmpty())
        return saveAndBeKilled(folder);
    tst_Faults test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_faults.moc"
