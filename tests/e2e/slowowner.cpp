// SPDX-License-Identifier: MIT
// slowowner <milliseconds | never> <text>: owns the clipboard with the text, and prints
// "owner" then; asked for it, prints "asked <type>", waits, answers and prints "answered",
// or with "never" hangs.
// slowowner <atoms | types> <count> <text>: owns it with the text at once, listing after it
// `count` atoms made up at random, or types made for the purpose; ends once replaced.
// slowowner flood <count> <megabytes>: copies `count` texts that large, one every 100 ms,
// and prints "done" after the last.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>
#include <xcb/xcb.h>

using namespace Qt::StringLiterals;

namespace {

class SlowText final : public QMimeData {
public:
    SlowText(int delayMs, QString text)
        : m_delayMs(delayMs)
        , m_text(std::move(text)) {}

    QStringList formats() const override { return {QStringLiteral("text/plain")}; }

protected:
    QVariant retrieveData(const QString &mime, QMetaType) const override {
        std::printf("asked %s\n", qPrintable(mime));
        QThread::msleep(m_delayMs < 0 ? 86'400'000UL : ulong(m_delayMs)); // "never": a day
        std::puts("answered");
        return QVariant(m_text);
    }

private:
    int m_delayMs;
    QString m_text;
};

/// A list of atoms that exist nowhere, as an owner that means harm makes it,
/// on an X connection of its own.
int ownWithMadeUpAtoms(int count, const QByteArray &text) {
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    const auto intern = [c](const char *name) {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : XCB_NONE;
        std::free(reply);
        return atom;
    };
    const xcb_atom_t targets = intern("TARGETS"), utf8 = intern("UTF8_STRING");
    std::vector<xcb_atom_t> list{targets, utf8};
    std::mt19937 random(std::random_device{}());
    for (int i = 0; i < count; ++i)
        list.push_back(0x1000000 + random() % 0x10000000); // far past the server's
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window,
                      xcb_setup_roots_iterator(xcb_get_setup(c)).data->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_set_selection_owner(c, window, intern("CLIPBOARD"), XCB_CURRENT_TIME);
    xcb_flush(c);
    std::puts("owner");
    while (xcb_generic_event_t *event = xcb_wait_for_event(c)) {
        const auto *request = reinterpret_cast<xcb_selection_request_event_t *>(event);
        if ((event->response_type & 0x7f) == XCB_SELECTION_CLEAR)
            return 0; // replaced
        if ((event->response_type & 0x7f) == XCB_SELECTION_REQUEST) {
            const bool listing = request->target == targets, asText = request->target == utf8;
            if (listing || asText)
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, request->requestor, request->property,
                                    listing ? xcb_atom_t(XCB_ATOM_ATOM) : utf8, listing ? 32 : 8,
                                    uint32_t(listing ? list.size() : text.size()),
                                    listing ? static_cast<const void *>(list.data()) : text.data());
            xcb_selection_notify_event_t notify{};
            notify.response_type = XCB_SELECTION_NOTIFY;
            notify.time = request->time;
            notify.requestor = request->requestor;
            notify.selection = request->selection;
            notify.target = request->target;
            notify.property = listing || asText ? request->property : xcb_atom_t(XCB_NONE);
            xcb_send_event(c, 0, request->requestor, XCB_EVENT_MASK_NO_EVENT,
                           reinterpret_cast<const char *>(&notify));
            xcb_flush(c);
        }
        std::free(event);
    }
    return 1;
}

} // namespace

int main(int argc, char *argv[]) {
    QGuiApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each line as it is written
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
            }
        });
        every.start(100);
        return app.exec();
    }
    if (args.value(1) == u"atoms")
        return ownWithMadeUpAtoms(args.value(2).toInt(), args.value(3).toUtf8());
    if (args.value(1) == u"types") { // made for the purpose, each an atom of the server's
        auto *listed = new QMimeData;
        listed->setText(args.value(3));
        for (int i = 0; i < args.value(2).toInt(); ++i)
            listed->setData(u"x-type-"_s + QString::number(i), "x");
        QGuiApplication::clipboard()->setMimeData(listed);
    } else {
        const int delayMs = args.value(1) == u"never" ? -1 : args.value(1).toInt();
        QGuiApplication::clipboard()->setMimeData(new SlowText(delayMs, args.value(2)));
    }
    if (!QGuiApplication::clipboard()->ownsClipboard())
        return 1;
    std::puts("owner");
    return app.exec();
}
