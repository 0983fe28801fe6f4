// SPDX-License-Identifier: MIT
#include "core/signature.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// The rule step by step, the slow way: find from the search position, delete
// in place, search again from where the occurrence began.
QString referenceRemoval(QString text, const QString &signature) {
    qsizetype at = 0;
    while (!signature.isEmpty() && (at = text.indexOf(signature, at, Qt::CaseInsensitive)) >= 0)
        text.remove(at, signature.size());
    return text;
}

} // namespace

class tst_Signature : public QObject {
    Q_OBJECT
    static void row(const char *name, const QStringList &c) { QTest::newRow(name) << c; }

private slots:
    void removal_data() {
        QTest::addColumn<QStringList>("c"); // text, signature, what is left
        const QString low(QChar(0xDE00)), high(QChar(0xD83D));
        row("overlapping: the left one goes", {"aaa", "aa", "a"});
        row("joined across a removal stays", {"xaabby", "ab", "xaby"});
        row("Chinese lines", {"谢 - 来自 ORLO\n再 - 来自 orlo", " - 来自 Orlo", "谢\n再"});
        row("lone low surrogate", {"😀x" + low, low, "😀x"});
        row("lone high surrogate", {"😀x" + high, high, "😀x"});
        row("ends in half a pair", {"a😀a" + high, "a" + high, "a😀"});
    }
    void removal() {
        QFETCH(QStringList, c);
        const QString text = c.at(0);
        QCOMPARE(removeSignature(text, c.at(1)), c.at(2));
        QCOMPARE(text, c.at(0)); // a shared text is copied, not cleaned in place
    }

    void equalsTheStepByStepRule() {
        // Letters with case partners outside ASCII or the basic plane, Chinese,
        // emoji; empty texts and signatures, ones not found, runs of them.
        const QStringList pieces{"a", "A", "b", "B", "中", "文",     "😀", "🎉",
                                 "𐐀", "𐐨", "ς", "Σ", "σ",  "\u212A", "k", " "};
        QRandomGenerator random(20261201);
        for (int round = 0; round < 20000; ++round) {
            QStringList parts;
            for (int i = random.bounded(round % 50 ? 31 : 701); i > 0; --i)
                parts << pieces.at(random.bounded(int(pieces.size())));
            const QString text = parts.join(QString());
            // Mostly a run of the text's own pieces, in another letter case.
            const QStringList &from = random.bounded(4) ? parts : pieces;
            QString signature =
                from.mid(random.bounded(int(from.size()) + 1), random.bounded(5)).join(QString());
            signature = random.bounded(2) ? signature.toUpper() : signature.toLower();
            QCOMPARE(removeSignature(text, signature), referenceRemoval(text, signature));
        }
    }
};

QTEST_MAIN(tst_Signature)
#include "tst_signature.moc"
