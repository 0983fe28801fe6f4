// SPDX-License-Identifier: MIT
// How fast the text data file is written, against the least any writer has
// to do: encode the same text to GBK and write the bytes in one piece.
//
//   bench_savetext [folder] [runs]
//
// 100 entries of about 1 MB each (Chinese mixed with ASCII words and line
// breaks), the median of several runs of each, side by side.
#include "benchutil.h"
#include "core/textfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Entries = 100;
constexpr qsizetype EntryBytes = 1000 * 1000;

/// About EntryBytes of GBK: runs of common hanzi, ASCII words, punctuation
/// (a question mark now and then) and line breaks.
QString mixedText(QRandomGenerator &random) {
    QString text;
    text.reserve(EntryBytes);
    qsizetype bytes = 0;
    while (bytes < EntryBytes) {
        if (random.bounded(2) == 0) {
            const int n = 4 + random.bounded(30);
            for (int i = 0; i < n; ++i)
                text.append(QChar(char16_t(0x4E00 + random.bounded(0x5000))));
            text.append(random.bounded(4) == 0 ? u'？' : u'，');
            bytes += 2 * (n + 1);
        } else {
            const int n = 2 + random.bounded(10);
            for (int i = 0; i < n; ++i)
                text.append(QChar(char16_t(u'a' + random.bounded(26))));
            text.append(random.bounded(8) == 0 ? u'?' : u' ');
            bytes += n + 1;
        }
        if (random.bounded(16) == 0) {
            text.append(u'\n');
            ++bytes;
        }
    }
    return text;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTemporaryDir scratch(args.size() > 1 ? args.at(1) + QStringLiteral("/bench-XXXXXX")
                                          : QDir::tempPath() + QStringLiteral("/bench-XXXXXX"));
    const int runs = args.size() > 2 ? std::max(1, args.at(2).toInt()) : 5;
    if (!scratch.isValid()) {
        std::fprintf(stderr, "no scratch folder\n");
        return 1;
    }

    QDateTime clock = QDateTime::currentDateTime();
    QStringList texts;
    QRandomGenerator random(20240501);
    for (int i = 0; i < Entries; ++i)
        texts << mixedText(random);

    // The baseline encodes the very text the data file holds.
    QString whole = QStringLiteral("<html><head><meta http-equiv=\"Content-Language\" "
                                   "content=\"zh-cn\"><meta http-equiv=\"Content-Type\" "
                                   "content=\"text/html; charset=gb2312\"><title>Orlo粘贴板"
                                   "数据文件</title></head><body><p><font size=\"3\" "
                                   "face=\"宋体\">\r\n");
    for (int i = 0; i < Entries; ++i)
        whole += texts.at(i) + QStringLiteral("<br><br>\r\n");
    whole += QStringLiteral("</font></p></body></html>\r\n");

    const QString folder = scratch.path();
    qint64 fileSize = 0;
    QList<double> baseline, encoding, streamed, saved;
    for (int run = 0; run < runs; ++run) {
        const QString plain = scratch.filePath(QStringLiteral("baseline.htm"));
        QElapsedTimer timer;
        timer.start();
        {
            QStringEncoder encoder("GBK");
            const QByteArray bytes = encoder.encode(whole);
            encoding.push_back(timer.nsecsElapsed() / 1e9);
            QFile file(plain);
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
                !file.flush()) {
                std::fprintf(stderr, "baseline write failed\n");
                return 1;
            }
            fileSize = bytes.size();
        }
        baseline.push_back(timer.nsecsElapsed() / 1e9);
        QFile::remove(plain);

        // A stricter reference: the entries alone, encoded one by one into a
        // reused buffer with no checks at all, committed like a data file.
        timer.restart();
        {
            QStringEncoder encoder("GBK");
            QSaveFile file(plain);
            QByteArray bytes;
            bool ok = file.open(QIODevice::WriteOnly);
            for (int i = 0; ok && i < Entries; ++i) {
                const QString &text = texts.at(i);
                bytes.resize(encoder.requiredSpace(text.size()));
                bytes.resize(encoder.appendToBuffer(bytes.data(), text) - bytes.constData());
                ok = file.write(bytes) == bytes.size();
            }
            if (!ok || !file.commit()) {
                std::fprintf(stderr, "reference write failed\n");
                return 1;
            }
        }
        streamed.push_back(timer.nsecsElapsed() / 1e9);
        QFile::remove(plain);

        clock = clock.addSecs(1);
        timer.restart();
        const Result result = saveTextFile(texts, 0, Entries - 1, folder, clock);
        saved.push_back(timer.nsecsElapsed() / 1e9);
        if (!result.ok() || QFileInfo(result.subject).size() != fileSize) {
            std::fprintf(stderr, "saveTextFile failed or wrote %lld bytes, not %lld\n",
                         QFileInfo(result.subject).size(), fileSize);
            return 1;
        }
        QFile::remove(result.subject);
    }

    // The piecewise path: the same entries with markup, an emoji and a
    // character outside the code page every few hundred characters.
    for (int i = 0; i < Entries; ++i) {
        QString &text = texts[i];
        for (qsizetype at = text.size() - 1; at > 0; at -= 300)
            text.insert(at, QStringLiteral("<b>😀한&"));
    }
    QList<double> piecewise;
    qint64 piecewiseSize = 0;
    for (int run = 0; run < runs; ++run) {
        clock = clock.addSecs(1);
        QElapsedTimer timer;
        timer.start();
        const Result result = saveTextFile(texts, 0, Entries - 1, folder, clock);
        piecewise.push_back(timer.nsecsElapsed() / 1e9);
        piecewiseSize = QFileInfo(result.subject).size();
        QFile::remove(result.subject);
    }

    const double mb = fileSize / 1e6;
    const double base = mb / bench::median(baseline);
    const double ours = mb / bench::median(saved);
    const double stream = mb / bench::median(streamed);
    // Details on stderr; the table row on stdout.
    std::fprintf(stderr, "file: %.1f MB, %d entries, median of %d runs\n", mb, Entries, runs);
    std::fprintf(stderr, "encoding alone: %.1f MB/s\n", mb / bench::median(encoding));
    std::fprintf(stderr,
                 "reference (entry by entry, no checks, QSaveFile): %.1f MB/s, ratio %.0f%%\n",
                 stream, 100.0 * ours / stream);
    std::fprintf(stderr, "saveTextFile, markup and references every 300 characters: %.1f MB/s\n",
                 piecewiseSize / 1e6 / bench::median(piecewise));
    const auto rate = [](double value) {
        return QString::number(value, 'f', 0) + QStringLiteral(" MB/s");
    };
    bench::row(QStringLiteral("saveTextFile, 100 entries × 1 MB"), rate(ours), rate(base),
               QString::number(100.0 * ours / base, 'f', 0) + QStringLiteral("%"),
               QStringLiteral("≥ 70% of the baseline"), ours >= 0.7 * base);
    return 0;
}
