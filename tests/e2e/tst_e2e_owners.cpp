// SPDX-License-Identifier: MIT
// Programs that are slow to hand over what they copied, or never do: the
// running program waits no longer than the toolkit's clipboard timeout,
// takes nothing wrong, and takes the next copy as usual.
#include "harness.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QTest>

using namespace e2e;

namespace {

/// How long the toolkit waits for a clipboard owner's answer (X11).
constexpr int ToolkitTimeoutMs = 5000;
/// Room for a loaded machine on top of it; a second wait would not fit.
constexpr int SlackMs = 3000;

/// The test helper that owns the clipboard and answers late (slowowner.cpp).
class SlowOwner {
public:
    ~SlowOwner() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }

    bool start(const QStringList &arguments) {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(qEnvironmentVariable("ORLO_SLOWOWNER_BIN"), arguments);
        if (!m_process.waitForStarted(5000))
            return false;
        QElapsedTimer clock;
        clock.start();
        while (!lines().contains(QStringLiteral("owner"))) {
            if (clock.elapsed() > 5000 || !m_process.waitForReadyRead(500))
                return lines().contains(QStringLiteral("owner"));
        }
        return true;
    }
    /// How often the text was asked for, and whether an answer went out.
    int asked() { return int(lines().filter(QStringLiteral("asked ")).size()); }
    bool answered() { return lines().contains(QStringLiteral("answered")); }

private:
    QStringList lines() {
        m_output += QString::fromUtf8(m_process.readAllStandardOutput());
        return m_output.split(u'\n', Qt::SkipEmptyParts);
    }

    QProcess m_process;
    QString m_output;
};

} // namespace

class tst_E2eOwners : public QObject {
    Q_OBJECT

    Desktop desktop;
    Copier copier;
    std::unique_ptr<Orlo> orlo;

private slots:
    void initTestCase() {
        if (const QString why = unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        if (!QFile::exists(qEnvironmentVariable("ORLO_SLOWOWNER_BIN")))
            QSKIP("ORLO_SLOWOWNER_BIN does not name the helper");
        QVERIFY(desktop.startTrayHost());
        orlo = std::make_unique<Orlo>();
        QVERIFY2(orlo->start(), "the program's icon did not appear in the tray");
    }

    void cleanupTestCase() {
        QGuiApplication::clipboard()->clear();
        orlo.reset();
    }

    void lateOwnersCostOneTimeoutAtMost_data() {
        QTest::addColumn<QString>("delay");
        QTest::addColumn<QString>("formats");
        QTest::addColumn<bool>("taken");
        QTest::newRow("answers after a second") << "1000"
                                                << "" << true;
        QTest::newRow("answers after a second, UTF-8 text too") << "1000"
                                                                << "utf8" << true;
        QTest::newRow("answers after the toolkit gave up") << "7000"
                                                           << "" << false;
        QTest::newRow("never answers") << "never"
                                       << "" << false;
        QTest::newRow("never answers, UTF-8 text too") << "never"
                                                       << "utf8" << false;
    }
    void lateOwnersCostOneTimeoutAtMost() {
        QFETCH(QString, delay);
        QFETCH(QString, formats);
        QFETCH(bool, taken);
        const QString text = QStringLiteral("迟到的 text, %1 ms").arg(delay);
        const qsizetype entriesBefore = orlo->entries().size();
        const int changesBefore = orlo->changes();

        SlowOwner owner;
        QVERIFY(owner.start({delay, text, formats}));
        QElapsedTimer clock;
        clock.start();
        QTRY_VERIFY_WITH_TIMEOUT(orlo->changes() > changesBefore, 4 * ToolkitTimeoutMs);
        const qint64 handledMs = clock.elapsed();
        qInfo("owner that %s: change handled after %lld ms, text asked for %d time(s)",
              QTest::currentDataTag(), handledMs, owner.asked());
        QVERIFY(owner.asked() >= 1);
        QVERIFY2(handledMs < ToolkitTimeoutMs + SlackMs,
                 qPrintable(QStringLiteral("the program waited %1 ms").arg(handledMs)));

        const QList<Entry> entries = orlo->entries();
        if (taken) {
            QCOMPARE(owner.asked(), 1);
            QCOMPARE(entries.size(), entriesBefore + 1);
            QCOMPARE(entries.constLast().text, text);
        } else {
            // Nothing half-read, no empty entry.
            QCOMPARE(entries.size(), entriesBefore);
        }
        // An answer that comes after the wait is over must not be taken for
        // the answer to the next request.
        if (delay == u"7000")
            QTRY_VERIFY_WITH_TIMEOUT(owner.answered(), 3 * ToolkitTimeoutMs);

        // The next copy, made while the slow owner still runs, is taken as usual.
        const QString next = QStringLiteral("next copy after %1").arg(QTest::currentDataTag());
        const int changesNow = orlo->changes();
        QVERIFY(copier.copyText(next));
        clock.restart();
        QTRY_VERIFY_WITH_TIMEOUT(orlo->changes() > changesNow, 10000);
        qInfo("the next copy was handled after %lld ms", clock.elapsed());
        QCOMPARE(orlo->entries().size(), entries.size() + 1);
        QCOMPARE(orlo->entries().constLast().text, next);
        QCOMPARE(orlo->shownText(), next);
    }
};

E2E_MAIN(tst_E2eOwners)
#include "tst_e2e_owners.moc"
