// SPDX-License-Identifier: MIT
// A program that copies text and is slow to hand it over, for the tests:
//
//     slowowner <milliseconds | never> <text> [utf8]
//
// It owns the clipboard until it is killed, and prints "owner" once it does.
// With "utf8" it also offers text/plain;charset=utf-8, as GTK programs do.
// Asked for the text, it waits the given time before it answers; with
// "never" it stops answering anything (a program that hangs).
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QThread>
#include <cstdio>

namespace {

class SlowText final : public QMimeData {
public:
    SlowText(int delayMs, QString text, bool utf8)
        : m_delayMs(delayMs)
        , m_text(std::move(text))
        , m_utf8(utf8) {}

    QStringList formats() const override {
        if (m_utf8)
            return {QStringLiteral("text/plain;charset=utf-8"), QStringLiteral("text/plain")};
        return {QStringLiteral("text/plain")};
    }
    bool hasFormat(const QString &mime) const override { return formats().contains(mime); }

protected:
    QVariant retrieveData(const QString &mime, QMetaType) const override {
        std::fprintf(stdout, "asked %s\n", qPrintable(mime));
        std::fflush(stdout);
        if (m_delayMs < 0) {
            for (;;)
                QThread::sleep(3600);
        }
        QThread::msleep(m_delayMs);
        std::fprintf(stdout, "answered\n");
        std::fflush(stdout);
        if (mime.contains(u"charset=utf-8"))
            return m_text.toUtf8();
        return m_text;
    }

private:
    int m_delayMs;
    QString m_text;
    bool m_utf8;
};

} // namespace

int main(int argc, char *argv[]) {
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3 || args.size() > 4) {
        std::fprintf(stderr, "usage: slowowner <milliseconds | never> <text> [utf8]\n");
        return 2;
    }
    const int delayMs = args.at(1) == u"never" ? -1 : args.at(1).toInt();
    QGuiApplication::clipboard()->setMimeData(
        new SlowText(delayMs, args.at(2), args.value(3) == u"utf8"));
    if (!QGuiApplication::clipboard()->ownsClipboard()) {
        std::fprintf(stderr, "slowowner: could not take the clipboard\n");
        return 1;
    }
    std::fprintf(stdout, "owner\n");
    std::fflush(stdout);
    return app.exec();
}
