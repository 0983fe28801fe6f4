// SPDX-License-Identifier: MIT
#include "signaturereference.h"
#include "testrig.h"
#include "ui/frmmain.h"
#include "ui/signature.h"
#include "ui/textbox.h"

#include <QLabel>
#include <QRandomGenerator>

class tst_Signature : public QObject {
    Q_OBJECT
    static void row(const char *name, const QStringList &c) { QTest::newRow(name) << c; }

private slots:
    void command_data() {
        QTest::addColumn<QStringList>("c"); // text, signature, what is left[, entry shown]
        const QString low(QChar(0xDE00)), high(QChar(0xD83D));
        row("any letter case", {"ABCabcxyz", "abc", "xyz"});
        row("overlapping: the left one goes", {"aaa", "aa", "a"});
        row("joined across a removal stays", {"xaabby", "ab", "xaby"});
        row("one after another", {"abababX", "AB", "X"});
        row("Chinese lines", {"谢 - 来自 ORLO\n再 - 来自 orlo", " - 来自 Orlo", "谢\n再"});
        row("not found", {"hello", "xyz", "hello"});
        row("Cancel, or nothing typed", {"abc", "", "abc"});
        row("beyond the basic plane", {"x𐐀y𐐨z😀", "𐐨", "xyz😀"});
        row("lone low surrogate", {"😀x" + low, low, "😀x"});
        row("lone high surrogate", {"😀x" + high, high, "😀x"});
        row("ends in half a pair", {"a😀a" + high, "a" + high, "a😀"});
        row("no entry shown", {"第一段", "第", "一段", "-1"});
        row("past the slots", {"第一段", "第", "一段", "300"});
        row("after delete all", {"", "x", ""});
    }
    void command() {
        QFETCH(QStringList, c);
        const QString text = c.at(0);
        QCOMPARE(RemoveSignature(text, c.at(1)), c.at(2));
        QCOMPARE(text, c.at(0)); // a shared text is copied, not cleaned in place

        TestRig rig;
        frmMain form(rig.m);
        text.isEmpty() ? form.menuDelAllTxt_Click() : form.txtMain->setText(text);
        rig.m.setTextPage(1, QStringLiteral("before an edit"));
        const int shown = c.value(3, QStringLiteral("1")).toInt();
        form.CurTextPage = qint16(shown);
        form.lTip->setText(QStringLiteral("别的"));
        rig.dialogs.answers = {c.at(1)};
        form.menuClearICP_Click();
        QCOMPARE((QStringList{form.txtMain->text(), form.lTip->text()} + rig.m.TextPages.mid(0, 2)),
                 (QStringList{c.at(2), c.at(1).isEmpty() ? "别的" : "就绪", "",
                              shown == 1 && !c.at(1).isEmpty() ? c.at(2) : "before an edit"}));
        QCOMPARE(rig.m.TextPages.size(), InitialTextSlots);
    }

    void equalsTheStepByStepRule() {
        // Letters with case partners outside ASCII or the basic plane, Chinese, emoji.
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
            QCOMPARE(RemoveSignature(text, signature), referenceRemoval(text, signature));
        }
    }
};

QTEST_MAIN(tst_Signature)
#include "tst_signature.moc"
