// SPDX-License-Identifier: MIT
// The clipboard watcher's dispatch: what each clipboard change and each tray
// message does to the entries, the status line and the window.
#include "testrig.h"
#include "ui/frmmain.h"
#include "ui/picturebox.h"
#include "ui/textbox.h"

#include <QAction>
#include <QApplication>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <functional>

namespace {

const QString Copying = QStringLiteral("正在从剪贴板复制数据...");
const QString Ready = QStringLiteral("就绪");

/// Clipboard content that notes the status line whenever the watcher asks
/// what it offers.
class WatchedContent final : public QMimeData {
public:
    explicit WatchedContent(const QLabel *status)
        : m_status(status) {}
    QStringList formats() const override {
        m_seen << m_status->text();
        return QMimeData::formats();
    }
    /// Status texts seen while being asked, each once.
    QStringList seen() const {
        QStringList once = m_seen;
        once.removeDuplicates();
        return once;
    }

private:
    const QLabel *m_status;
    mutable QStringList m_seen;
};

/// A window whose watcher hears the test clipboard, and a record of the
/// order in which entries are listed.
struct Watched {
    explicit Watched(TestRig &r)
        : rig(r)
        , form(r.m) {
        QObject::connect(&rig.clipboard, &Clipboard::changed, &form,
                         [this] { form.MainWndProc(WinMsg::DrawClipboard, 0, 0); });
        QObject::connect(form.lstTxt->model(), &QAbstractItemModel::rowsInserted, &form,
                         [this] { listed << QStringLiteral("text"); });
        QObject::connect(form.lstImg->model(), &QAbstractItemModel::rowsInserted, &form,
                         [this] { listed << QStringLiteral("picture"); });
    }
    /// Another program's copy.
    const WatchedContent *copy(const std::function<void(QMimeData &)> &fill) {
        auto *content = new WatchedContent(form.lTip);
        fill(*content);
        rig.clipboard.offer(content);
        return content;
    }
    const WatchedContent *copyText(const QString &text) {
        return copy([&](QMimeData &data) { data.setText(text); });
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
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("text") << "text" << QStringList{"text"} << QStringList{"剪贴 text"};
        QTest::newRow("picture") << "picture" << QStringList{"picture"} << QStringList{};
        QTest::newRow("text and picture, text first")
            << "text+picture" << QStringList{"text", "picture"} << QStringList{"caption"};
        QTest::newRow("rich text alone") << "rtf" << QStringList{"text"} << QStringList{""};
        QTest::newRow("files") << "files" << QStringList{} << QStringList{};
        QTest::newRow("secret") << "secret" << QStringList{} << QStringList{};
        QTest::newRow("nothing") << "empty" << QStringList{} << QStringList{};
    }
    void eachKindOfContent() {
        QFETCH(QString, kind);
        QFETCH(QStringList, listed);
        QFETCH(QStringList, texts);
        TestRig rig;
        Watched w(rig);
        const WatchedContent *content = w.copy([&](QMimeData &data) {
            if (kind == u"text")
                data.setText(QStringLiteral("剪贴 text"));
            if (kind.startsWith(u"text+")) {
                data.setText(QStringLiteral("caption"));
                data.setImageData(testPicture(8, 8));
            }
            if (kind == u"picture")
                data.setImageData(testPicture(8, 8));
            if (kind == u"rtf")
                data.setData(QStringLiteral("text/rtf"), "{\\rtf1 bold}");
            if (kind == u"files") {
                data.setUrls({QUrl::fromLocalFile(rig.path(QStringLiteral("a.txt")))});
                data.setText(rig.path(QStringLiteral("a.txt")));
            }
            if (kind == u"secret") {
                data.setText(QStringLiteral("hunter2"));
                data.setData(QStringLiteral("x-kde-passwordManagerHint"), "secret");
            }
        });
        QCOMPARE(w.listed, listed);
        for (int i = 0; i < texts.size(); ++i)
            QCOMPARE(rig.m.TextPages.at(i), texts.at(i));
        QCOMPARE(rig.tempPictures().size(), int(listed.count(QStringLiteral("picture"))));
        // Every change shows the copying text while it is handled, then "ready".
        QCOMPARE(content->seen(), QStringList{Copying});
        QCOMPARE(w.form.lTip->text(), Ready);
    }

    void sameTextTwiceGivesOneEntryAndTwoStatusCycles() {
        TestRig rig;
        Watched w(rig);
        const WatchedContent *first = w.copyText(QStringLiteral("twice"));
        QCOMPARE(first->seen(), QStringList{Copying});
        const WatchedContent *second = w.copyText(QStringLiteral("twice"));
        QCOMPARE(second->seen(), QStringList{Copying});
        QCOMPARE(w.form.lTip->text(), Ready);
        QCOMPARE(w.form.lstTxt->count(), 1);
        QCOMPARE(rig.m.TextCount, qint16(1));
    }

