// SPDX-License-Identifier: MIT
// slowowner <milliseconds | never> <text> [utf8]: owns the clipboard with the text, and
// prints "owner" then; asked for it, prints "asked <type>", waits, answers and prints
// "answered", or with "never" hangs. "utf8" adds text/plain;charset=utf-8, as GTK programs do.
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
        std::printf("asked %s\n", qPrintable(mime));
        std::fflush(stdout);
        QThread::msleep(m_delayMs < 0 ? 86'400'000UL : ulong(m_delayMs)); // "never": a day
        std::puts("answered");
        std::fflush(stdout);
        return mime.contains(u"utf-8") ? QVariant(m_text.toUtf8()) : QVariant(m_text);
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
    const int delayMs = args.value(1) == u"never" ? -1 : args.value(1).toInt();
    QGuiApplication::clipboard()->setMimeData(
        new SlowText(delayMs, args.value(2), args.value(3) == u"utf8"));
    if (!QGuiApplication::clipboard()->ownsClipboard())
        return 1;
    std::puts("owner");
    std::fflush(stdout);
    return app.exec();
}
