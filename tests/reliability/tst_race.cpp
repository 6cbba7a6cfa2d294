// Several worker processes sell the same few units, storage rooms and parking
// spaces, give loans from the same two facilities, pay for and delete the same
// applicants, save the same records from windows read a moment before and
// replace the divisions, all at once.  Afterwards every rule holds, nothing is
// sold twice, no facility is overdrawn, the divisions are one import's, the
// rows left are exactly what the workers' committed actions account for, and
// no committed save of a record was overwritten by one that had not seen it.
//
// The normal run: 3 workers for 3 seconds.  The benchmark (figures on the log):
//     TAVRIN_RACE_WORKERS=2 TAVRIN_RACE_ATTEMPTS=1000 ctest -R tst_race -V
#include "reliability/stress.h"

#include "reference/divisions.h"

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
        const QMap<QString, QString> staleBefore = test::staleValues();

        QElapsedTimer clock;
        clock.start();
        std::vector<std::unique_ptr<QProcess>> procs;
        for (int i = 0; i < workers; ++i) {
            procs.push_back(std::make_unique<QProcess>());
            test::startWorker(*procs.back(), quint32(1000 + i), attempts, ms);
        }
        QMap<QString, int> ok, kinds;
        QList<test::WorkerLine> all;
        int staleSaved = 0, staleChanged = 0;
        for (auto& p : procs) {
            QVERIFY(p->waitForFinished(attempts > 0 ? 600000 : 60000));
            QCOMPARE(p->exitCode(), 0);
            const QByteArray out = p->readAllStandardOutput();
            QVERIFY2(out.contains("\ndone "), out.right(500).constData());
            for (const test::WorkerLine& l : test::workerLines(out)) {
                all << l;
                ++kinds[l.kind];
                if (l.action.startsWith(QLatin1String("stale"))) {
                    staleSaved += l.kind == QLatin1String("ok");
                    staleChanged += l.kind == QLatin1String("no") && l.text.endsWith(QLatin1String(" changed"));
                }
                if (l.kind == QLatin1String("ok"))
                    ++ok[l.action];
                else if (l.kind == QLatin1String("err"))
                    qWarning("%s", qPrintable(l.text));
            }
        }
        const double seconds = clock.elapsed() / 1000.0;

        const QStringList broken = test::brokenRules() + test::lostUpdates(all, staleBefore);
        qInfo("%s: %d workers, %d attempts, %d committed, %d refused, %d failed, %.1f s; sales %d, storage %d, parking %d, "
              "loans %d, payments %d, moves %d, deletes %d, unit edits %d, transfers %d, taken back %d, imports %d, "
              "stale saves %d (%d refused as changed); check: %s",
              qPrintable(test::backendName()), workers, kinds.value(QStringLiteral("begin")), kinds.value(QStringLiteral("ok")),
              kinds.value(QStringLiteral("no")), kinds.value(QStringLiteral("err")), seconds, ok.value(QStringLiteral("sale")),
              ok.value(QStringLiteral("storage")), ok.value(QStringLiteral("parking")), ok.value(QStringLiteral("loan")),
              ok.value(QStringLiteral("payment")), ok.value(QStringLiteral("move")), ok.value(QStringLiteral("delete")), ok.value(QStringLiteral("unitedit")),
              ok.value(QStringLiteral("transfer")), ok.value(QStringLiteral("takeback")), ok.value(QStringLiteral("import")),
              staleSaved, staleChanged, broken.isEmpty() ? "nothing found" : qPrintable(broken.join(QStringLiteral("; "))));
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QLatin1Char('\n'))));
        // The workers really contended, and nothing failed on the way.
        QVERIFY(kinds.value(QStringLiteral("no")) > 0);
        QVERIFY(ok.value(QStringLiteral("sale")) > 0 && ok.value(QStringLiteral("payment")) > 0 && staleSaved > 0);
        QCOMPARE(kinds.value(QStringLiteral("err")), 0);
        // Every committed sale and delete, and nothing else, made the applicants;
        // loans are never taken back, and the two facilities pay six at most.
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from customers")),
                 customersBefore + ok.value(QStringLiteral("sale")) - ok.value(QStringLiteral("delete")));
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from vahed_vam")), ok.value(QStringLiteral("loan")));
        QVERIFY(ok.value(QStringLiteral("loan")) <= 6);
        // The divisions are one import's three rows, never two imports mixed.
        const QStringList codes = dm().textColumn(QStringLiteral("select cod from abadiha order by cod"));
        QVERIFY(ok.value(QStringLiteral("import")) > 0);
        QCOMPARE(codes.size(), 3);
        QCOMPARE(codes.last().section(QLatin1Char('-'), 0, 1), codes.first().section(QLatin1Char('-'), 0, 1));
    }

    // The races the workers above can meet, made certain: another user's open
    // transaction gives a loan to the unit being sold, adds a payment for the
    // applicant being deleted, and replaces the divisions being replaced.  The
    // sale takes the loan into the buyer's row, the delete takes the payment
    // with him, and the second import replaces the first one's rows.
    void writesWaitForAnotherUsersOpenTransaction()
    {
        test::useFreshDatabase();
        test::loginAs(QStringLiteral("admin"));
        test::seedContest(4);
        if (QTest::currentTestFailed())
            return;
        const QSqlRecord prj = *dm().firstRow(QStringLiteral("select * from projects"));
        const QSqlRecord unit = *dm().firstRow(QStringLiteral("select * from vahedha where status=? order by id"),
                                              {items::freeStatus()});
        const qint64 unitId = unit.value(QStringLiteral("id")).toLongLong();
        applicants::CustomerValues v = test::saleOf(prj, unit, QStringLiteral("دير"), QStringLiteral("0084575948"));
        Outcome sale;
        test::whileAnotherUserHolds(
            [&](Database& other) {
                other.exec(QStringLiteral("update vahedha set vam=vam where id=?"), {unitId});
                other.insert(QStringLiteral("vahed_vam"),
                             {QStringLiteral("prj_id"), QStringLiteral("tashilat_id"), QStringLiteral("vahed_id"), QStringLiteral("mablagh")},
                             {prj.value(QStringLiteral("id")), 0, unitId, 7000000});
                other.exec(QStringLiteral("update vahedha set vam=7000000 where id=?"), {unitId});
            },
            [&] { sale = applicants::insertCustomer(v, test::answering(true)); });
        QVERIFY(sale.done);
        QCOMPARE(dm().scalar(QStringLiteral("select vam from customers where id=?"), {sale.id}).toLongLong(), 7000000);

        test::whileAnotherUserHolds(
            [&](Database& other) {
                other.exec(QStringLiteral("update customers set pardakht_sum=pardakht_sum where id=?"), {sale.id});
                other.insert(QStringLiteral("pardakht"), {QStringLiteral("customer_id"), QStringLiteral("mablagh"), QStringLiteral("vosol")},
                             {sale.id, 5000, 5000});
                other.exec(QStringLiteral("update customers set pardakht_sum=5000 where id=?"), {sale.id});
            },
            [&] { QVERIFY(applicants::deleteCustomer(sale.id).done); });

        const auto sheet = [](int n) {
            QList<Division> rows;
            for (int i = 0; i < n; ++i)
                rows << Division::fromValues({QStringLiteral("فارس"), QStringLiteral("شيراز"), {}, {}, {}, {}, QString::number(i)});
            return rows;
        };
        test::whileAnotherUserHolds([&](Database& other) { replaceDivisions(other, sheet(3)); },
                                    [&] { QCOMPARE(replaceDivisions(dm(), sheet(2)), 2); });
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from abadiha")), 2);
        const QStringList broken = test::brokenRules();
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QLatin1Char('\n'))));
    }
};

TAVRIN_DB_TEST_MAIN(TestRace)
#include "tst_race.moc"
