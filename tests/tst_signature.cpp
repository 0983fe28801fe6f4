// SPDX-License-Identifier: MIT
#include "signaturereference.h"
#include "testrig.h"
#include "ui/frmmain.h"
#include "ui/signature.h"
#include "ui/textbox.h"

#include <QLabel>
#include <QRandomGenerator>

namespace {

/// Letters of both cases (some with case partners outside ASCII or outside
/// the basic plane), Chinese, and emoji made of surrogate pairs.
const QStringList pieces = {"a", "A", "b", "B", "中", "文",     "😀", "🎉",
                            "𐐀", "𐐨", "ς", "Σ", "σ",  "\u212A", "k", " "};

QString randomText(QRandomGenerator &random, int maxPieces) {
    QString text;
    for (int i = random.bounded(maxPieces + 1); i > 0; --i)
        text += pieces.at(random.bounded(int(pieces.size())));
    return text;
}

} // namespace

class tst_Signature : public QObject {
    Q_OBJECT

private slots:
    void removalRule_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("signature");
        QTest::addColumn<QString>("expected");
        QTest::newRow("any letter case") << "ABCabcxyz"
                                         << "abc"
                                         << "xyz";
        QTest::newRow("overlapping: the left one goes") << "aaa"
                                                        << "aa"
                                                        << "a";
        QTest::newRow("joined across a removal stays") << "xaabby"
                                                       << "ab"
                                                       << "xaby";
        QTest::newRow("Chinese") << "本站版权所有本站版权所有谢谢"
                                 << "本站版权所有"
                                 << "谢谢";
        QTest::newRow("one after another") << "abababX"
                                           << "AB"
                                           << "X";
        QTest::newRow("not found") << "hello"
                                   << "xyz"
                                   << "hello";
        QTest::newRow("empty signature") << "abc"
                                         << ""
                                         << "abc";
        QTest::newRow("beyond the basic plane") << "x𐐀y𐐨z😀"
                                                << "𐐨"
                                                << "xyz😀";
        // A signature with a lone surrogate never takes half of a pair.
        const QString low(QChar(0xDE00)), high(QChar(0xD83D));
        QTest::newRow("lone low surrogate") << "😀x" + low << low << "😀x";
        QTest::newRow("lone high surrogate") << "😀x" + high << high << "😀x";
        QTest::newRow("ends in half a pair") << "a😀a" + high << "a" + high << "a😀";
    }
    void removalRule() {
        QFETCH(QString, text);
        QFETCH(QString, signature);
        QFETCH(QString, expected);
        const QString kept = text;
        QCOMPARE(RemoveSignature(text, signature), expected);
        QCOMPARE(text, kept); // a shared text is copied, not cleaned in place
    }

    void equalsTheStepByStepRule() {
        QRandomGenerator random(20261201);
        for (int round = 0; round < 20000; ++round) {
            const QString text = randomText(random, round % 50 == 0 ? 700 : 30);
            // Mostly a piece of the text in another letter case, so there is
            // something to find; sometimes anything at all.
            QString signature = randomText(random, 3);
            if (!text.isEmpty() && random.bounded(4) != 0) {
                qsizetype from = random.bounded(int(text.size()));
                from -= from > 0 && text.at(from).isLowSurrogate();
                qsizetype to = qMin(text.size(), from + 1 + random.bounded(5));
                to += to < text.size() && text.at(to).isLowSurrogate();
                signature = text.mid(from, to - from);
                signature = random.bounded(2) ? signature.toUpper() : signature.toLower();
            }
            if (RemoveSignature(text, signature) != referenceRemoval(text, signature))
                QFAIL(qPrintable(
                    QStringLiteral("text \"%1\", signature \"%2\"").arg(text, signature)));
        }
    }

    void command_data() {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("tip");
        const QString text = QStringLiteral("第一段 - 来自 ORLO 论坛\n第二段 - 来自 orlo 论坛");
        QTest::newRow("Cancel") << QStringList() << 1 << text << "别的";
        QTest::newRow("OK, nothing typed") << QStringList{""} << 1 << text << "别的";
        QTest::newRow("found") << QStringList{" - 来自 Orlo 论坛"} << 1 << "第一段\n第二段"
                               << "就绪";
        QTest::newRow("not found") << QStringList{"别处"} << 1 << text << "就绪";
        QTest::newRow("no entry shown")
            << QStringList{"第"} << -1 << "一段 - 来自 ORLO 论坛\n二段 - 来自 orlo 论坛"
            << "就绪";
        QTest::newRow("past the slots")
            << QStringList{"第"} << 300 << "一段 - 来自 ORLO 论坛\n二段 - 来自 orlo 论坛"
            << "就绪";
    }
    void command() {
        QFETCH(QStringList, answers);
        QFETCH(int, current);
        QFETCH(QString, box);
        QFETCH(QString, tip);
        TestRig rig;
        frmMain form(rig.m);
        const QString text = QStringLiteral("第一段 - 来自 ORLO 论坛\n第二段 - 来自 orlo 论坛");
        const QString other = QStringLiteral("第三段 - 来自 Orlo 论坛");
        rig.m.setTextPage(0, other);
        rig.m.setTextPage(1, QStringLiteral("before an edit"));
        form.CurTextPage = qint16(current);
        form.txtMain->setText(text);
        form.lTip->setText(QStringLiteral("别的"));
        rig.dialogs.answers = answers;
        form.menuClearICP_Click();

        QCOMPARE(rig.dialogs.inputs.size(), 1);
        QCOMPARE(rig.dialogs.inputs.at(0).prompt, QStringLiteral("请输入要清除的文字："));
        QCOMPARE(rig.dialogs.inputs.at(0).title, QStringLiteral("清除签名"));
        QCOMPARE(form.txtMain->text(), box);
        QCOMPARE(form.lTip->text(), tip);
        QCOMPARE(rig.m.textPage(0), other);
        // The box's text, edits included, goes into the shown entry only.
        QCOMPARE(rig.m.textPage(1), current == 1 && tip == "就绪" ? box : "before an edit");
        QCOMPARE(rig.m.TextPages.size(), InitialTextSlots);
    }

    void afterDeleteAllStoresTheEmptyText() {
        TestRig rig;
        frmMain form(rig.m);
        form.menuDelAllTxt_Click();
        form.CurTextPage = 3;
        rig.m.setTextPage(3, QStringLiteral("stale"));
        rig.dialogs.answers = {QStringLiteral("x")};
        form.menuClearICP_Click();
        QCOMPARE(rig.m.textPage(3), QString());
    }
};

QTEST_MAIN(tst_Signature)
#include "tst_signature.moc"