    void monitoringOffTakesNothingAndLeavesTheStatus() {
        TestRig rig;
        Watched w(rig);
        QVERIFY(w.form.menuDetectClpBd->isChecked());
        w.form.menuDetectClpBd->trigger();
        QVERIFY(!w.form.menuDetectClpBd->isChecked());
        w.form.lTip->setText(QStringLiteral("untouched"));
        const WatchedContent *content = w.copy([](QMimeData &data) {
            data.setText(QStringLiteral("not taken"));
            data.setImageData(testPicture(4, 4));
        });
        QVERIFY(content->seen().isEmpty());
        QVERIFY(w.listed.isEmpty());
        QCOMPARE(w.form.lTip->text(), QStringLiteral("untouched"));
        QVERIFY(rig.tempPictures().isEmpty());

        // The tick is read at every change.
        w.form.menuDetectClpBd->trigger();
        w.copyText(QStringLiteral("taken"));
        QCOMPARE(w.listed, QStringList{"text"});
        QCOMPARE(rig.m.TextPages.at(0), QStringLiteral("taken"));
    }

    void onlyFileCopiesLetWaitingEventsRun() {
        TestRig rig;
        Watched w(rig);
        bool ran = false;
        QTimer::singleShot(0, &w.form, [&] { ran = true; });
        w.copyText(QStringLiteral("plain text"));
        QVERIFY(!ran);
        w.copy([&](QMimeData &data) {
            data.setUrls({QUrl::fromLocalFile(rig.path(QStringLiteral("b.png")))});
        });
        QVERIFY(ran);
    }

    void aCapturedPictureIsShownWithoutReadingItBack() {
        TestRig rig;
        Watched w(rig);
        const QImage opaque = testPicture(20, 10, Qt::darkCyan);
        w.copy([&](QMimeData &data) { data.setImageData(opaque); });
        QCOMPARE(w.form.imgMain->picture().cacheKey(), opaque.cacheKey());
        QCOMPARE(w.form.imgBak->picture().cacheKey(), opaque.cacheKey());

        // Transparency does not survive the file: what is shown is what the file holds.
        QImage clear(20, 10, QImage::Format_ARGB32);
        clear.fill(QColor(255, 0, 0, 0));
        w.copy([&](QMimeData &data) { data.setImageData(clear); });
        QVERIFY(!w.form.imgMain->picture().hasAlphaChannel());
        QImageReader reader(rig.m.tempImagePath(QStringLiteral("图像01")));
        QCOMPARE(w.form.imgMain->picture(), reader.read());
    }

    void trayClickShowsAHiddenWindowOnly_data() {
        QTest::addColumn<quint32>("message");
        QTest::addColumn<qintptr>("lParam");
        QTest::addColumn<bool>("shows");
        QTest::newRow("left button up") << WinMsg::TrayIcon << WinMsg::LButtonUp << true;
        QTest::newRow("right button up") << WinMsg::TrayIcon << WinMsg::RButtonUp << false;
        QTest::newRow("double click") << WinMsg::TrayIcon << WinMsg::LButtonDblClk << false;
        QTest::newRow("mouse move") << WinMsg::TrayIcon << WinMsg::MouseMove << false;
        QTest::newRow("chain change") << WinMsg::ChangeCbChain << WinMsg::LButtonUp << false;
    }
    void trayClickShowsAHiddenWindowOnly() {
        QFETCH(quint32, message);
        QFETCH(qintptr, lParam);
        QFETCH(bool, shows);
        TestRig rig;
        frmMain form(rig.m);
        form.showMinimized();
        form.hide();
        QCOMPARE(form.MainWndProc(message, 0, lParam), qintptr(0));
        QCOMPARE(form.isVisible(), shows);
        if (!shows)
            return;
        QVERIFY(!(form.windowState() & Qt::WindowMinimized));
        QTRY_COMPARE(QApplication::activeWindow(), &form);

        // A second click while it is shown changes nothing.
        const QRect place = form.geometry();
        form.MainWndProc(WinMsg::TrayIcon, 0, WinMsg::LButtonUp);
        QVERIFY(form.isVisible());
        QCOMPARE(form.geometry(), place);
        QCOMPARE(form.lstTxt->count(), 0);
    }
};

QTEST_MAIN(tst_Watcher)
#include "tst_watcher.moc"
