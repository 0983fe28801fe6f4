// SPDX-License-Identifier: MIT
// Capture speed against a bare Qt program on the same X server: the time from
// starting xclip to the entry being listed, a burst of back-to-back copies,
// and a 4K picture. Needs DISPLAY (bench/run provides a private Xvfb).
#include "benchprogram.h"
#include "benchutil.h"
#include "core/picturereader.h"
#include "platform/clipboard.h"
#include "platform/textrecognizer.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QMimeData>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

namespace {

/// Copies like another program does: one xclip per copy, kept alive (it
/// serves the clipboard) until the next copy takes over.
class Copier {
public:
    ~Copier() {
        for (auto &p : m_processes) {
            p->kill();
            p->waitForFinished(1000);
        }
    }

    /// Starts xclip on the file.
    void copyFile(const QString &file, const QString &type) {
        auto process = std::make_unique<QProcess>();
        QStringList args{QStringLiteral("-selection"), QStringLiteral("clipboard"),
                         QStringLiteral("-quiet"), QStringLiteral("-verbose")};
        if (!type.isEmpty())
            args << QStringLiteral("-t") << type;
        args << QStringLiteral("-i") << file;
        process->setProcessChannelMode(QProcess::MergedChannels);
        process->start(QStringLiteral("xclip"), args);
        m_processes.push_back(std::move(process));
        reap();
    }

private:
    void reap() {
        std::erase_if(m_processes, [](const std::unique_ptr<QProcess> &p) {
            return p->state() == QProcess::NotRunning;
        });
    }
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes) {
    QFile file(dir.filePath(name));
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return file.fileName();
}

/// A 3840×2160 picture with the texture of a screenshot: flat areas, text-like noise.
QString screenshotPng(const QTemporaryDir &dir) {
    QImage image(3840, 2160, QImage::Format_RGB888);
    image.fill(QColor(236, 236, 236));
    QRandomGenerator random(42);
    for (int y = 0; y < image.height(); ++y) {
        uchar *line = image.scanLine(y);
        const bool textRow = (y / 18) % 3 == 1;
        for (int x = 0; x < image.width(); ++x) {
            if (x < 300) {
                line[3 * x] = 40;
                line[3 * x + 1] = 44;
                line[3 * x + 2] = 52;
            } else if (textRow && random.bounded(4) == 0) {
                const uchar v = uchar(random.bounded(120));
                line[3 * x] = line[3 * x + 1] = line[3 * x + 2] = v;
            }
        }
    }
    const QString path = dir.filePath(QStringLiteral("screen.png"));
    image.save(path, "PNG");
    return path;
}

struct Latencies {
    QList<double> samples;
    int missed = 0;
};

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    Copier copier;

