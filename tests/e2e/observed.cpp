// SPDX-License-Identifier: MIT
// The program as the end-to-end tests run it: the same program, which also
// tells the tests what it does. ORLO_TEST_REPORT names a file; one JSON line
// is appended for the status line and every entry there is at start, then
// for every new entry, every clipboard change handled (and whether its text
// was had), every picture whose words were read, every entry made current,
// and of what is saved: whether it is being indexed, and each match chosen
// with its text. Lines on its standard input run menu items ("menuCopyThis"), for
// desktops where no tool can type into its window; "accept" presses 确定 in
// the dialog open; "block N" keeps its window thread busy for N ms, as a slow
// disk or a big layout would. Started with --read-words, it is its own reader
// of the words in pictures, as the release program is.
#include "app/application.h"
#include "app/program.h"
#include "platform/clipboard.h"
#include "platform/system.h"
#include "platform/textrecognizer.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSocketNotifier>
#include <QThread>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

class Report final : public QObject {
public:
    Report(Program &program, QString path)
        : m_program(program)
        , m_path(std::move(path)) {
        EntryStore &store = program.store();
        const auto *status = program.window().findChild<QLabel *>(u"lTip"_s);
        append({{u"status"_s, status->text()}, {u"clipboard"_s, status->toolTip()}});
        for (int row = 0; row < store.texts().count(); ++row)
            textTaken(row);
        for (int row = 0; row < store.pictures().count(); ++row)
            append({{u"entry"_s, store.pictures().caption(row)}});
        // New rows, and rows a capture took again after the count started over.
        const auto picture = [this](int row) {
            append({{u"entry"_s, m_program.store().pictures().caption(row)}});
        };
        connect(&store.texts(), &TextEntries::rowsInserted, this,
                [this](auto, int first, int) { textTaken(first); });
        connect(&store.texts(), &TextEntries::dataChanged, this,
                [this](const QModelIndex &at, auto, const QList<int> &roles) {
                    if (roles.isEmpty()) // a capture, not an edit
                        textTaken(at.row());
                });
        connect(&store.pictures(), &PictureEntries::rowsInserted, this,
                [picture](auto, int first, int) { picture(first); });
        connect(&store.pictures(), &PictureEntries::dataChanged, this,
                [this, picture](const QModelIndex &at, auto, const QList<int> &roles) {
                    if (roles.isEmpty()) // a capture, not its words read
                        picture(at.row());
                    else
                        append({{u"words"_s, m_program.store().pictures().caption(at.row())},
                                {u"read"_s, m_program.store().pictures().searchText(at.row())}});
                });
        // The entry each view shows; "" for none (a search left it out).
        for (EntryList *entries :
             std::initializer_list<EntryList *>{&store.texts(), &store.pictures()})
            connect(entries, &EntryList::currentChanged, this, [this, entries](int row) {
                append({{u"current"_s, row >= 0 ? entries->caption(row) : QString()}});
            });
        connect(&program.archive(), &Archive::indexingChanged, this, [this](bool on) {
            append({{u"indexing"_s, on}});
        });
        auto *saved = program.window().findChild<QListWidget *>(u"lstSaved"_s);
        connect(saved, &QListWidget::currentRowChanged, this, [this, saved](int row) {
            const auto *text = m_program.window().findChild<QPlainTextEdit *>(u"txtSaved"_s);
            if (row >= 0)
                append({{u"saved"_s, saved->item(row)->text()},
                        {u"savedText"_s, text->toPlainText()}});
        });
        // Connected after the watcher: told once a change was handled, and
        // whether its text could be had (not when its owner went first).
        // Whether it had a text, other than the change before's (on X11 the
        // next owner answers for one replaced before it was asked).
        connect(&program.platform().clipboard, &Clipboard::changed, this, [this] {
            const QString text = m_program.platform().clipboard.readText().value_or(QString());
            append({{u"change"_s, !text.isEmpty() && text != std::exchange(m_lastText, text)}});
        });
        m_input.open(0, QIODevice::ReadOnly | QIODevice::Unbuffered);
        connect(&m_commands, &QSocketNotifier::activated, this, &Report::runCommand);
    }

private:
    void runCommand() {
        const QByteArray line = m_input.readLine(256);
        if (line.isEmpty()) {
            m_commands.setEnabled(false); // the test has gone
        } else if (line.startsWith("block ")) {
            append({{u"blocking"_s, true}});
            QThread::msleep(line.mid(6).trimmed().toULong());
        } else if (line.startsWith("accept")) {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                dialog->accept();
        } else if (auto *action = m_program.window().findChild<QAction *>(
                       QString::fromLatin1(line.trimmed()))) {
            action->trigger();
        }
    }
    void textTaken(int row) {
        const TextEntries &texts = m_program.store().texts();
        append({{u"entry"_s, texts.caption(row)}, {u"text"_s, texts.text(row)}});
    }
    void append(const QJsonObject &line) {
        QFile file(m_path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Append))
            file.write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');
    }

    Program &m_program;
    QString m_path, m_lastText;
    QFile m_input;
    QSocketNotifier m_commands{0, QSocketNotifier::Read};
};

} // namespace

int main(int argc, char *argv[]) {
    // Started again as the reader of words in pictures, as the program is.
    if (argc == 2 && std::strcmp(argv[1], ReadWordsArgument) == 0)
        return serveTextRecognition();
    returnLargeBuffersToSystem();
    Application application(argc, argv);
    std::unique_ptr<Report> report;
    if (Program *program = application.program())
        report = std::make_unique<Report>(*program, qEnvironmentVariable("ORLO_TEST_REPORT"));
    return application.exec();
}
