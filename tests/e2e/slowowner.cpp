// SPDX-License-Identifier: MIT
// slowowner <milliseconds | never> <text>: owns the clipboard with the text, and prints
// "owner" then; asked for it, prints "asked <type>", waits, answers and prints "answered",
// or with "never" hangs.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QThread>
#include <cstdio>

namespace {

class SlowText final : public QMimeData {
public:
    SlowText(int delayMs, QString text)
        : m_delayMs(delayMs)
        , m_text(std::move(text)) {}

    QStringList formats() const override { return {QStringLiteral("text/plain")}; }
    bool hasFormat(const QString &mime) const override { return formats().contains(mime); }

protected:
    QVariant retrieveData(const QString &mime, QMetaType) const override {
        std::printf("asked %s\n", qPrintable(mime));
        std::fflush(stdout);
        QThread::msleep(m_delayMs < 0 ? 86'400'000UL : ulong(m_delayMs)); // "never": a day
        std::puts("answered");
        std::fflush(stdout);
        return QVariant(m_text);
    }

private:
    int m_delayMs;
    QString m_text;
};

} // namespace

int main(int argc, char *argv[]) {
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int delayMs = args.value(1) == u"never" ? -1 : args.value(1).toInt();
    QGuiApplication::clipboard()->setMimeData(new SlowText(delayMs, args.value(2)));
    if (!QGuiApplication::clipboard()->ownsClipboard())
        return 1;
    std::puts("owner");
    std::fflush(stdout);
    return app.exec();
}