    // Baseline: a bare program that listens and reads what was copied. It
    // shares the process with the program and goes first: ours fetches every
    // copy it hears of, and an owner that hands over in pieces (xclip) serves
    // one reader at a time, so the two cannot listen at once.
    bool bareOn = true;
    int bareTexts = 0;
    int barePictures = 0;
    const QString bareBmp = dir.filePath(QStringLiteral("bare.bmp"));
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, [&] {
        if (!bareOn)
            return;
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        if (!data)
            return;
        if (data->hasImage()) {
            const QImage image = qvariant_cast<QImage>(data->imageData());
            if (!image.isNull() && image.save(bareBmp, "BMP"))
                ++barePictures;
        } else if (data->hasText() && !data->text().isEmpty()) {
            ++bareTexts;
        }
    });

    auto textFile = [&](int i) {
        return writeFile(dir, QStringLiteral("t%1.txt").arg(i),
                         QStringLiteral("剪贴板测试 text number %1").arg(i).toUtf8());
    };
    const QString png = screenshotPng(dir);
    int copyNumber = 0;
    const QString piece = QStringLiteral("var 数据=[0x1f,\"剪贴板\"];if(a&&b){return c<d?e:f}");
    auto bigFile = [&](bool lines) {
        QString text = QStringLiteral("%1 ").arg(copyNumber++);
        while (text.size() < 3'000'000)
            text += piece;
        if (lines) {
            for (qsizetype at = 80; at < text.size(); at += 81)
                text[at] = u'\n';
        }
        return writeFile(dir, QStringLiteral("big%1.txt").arg(copyNumber), text.toUtf8());
    };
    auto timeOne = [&](Latencies &into, const QString &file, const QString &type,
                       const std::function<int()> &count) {
        const int before = count();
        QElapsedTimer timer;
        timer.start();
        copier.copyFile(file, type);
        if (bench::waitFor([&] { return count() > before; }))
            into.samples.append(timer.nsecsElapsed() / 1e6);
        else
            ++into.missed;
    };
    // The same copies for both: texts, a 4K screenshot, three million
    // characters in one line and in lines of 80.
    const auto measure = [&](Latencies &text, Latencies &picture, Latencies big[2],
                             const std::function<int()> &texts,
                             const std::function<int()> &pictures,
                             const std::function<void()> &beforeBig = {}) {
        for (int i = 0; i < 15; ++i)
            timeOne(text, textFile(copyNumber++), {}, texts);
        for (int i = 0; i < 7; ++i)
            timeOne(picture, png, QStringLiteral("image/png"), pictures);
        for (int i = 0; i < 5; ++i) {
            for (int lines = 0; lines < 2; ++lines) {
                const QString file = bigFile(lines);
                if (beforeBig)
                    beforeBig();
                timeOne(big[lines], file, {}, texts);
            }
        }
    };
    Latencies bareText, oursText, barePicture, oursPicture, bareBig[2], oursBig[2];
    measure(
        bareText, barePicture, bareBig, [&] { return bareTexts; }, [&] { return barePictures; });
    bareOn = false;

    bench::ProgramGround ground(dir.filePath(QStringLiteral("settings.ini")));
    Program program(ground.platform(), ground.settings, dir.filePath(QStringLiteral("app")));
    program.start();
    EntryStore &store = program.store();
    // The window hidden; a timer due every 5 ms tells how long the event
    // loop stood still while ours took the big texts.
    program.window().hide();
    QElapsedTimer sinceTick;
    sinceTick.start();
    qint64 gap = 0, stall = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        gap = std::max(gap, sinceTick.elapsed());
        stall = std::max(stall, gap);
        sinceTick.restart();
    });
    measure(
        oursText, oursPicture, oursBig, [&] { return int(store.texts().next()); },
        [&] { return int(store.pictures().next()); },
        [&] {
            ticker.start(5);
            gap = 0;
            sinceTick.restart();
        });
    ticker.stop();

    // Bursts from another program: each copy starts as soon as the previous
    // one owns the clipboard. Counted: the copies taken, in the order made,
    // by ours and by a raw xcb listener on the same copies.
    QStringList taken;
    program.window().deleteAll();
    // Every capture makes its entry current: record what each one took.
    QObject::connect(&store.texts(), &TextEntries::currentChanged,
                     [&](int row) { taken.append(store.texts().text(row)); });
    const auto inOrder = [](const QStringList &seen, int first, int count) {
        int found = 0;
        qsizetype from = 0;
        for (int i = first; i < first + count; ++i) {
            const qsizetype at =
                seen.indexOf(QStringLiteral("剪贴板测试 text number %1").arg(i), from);
            if (at >= 0) {
                ++found;
                from = at + 1;
            }
        }
        return found;
    };
    for (const int burst : {99, 200}) {
        const int first = 5000 + burst * 10;
        QStringList files;
        for (int i = first; i < first + burst; ++i)
            files << textFile(i);
        QProcess raw;
        raw.start(QStringLiteral(ORLO_XCBWATCH), {});
        bench::waitFor([&] { return raw.canReadLine(); }, 5000);
        raw.readLine();
        taken.clear();
        QProcess burster;
        const QStringList args{QStringLiteral("-c"), QStringLiteral(R"(
            for f in "$@"; do
                coproc xclip -selection clipboard -quiet -verbose -i "$f" 2>&1
                read -r _ <&"${COPROC[0]}"
                pids+=("$COPROC_PID")
            done
            sleep 0.5
            kill "${pids[@]}" 2>/dev/null
        )"),
                               QStringLiteral("burst")};
        burster.start(QStringLiteral("bash"), args + files);
        bench::waitFor([&] { return burster.state() == QProcess::NotRunning; }, 60000);
        bench::waitFor([&] { return inOrder(taken, first, burst) == burst; }, 2000);
        raw.kill();
        raw.waitForFinished(1000);
        const QStringList rawSeen = QString::fromUtf8(raw.readAllStandardOutput()).split(u'\n');
        const int ours = inOrder(taken, first, burst), bare = inOrder(rawSeen, first, burst);
        bench::row(QStringLiteral("burst of %1 copies").arg(burst),
                   QStringLiteral("%1 of %2 in order").arg(ours).arg(burst),
                   QStringLiteral("%1 of %2 (raw xcb)").arg(bare).arg(burst),
                   QStringLiteral("%1%").arg(100.0 * ours / qMax(bare, 1), 0, 'f', 0),
                   QStringLiteral("≥ 98% of the baseline"), ours >= 0.98 * bare);
    }

    // The same texts while the words of a screenshot are read over and over,
    // in the background, as after a run of screenshots: ours and the bare
    // listener under the same load.
    Latencies bareLoaded, oursLoaded;
    const std::unique_ptr<TextRecognizer> recognizer =
        makeTextRecognizer(QStringLiteral(ORLO_PROGRAM));
    if (recognizer) {
        const QString loadFolder = dir.filePath(QStringLiteral("load"));
        QDir().mkpath(loadFolder);
        PictureEntries screenshots(loadFolder);
        QImage(png).save(screenshots.file(0), "BMP");
        PictureReader reader(screenshots, *recognizer, 60'000);
        QObject::connect(&reader, &PictureReader::waitingChanged, [&](int waiting) {
            if (waiting == 0)
                screenshots.restore(1, 1); // read it again
        });
        screenshots.restore(1, 1);
        // Both listen; each copy gives one time to each.
        bareOn = true;
        for (int i = 0; i < 15; ++i) {
            const int bareBefore = bareTexts, oursBefore = int(taken.size());
            QElapsedTimer timer;
            timer.start();
            copier.copyFile(textFile(copyNumber++), {});
            double bare = 0, ours = 0;
            const bool both = bench::waitFor([&] {
                if (!bare && bareTexts > bareBefore)
                    bare = timer.nsecsElapsed() / 1e6;
                if (!ours && taken.size() > oursBefore)
                    ours = timer.nsecsElapsed() / 1e6;
                return bare && ours;
            });
            if (both) {
                bareLoaded.samples << bare;
                oursLoaded.samples << ours;
            }
            oursLoaded.missed += !both;
        }
        bareOn = false;
    }

    const double bt = bench::median(bareText.samples);
    const double ot = bench::median(oursText.samples);
    bench::row(QStringLiteral("text capture latency (xclip → listed)"), bench::ms(ot),
               bench::ms(bt), bench::times(ot / bt), QStringLiteral("≤ 1.3×"),
               ot <= 1.3 * bt && oursText.missed == 0);
    const double bp = bench::median(barePicture.samples);
    const double op = bench::median(oursPicture.samples);
    bench::row(QStringLiteral("4K PNG → 图像NN.bmp written"), bench::ms(op), bench::ms(bp),
               bench::times(op / bp), QStringLiteral("≤ 1.2×"),
               op <= 1.2 * bp && oursPicture.missed == 0);
    const char *bigNames[] = {"3M-character line, window hidden",
                              "3M characters in 80-character lines, hidden"};
    for (int lines = 0; lines < 2; ++lines) {
        const double bare = bench::median(bareBig[lines].samples);
        const double ours = bench::median(oursBig[lines].samples);
        bench::row(QString::fromLatin1(bigNames[lines]), bench::ms(ours), bench::ms(bare),
                   bench::times(ours / bare), QStringLiteral("≤ 2×"),
                   ours <= 2 * bare && oursBig[lines].missed == 0);
    }
    if (recognizer) {
        const double bl = bench::median(bareLoaded.samples);
        const double ol = bench::median(oursLoaded.samples);
        bench::row(QStringLiteral("text capture latency, words in a picture being read"),
                   bench::ms(ol), bench::ms(bl), bench::times(ol / bl), QStringLiteral("≤ 1.3×"),
                   ol <= 1.3 * bl && oursLoaded.missed == 0);
    }
    bench::row(QStringLiteral("longest stall taking them, hidden"), bench::ms(double(stall)),
               QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("≤ 200 ms"), stall <= 200);
    std::fprintf(stderr, "missed: bare text %d, ours text %d, bare picture %d, ours picture %d\n",
                 bareText.missed, oursText.missed, barePicture.missed, oursPicture.missed);
    program.window().deleteAll();
    return 0;
}
