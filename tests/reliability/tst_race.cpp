// Several worker processes sell the same few units, storage rooms and parking
// spaces, give loans from the same two facilities, pay for and delete the same
// applicants and replace the divisions, all at once.  Afterwards every rule
// holds, nothing is sold twice, no facility is overdrawn, and the rows left are
// exactly what the workers' committed actions account for.
//
// The normal run: 3 workers for 3 seconds.  The benchmark (figures on the log):
//     TAVRIN_RACE_WORKERS=2 TAVRIN_RACE_ATTEMPTS=1000 ctest -R tst_race -V
#include "reliability/stress.h"

#include <QElapsedTimer>

using namespace tavrin;

class TestRace : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void racingWorkersKeepEveryRule()
    {
        test::useFreshDatabase();
        test::loginAs(QStringLiteral("admin"));
        test::seedContest(6);
        if (QTest::currentTestFailed())
            return;
        const int workers = qEnvironmentVariableIsSet("TAVRIN_RACE_WORKERS") ? qEnvironmentVariableIntValue("TAVRIN_RACE_WORKERS") : 3;
        const int attempts = qEnvironmentVariableIntValue("TAVRIN_RACE_ATTEMPTS");
        const int ms = attempts > 0 ? 0 : 3000;
        const int customersBefore = test::countOf(QStringLiteral("select count(*) from customers"));

        QElapsedTimer clock;
        clock.start();
        std::vector<std::unique_ptr<QProcess>> procs;
        for (int i = 0; i < workers; ++i) {
            procs.push_back(std::make_unique<QProcess>());
            test::startWorker(*procs.back(), quint32(1000 + i), attempts, ms);
        }
        QMap<QString, int> ok, kinds;
        for (auto& p : procs) {
            QVERIFY(p->waitForFinished(attempts > 0 ? 600000 : 60000));
            QCOMPARE(p->exitCode(), 0);
            const QByteArray out = p->readAllStandardOutput();
            QVERIFY2(out.contains("\ndone "), out.right(500).constData());
            for (const test::WorkerLine& l : test::workerLines(out)) {
                ++kinds[l.kind];
                if (l.kind == QLatin1String("ok"))
                    ++ok[l.action];
                else if (l.kind == QLatin1String("err"))
                    qWarning("%s %s %lld failed", qPrintable(l.action), qPrintable(QString::number(l.attempt)), l.target);
            }
        }
        const double seconds = clock.elapsed() / 1000.0;

        const QStringList broken = test::brokenRules();
        qInfo("%s: %d workers, %d attempts, %d committed, %d refused, %d failed, %.1f s; sales %d, storage %d, parking %d, "
              "loans %d, payments %d, deletes %d, imports %d; check: %s",
              qPrintable(test::backendName()), workers, kinds.value(QStringLiteral("begin")), kinds.value(QStringLiteral("ok")),
              kinds.value(QStringLiteral("no")), kinds.value(QStringLiteral("err")), seconds, ok.value(QStringLiteral("sale")),
              ok.value(QStringLiteral("storage")), ok.value(QStringLiteral("parking")), ok.value(QStringLiteral("loan")),
              ok.value(QStringLiteral("payment")), ok.value(QStringLiteral("delete")), ok.value(QStringLiteral("import")),
              broken.isEmpty() ? "nothing found" : qPrintable(broken.join(QStringLiteral("; "))));
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QLatin1Char('\n'))));
        // The workers really contended, and nothing failed on the way.
        QVERIFY(kinds.value(QStringLiteral("no")) > 0);
        QVERIFY(ok.value(QStringLiteral("sale")) > 0 && ok.value(QStringLiteral("payment")) > 0);
        QCOMPARE(kinds.value(QStringLiteral("err")), 0);
        // Every committed sale and delete, and nothing else, made the applicants;
        // loans are never taken back, and the two facilities pay six at most.
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from customers")),
                 customersBefore + ok.value(QStringLiteral("sale")) - ok.value(QStringLiteral("delete")));
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from vahed_vam")), ok.value(QStringLiteral("loan")));
        QVERIFY(ok.value(QStringLiteral("loan")) <= 6);
    }
};

TAVRIN_DB_TEST_MAIN(TestRace)
#include "tst_race.moc"
