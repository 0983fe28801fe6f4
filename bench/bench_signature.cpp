// SPDX-License-Identifier: MIT
// Signature removal on 100 MB of text holding a million signatures, against
// one case-insensitive scan of the same text for the signature.
#include "benchutil.h"
#include "core/signature.h"

#include <QCoreApplication>
#include <QRandomGenerator>

namespace {

QString sampleText(const QString &signature, int occurrences, qsizetype totalChars) {
    const QString words = QStringLiteral("剪贴板的文字 Some ordinary English words, 数字 12345; ");
    QString text;
    text.reserve(totalChars + signature.size());
    QRandomGenerator random(7);
    const qsizetype between = totalChars / occurrences - signature.size();
    for (int i = 0; i < occurrences; ++i) {
        for (qsizetype n = 0; n < between; ++n)
            text.append(words.at(random.bounded(int(words.size()))));
        // Every other signature in another letter case.
        text.append(i % 2 ? signature.toUpper() : signature);
    }
    return text;
}

qsizetype scanCount(QStringView text, QStringView signature) {
    qsizetype count = 0;
    for (qsizetype at = text.indexOf(signature, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(signature, at + signature.size(), Qt::CaseInsensitive))
        ++count;
    return count;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QString signature = QStringLiteral("本站 www.Example.com");
    const QString text = sampleText(signature, 1000000, 50'000'000); // 100 MB as UTF-16
    QList<double> scans, removals;
    qsizetype found = 0;
    qsizetype left = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        found = scanCount(text, signature);
        scans.append(timer.nsecsElapsed() / 1e6);

        QString working = text;
        working.detach(); // the text box hands over a text of its own
        timer.restart();
        const QString cleaned = removeSignature(std::move(working), signature);
        removals.append(timer.nsecsElapsed() / 1e6);
        left = cleaned.size();
    }
    const double scan = bench::median(scans);
    const double removal = bench::median(removals);
    std::fprintf(stderr, "%lld occurrences, %lld characters left of %lld\n", qlonglong(found),
                 qlonglong(left), qlonglong(text.size()));
    bench::row(QStringLiteral("signature removal, 100 MB, 10⁶ occurrences"), bench::ms(removal),
               bench::ms(scan), bench::times(removal / scan), QStringLiteral("≤ 1.5×"),
               removal <= 1.5 * scan && left == text.size() - found * signature.size());
    return 0;
}
