// SPDX-License-Identifier: MIT
// The program as the end-to-end tests run it: the same program, which also
// tells the tests what it does. ORLO_TEST_REPORT names a file; one JSON line
// is appended for the status line and every entry there is at start, then
// for every new entry, every clipboard change handled, and every new size of
// the text view.
#include "app/application.h"
#include "app/program.h"
#include "platform/clipboard.h"
#include "platform/system.h"
#include "ui/textbox.h"
#include "ui/textpane.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>

namespace {

class Report final : public QObject {
public:
    Report(Program &program, QString path)
        : m_program(program)
        , m_path(std::move(path)) {
        EntryStore &store = program.store();
        append({{QStringLiteral("status"), program.window().lTip->text()}});
        for (int row = 0; row < store.texts().count(); ++row)
            textTaken(row);
        for (int row = 0; row < store.pictures().count(); ++row)
            pictureTaken(row);
        connect(&store.texts(), &TextEntries::rowsInserted, this,
                [this](auto, int first, int) { textTaken(first); });
        connect(&store.pictures(), &PictureEntries::rowsInserted, this,
                [this](auto, int first, int) { pictureTaken(first); });
        // Connected after the watcher: told once a change was handled.
        connect(&program.platform().clipboard, &Clipboard::changed, this, [this] {
            append({{QStringLiteral("change"), true}});
        });
        program.window().fmTxt->txtMain->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Resize) {
            const QSize size = static_cast<QWidget *>(watched)->size();
            append({{QStringLiteral("textView"), QJsonArray{size.width(), size.height()}}});
        }
        return false;
    }

private:
    void textTaken(int row) {
        const TextEntries &texts = m_program.store().texts();
        append({{QStringLiteral("entry"), texts.caption(row)},
                {QStringLiteral("text"), texts.text(row)}});
    }
    void pictureTaken(int row) {
        append({{QStringLiteral("entry"), m_program.store().pictures().caption(row)}});
    }
    void append(const QJsonObject &line) {
        QFile file(m_path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Append))
            file.write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');
    }

    Program &m_program;
    QString m_path;
};

} // namespace

int main(int argc, char *argv[]) {
    returnLargeBuffersToSystem();
    Application application(argc, argv);
    std::unique_ptr<Report> report;
    if (Program *program = application.program())
        report = std::make_unique<Report>(*program, qEnvironmentVariable("ORLO_TEST_REPORT"));
    return application.exec();
}
