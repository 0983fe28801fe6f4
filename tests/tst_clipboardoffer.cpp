// SPDX-License-Identifier: MIT
// What a clipboard offer holds, read from its MIME types.
#include "platform/clipboard.h"
#include "platform/clipboardaccess.h"

#include <QBuffer>
#include <QMimeData>
#include <QProcessEnvironment>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using Mime = QList<QPair<QString, QByteArray>>;
using namespace Qt::StringLiterals;

namespace {

QByteArray pngBytes() {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::green);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

const QString WindowsFormat = u"application/x-qt-windows-mime;value=\"%1\""_s;

} // namespace

class tst_ClipboardOffer : public QObject {
    Q_OBJECT
private slots:
    void kindsAndSecrets_data() {
        QTest::addColumn<Mime>("offered");
        QTest::addColumn<int>("kinds");
        QTest::addColumn<bool>("secret");
        const int text = int(ClipKind::Text), picture = int(ClipKind::Picture);
        const auto row = [](const char *name, const Mime &mime, int kinds, bool secret = false) {
            QTest::newRow(name) << mime << kinds << secret;
        };
        row("plain text", {{"text/plain;charset=utf-8", "hi"}}, text);
        row("rich text", {{"application/rtf", "{}"}, {"text/richtext", "x"}},
            int(ClipKind::RichText));
        row("png and text", {{"image/png", pngBytes()}, {"UTF8_STRING", "t"}}, text | picture);
        row("metafiles", {{"image/x-wmf", "x"}, {"image/x-emf", "x"}}, int(ClipKind::Metafile));
        // A file manager offers the paths as text as well; no text is taken from it.
        row("file manager copy",
            {{"text/uri-list", "file:///home/u/a.txt\r\n"}, {"text/plain", "/home/u/a.txt"}},
            int(ClipKind::Files));
        row("gnome copied files", {{"x-special/gnome-copied-files", "copy\nfile:///tmp/a"}},
            int(ClipKind::Files));
        row("web link is text", {{"text/uri-list", "https://example.org/"}, {"text/plain", "x"}},
            text);
        row("html only", {{"text/html", "<b>x</b>"}}, 0);
        row("password manager", {{"text/plain", "pw"}, {"x-kde-passwordManagerHint", "secret"}},
            text, true);
        row("not a secret", {{"text/plain", "pw"}, {"x-kde-passwordManagerHint", "other"}}, text);
        row("kept out of history",
            {{"text/plain", "pin"},
             {WindowsFormat.arg("CanIncludeInClipboardHistory"), QByteArray(4, 0)}},
            text, true);
        row("history allowed",
            {{"text/plain", "pin"},
             {WindowsFormat.arg("CanIncludeInClipboardHistory"), QByteArray(4, 1)}},
            text);
        row("excluded from monitors",
            {{WindowsFormat.arg("ExcludeClipboardContentFromMonitorProcessing"), QByteArray()}}, 0,
            true);
    }
    void kindsAndSecrets() {
        QFETCH(Mime, offered);
        QFETCH(int, kinds);
        QFETCH(bool, secret);
        QMimeData data;
        for (const auto &[type, bytes] : offered)
            data.setData(type, bytes);
        const ClipOffer offer = clipOfferOf(&data);
        QCOMPARE(int(offer.kinds.toInt()), kinds);
        QCOMPARE(offer.secret, secret);
        QCOMPARE(offer.mimeTypes.size(), offered.size());
        QCOMPARE(clipOfferOf(nullptr).kinds.toInt(), 0);
    }

    void aWaylandSessionWithoutDataControl() {
        // The environment as it was, however the test ends.
        const auto restore = qScopeGuard([saved = QProcessEnvironment::systemEnvironment()] {
            for (const char *name : {"WAYLAND_DISPLAY", "DISPLAY", "QT_QPA_PLATFORM"}) {
                const QString key = QString::fromLatin1(name);
                if (saved.contains(key))
                    qputenv(name, saved.value(key).toLocal8Bit());
                else
                    qunsetenv(name);
            }
        });
        const QByteArray display = qgetenv("DISPLAY");
        qunsetenv("QT_QPA_PLATFORM");
        // A compositor that takes the connection and never answers, and a
        // DISPLAY where no X server answers: said after a while, and the
        // windows stay on Wayland.
        const QTemporaryDir dir;
        sockaddr_un address{AF_UNIX, {}};
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s/x", qPrintable(dir.path()));
        const int silent = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(::bind(silent, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
                ::listen(silent, 1) == 0);
        qputenv("WAYLAND_DISPLAY", address.sun_path);
        qputenv("DISPLAY", ":99");
        const ClipboardAccess none = chooseClipboardAccess();
        QCOMPARE(none.problem.reason, Reason::NoDataControl);
        QCOMPARE(none.platform, "wayland");
        ::close(silent);
        if (display.isEmpty())
            QSKIP("needs an X server: run ./test");
        // With an X server the windows go there, through the arguments
        // alone. One that cannot be told to be this session's is named.
        qputenv("DISPLAY", display);
        const ClipboardAccess access = chooseClipboardAccess();
        QVERIFY(access.problem.ok());
        QCOMPARE(access.display, QString::fromLocal8Bit(display));
        QVERIFY(qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"));
        char program[] = "orlo", option[] = "-x";
        char *argv[] = {program, option};
        ApplicationArguments arguments(2, argv, access.platform);
        QCOMPARE(arguments.count(), 4);
        QCOMPARE(QByteArray(arguments.values()[1]) + arguments.values()[2], "-platformxcb");
    }
};

QTEST_MAIN(tst_ClipboardOffer)
#include "tst_clipboardoffer.moc"
