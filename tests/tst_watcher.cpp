// SPDX-License-Identifier: MIT
// The clipboard watcher: what each change does to the entries and the status line.
#include "testrig.h"
#include "ui/frmmain.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>

namespace {

const QString Copying = QStringLiteral("正在从剪贴板复制数据...");
const QString Ready = QStringLiteral("就绪");

/// Clipboard content noting the status line whenever the watcher asks what it offers.
struct WatchedContent final : QMimeData {
    explicit WatchedContent(const QLabel *label)
        : status(label) {}
    QStringList formats() const override {
        seen.insert(status->text());
        return QMimeData::formats();
    }
    const QLabel *status;
    mutable QSet<QString> seen;
};

/// A window whose watcher hears the test clipboard; notes the order entries are listed in.
struct Watched {
    explicit Watched(TestRig &r)
        : rig(r)
        , form(r.m) {
        QObject::connect(&rig.clipboard, &Clipboard::changed, &form,
                         [this] { form.MainWndProc(WinMsg::DrawClipboard, 0, 0); });
        for (auto [list, kind] : {std::pair{form.lstTxt, "text"}, {form.lstImg, "picture"}})
            QObject::connect(list->model(), &QAbstractItemModel::rowsInserted, &form,
                             [this, kind] { listed << QString::fromLatin1(kind); });
    }
    /// Another program's copy, given as "type=value" formats and "picture",
    /// joined by ';'. Returns the status lines seen while it was handled.
    QSet<QString> copy(const QString &formats) {
        auto *content = new WatchedContent(form.lTip);
        for (const QString &format : formats.split(u';'))
            format == u"picture"
                ? content->setImageData(testPicture(8, 8))
                : content->setData(format.section(u'=', 0, 0), format.section(u'=', 1).toUtf8());
        rig.clipboard.offer(content);
        return content->seen;
    }

    TestRig &rig;
    frmMain form;
    QStringList listed;
};

} // namespace

class tst_Watcher : public QObject {
    Q_OBJECT

private slots:
    void eachKindOfContent_data() {
        QTest::addColumn<QString>("formats");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("text") << "text/plain=剪贴" << QStringList{"text"};
        QTest::newRow("picture") << "picture" << QStringList{"picture"};
        QTest::newRow("both, text first")
            << "picture;text/plain=a" << QStringList{"text", "picture"};
        QTest::newRow("files") << "text/plain=/a;text/uri-list=file:///a" << QStringList{};
        QTest::newRow("secret") << "text/plain=pw;x-kde-passwordManagerHint=secret"
                                << QStringList{};
    }
    void eachKindOfContent() {
        QFETCH(QString, formats);
        QFETCH(QStringList, listed);
        TestRig rig;
        Watched w(rig);
        // Every change shows the copying text while it is handled, then "ready".
        QCOMPARE(w.copy(formats), QSet{Copying});
        QCOMPARE(w.form.lTip->text(), Ready);
        QCOMPARE(w.listed, listed);
        QCOMPARE(rig.tempPictures().size(), int(listed.count(QStringLiteral("picture"))));
    }

    void monitoringOffTakesNothingAndLeavesTheStatus() {
        TestRig rig;
        Watched w(rig);
        w.form.menuDetectClpBd->trigger();
        QCOMPARE(w.copy(QStringLiteral("text/plain=no;picture")), QSet<QString>());
        QCOMPARE(w.form.lTip->text(), Ready);
        QVERIFY(rig.tempPictures().isEmpty());
        // The tick is read at every change; the same text twice is handled twice, kept once.
        w.form.menuDetectClpBd->trigger();
        QCOMPARE(w.copy(QStringLiteral("text/plain=twice")), QSet{Copying});
        QCOMPARE(w.copy(QStringLiteral("text/plain=twice")), QSet{Copying});
        QCOMPARE(w.listed, QStringList{"text"});
    }
};

QTEST_MAIN(tst_Watcher)
#include "tst_watcher.moc"
