// SPDX-License-Identifier: MIT
// slowowner <milliseconds | never> <text>: owns the clipboard with the text, and prints
// "owner" then; asked for it, prints "asked <type>", waits, answers and prints "answered",
// or with "never" hangs.
// slowowner flood <count> <megabytes>: copies `count` texts that large, one every 100 ms,
// and prints "done" after the last.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QThread>
#include <QTimer>
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
    if (args.value(1) == u"flood") {
        int made = 0;
        QTimer every;
        QObject::connect(&every, &QTimer::timeout, [&] {
            auto *text = new QMimeData;
            text->setData(QStringLiteral("text/plain"),
                          QByteArray(qsizetype(args.value(3).toInt()) << 20, char('a' + made)));
            QGuiApplication::clipboard()->setMimeData(text);
            if (++made == args.value(2).toInt()) {
                every.stop();
                std::puts("done");
                std::fflush(stdout);
            }
        });
        every.start(100);
        return app.exec();
    }
    const int delayMs = args.value(1) == u"never" ? -1 : args.value(1).toInt();
    QGuiApplication::clipboard()->setMimeData(new SlowText(delayMs, args.value(2)));
    if (!QGuiApplication::clipboard()->ownsClipboard())
        return 1;
    std::puts("owner");
    std::fflush(stdout);
    return app.exec();
}
