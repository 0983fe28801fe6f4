// SPDX-License-Identifier: MIT
// Search: filtering a hundred texts of a megabyte each at every key typed,
// against Qt's own case-sensitive search of the same texts; reading the
// words in a full-HD screenshot, its time, its processor time and the
// memory it takes while reading and once it is idle again.
#include "benchutil.h"
#include "core/entryfilter.h"
#include "core/picturereader.h"
#include "core/textentries.h"
#include "fakes.h"
#include "platform/system.h"
#include "platform/textrecognizer.h"
#include "testrig.h"

#include <QGuiApplication>
#include <QPainter>
#include <QRandomGenerator>

namespace {

/// A screenshot's worth of lines of Chinese and English.
QImage screenshot() {
    QImage shot(1920, 1080, QImage::Format_RGB32);
    shot.fill(QColor(246, 246, 246));
    QPainter painter(&shot);
    QFont font(QStringLiteral("WenQuanYi Zen Hei"));
    font.setPixelSize(15);
    painter.setFont(font);
    for (int y = 24; y < 1070; y += 26)
        painter.drawText(
            24, y,
            QStringLiteral("剪贴板 clipboard 收集的文字 %1 search the words in pictures 图书馆")
                .arg(y));
    return shot;
}

} // namespace

int main(int argc, char *argv[]) {
    returnLargeBuffersToSystem(); // as the program does
    QGuiApplication app(argc, argv);

    // A hundred texts of a megabyte each, none holding the last word typed.
    TestRig rig;
    QRandomGenerator random(7);
    const QString pieces[] = {QStringLiteral("剪贴板 "), QStringLiteral("Clipboard "),
                              QStringLiteral("manager\n"), QStringLiteral("数据 ")};
    for (int i = 0; i < 100; ++i) {
        QString text;
        while (text.size() < 512 * 1024)
            text += pieces[random.bounded(4)];
        rig.store.captureText(text + QString::number(i));
    }
    EntryFilter filter(rig.texts());
    const QString typed = QStringLiteral("clipboard zebra");
    QList<double> ours, qt;
    for (qsizetype keys = 1; keys <= typed.size(); ++keys) {
        QElapsedTimer timer;
        timer.start();
        filter.setWords(SearchWords(typed.left(keys)));
        const int kept = filter.rowCount(); // filtered when first asked
        ours << timer.nsecsElapsed() / 1e6;
        timer.restart();
        int keptByQt = 0;
        for (const QString &text : rig.texts().texts()) {
            bool all = true;
            for (const QString &word : typed.left(keys).split(u' ', Qt::SkipEmptyParts))
                all = all && text.contains(word);
            keptByQt += all;
        }
        qt << timer.nsecsElapsed() / 1e6;
        std::fprintf(stderr, "\"%s\": %d kept, %d by Qt's case-sensitive search\n",
                     qPrintable(typed.left(keys)), kept, keptByQt);
    }
    const double worst = *std::max_element(ours.cbegin(), ours.cend());
    const double qtWorst = *std::max_element(qt.cbegin(), qt.cend());
    bench::row(QStringLiteral("search 100 texts of 1 MB, slowest key typed"), bench::ms(worst),
               bench::ms(qtWorst) + QStringLiteral(" (Qt, case-sensitive)"),
               bench::times(worst / qtWorst), QStringLiteral("≤ 50 ms"), worst <= 50);

    // The words in a screenshot, read as the program reads them.
    std::unique_ptr<TextRecognizer> recognizer = makeTextRecognizer(QStringLiteral(ORLO_PROGRAM));
    if (!recognizer) {
        bench::row(QStringLiteral("words in a 1920×1080 screenshot"), QStringLiteral("no OCR"),
                   QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"), false);
        return 0;
    }
    // Idle: the picture taken, nothing read yet.
    rig.store.capturePicture(screenshot());
    rig.pictures().restore(1, 1); // known from its file only, as after a start
    // This process and the one that reads the words for it.
    const auto memory = [] {
        return bench::ownMb(bench::processTree(QCoreApplication::applicationPid()));
    };
    const auto processor = [] {
        return bench::processorMs(bench::processTree(QCoreApplication::applicationPid()));
    };
    const double idle = memory();
    PictureReader reader(rig.pictures(), *recognizer, 10'000);
    double peak = idle;
    QTimer sample;
    QObject::connect(&sample, &QTimer::timeout, [&] { peak = std::max(peak, memory()); });
    sample.start(50);
    const double cpuBefore = processor();
    QElapsedTimer timer;
    timer.start();
    rig.pictures().restore(1, 1);
    bench::waitFor([&] { return reader.waiting() == 0; }, 120'000);
    const double took = timer.nsecsElapsed() / 1e6, cpu = processor() - cpuBefore;
    const bool read = rig.pictures().words(0).contains(QStringLiteral("图书馆"));
    bench::waitFor([] { return false; }, 30'000);
    const double after = memory();
    bench::row(QStringLiteral("words in a 1920×1080 screenshot, read in the background"),
               bench::ms(took) + QStringLiteral(", processor ") + bench::ms(cpu),
               QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("read"), read);
    bench::row(QStringLiteral("own memory: idle / reading / 30 s after"),
               QStringLiteral("%1 / %2 / %3 MB")
                   .arg(idle, 0, 'f', 1)
                   .arg(peak, 0, 'f', 1)
                   .arg(after, 0, 'f', 1),
               QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("after ≤ idle + 10 MB"),
               after <= idle + 10);
    return 0;
}
