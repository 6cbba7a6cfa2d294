// The report work tables: the set-based builds equal the per-project
// algorithm on random data, take a fixed number of statements, keep each
// user's rows apart, serialise one user's builds, and leave the previous build
// in place when they fail; the totals equal the sums of the detail rows.
#include "report_fixtures.h"

#include <QThread>

using namespace tavrin;
using namespace tavrin::reports;

class TestReportBuilds : public QObject {
    Q_OBJECT

    qint64 statementsOf(const std::function<void()>& f)
    {
        const qint64 before = dm().statementCount();
        f();
        return dm().statementCount() - before;
    }

private Q_SLOTS:
    void init() { test::useFreshDatabase(); }

    void setBasedRowsEqualTheOracle()
    {
        for (quint32 seed : {7u, 11u, 23u}) {
            test::useFreshDatabase();
            test::makeRandomFixture({seed, 35, 8});
            const qint64 user = test::addUser(QStringLiteral("u"), QStringLiteral("city"), {}, {},
                                              {QStringLiteral("بم"), QStringLiteral("ري")});
            for (ReportKind kind : kAllReports) {
                build(dm(), test::request(kind, 1));
                QCOMPARE(test::sortedKeys(test::tableRows(kind, 1)),
                         test::sortedKeys(test::Oracle(test::listedProjects()).rows(kind)));
            }
            // Counties with pre-registrations only, limited to the user's counties.
            BuildRequest r = test::request(ReportKind::Activity, user);
            r.grantedCountiesOnly = true;
            build(dm(), r);
            QCOMPARE(test::sortedKeys(test::tableRows(ReportKind::Activity, user)),
                     test::sortedKeys(test::Oracle(test::listedProjects(), true, user).rows(ReportKind::Activity)));
        }
    }

    void knownProjectRows()
    {
        // One project with two facilities: its counts on the row of the lowest
        // facility id, which comes first although its bank sorts after the other's.
        const qint64 prj = dm().insert(QStringLiteral("projects"),
                                       {QStringLiteral("ostan"), QStringLiteral("shahrestan"), QStringLiteral("prj_name"),
                                        QStringLiteral("prj_cod"), QStringLiteral("prj_typ"), QStringLiteral("vahed_kol"), QStringLiteral("vahed_cnt")},
                                       {QStringLiteral("تهران"), QStringLiteral("ري"), QStringLiteral("الف"), QStringLiteral("1"),
                                        QStringLiteral("حمايتي"), 10, 8});
        const QStringList facility {QStringLiteral("prj_id"), QStringLiteral("bank"), QStringLiteral("prot_typ"),
                                    QStringLiteral("mablagh"), QStringLiteral("daryafti")};
        dm().insert(QStringLiteral("tashilat"), facility, {prj, QStringLiteral("ب"), QVariant(), 500, 300});
        dm().insert(QStringLiteral("tashilat"), facility, {prj, QStringLiteral("الف"), reptext::kSupportive, 700, 400});
        for (const QVariant& transfer : {QVariant(test::kMask), QVariant(), QVariant(QStringLiteral("1402/01/01"))})
            dm().insert(QStringLiteral("customers"), {QStringLiteral("prj_id"), QStringLiteral("transport_dat"), QStringLiteral("sanad_no"), QStringLiteral("mablagh")},
                        {prj, transfer, QStringLiteral("9"), 1000});
        for (ReportKind kind : kAllReports)
            build(dm(), test::request(kind, 1));
        const QList<QVariantMap> rows = readRows(dm(), ReportKind::Status, detailStatement(dm(), ReportKind::Status, Grouping::Project, {}, 1));
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].value("bank").toString(), QStringLiteral("ب"));
        QCOMPARE(rows[0].value("vahed_kol").toLongLong(), 10);
        QCOMPARE(rows[0].value("vahed_f").toLongLong(), 2);   // a NULL transfer date is no transfer
        QCOMPARE(rows[0].value("mande").toLongLong(), 6);
        QCOMPARE(rows[0].value("vahed_mablagh").toLongLong(), 2000);
        QVERIFY(rows[1].value("vahed_kol").isNull() && rows[1].value("mande").isNull());
        QCOMPARE(rows[1].value("vahed_takhsis").toLongLong(), 0);
        const QVariantMap used = readRows(dm(), ReportKind::FacilitiesUsed, detailStatement(dm(), ReportKind::FacilitiesUsed, Grouping::Project, {}, 1)).first();
        QCOMPARE(used.value("hemayati").toLongLong(), 700);
        QCOMPARE(used.value("nohemayati").toLongLong(), 500);   // a NULL contract type is not supportive
        QCOMPARE(used.value("sanad").toLongLong(), 3);          // transferred applicants included
        QCOMPARE(used.value("vam").toLongLong(), 0);
    }

    // A county's pre-registrations stand on its project with the lowest id,
    // although another one's name comes first.
    void activityCountsPreregistrationsOnTheFirstProject()
    {
        for (const char* name : {"ب", "الف"})
            dm().insert(QStringLiteral("projects"), {QStringLiteral("ostan"), QStringLiteral("shahrestan"), QStringLiteral("prj_name"),
                                                     QStringLiteral("prj_typ")},
                        {QStringLiteral("تهران"), QStringLiteral("ري"), QString::fromUtf8(name), QStringLiteral("حمايتي")});
        dm().insert(QStringLiteral("pishsabt"), {QStringLiteral("ostan"), QStringLiteral("shahrestan")},
                    {QStringLiteral("تهران"), QStringLiteral("ري")});
        build(dm(), test::request(ReportKind::Activity, 1));
        QCOMPARE(dm().textColumn(QStringLiteral("select prj_name from gozaresh_sabt where pishsabt=1")), QStringList {QStringLiteral("ب")});
    }

    void totalsEqualTheDetailInEveryGrouping()
    {
        test::makeRandomFixture({5, 40, 6});
        for (ReportKind kind : kAllReports) {
            build(dm(), test::request(kind, 1));
            for (const ReadingFilter& f : {ReadingFilter {}, ReadingFilter {QStringLiteral("فارس"), {}, {}, true},
                                           ReadingFilter {{}, QStringLiteral("مرکزی"), QStringLiteral("مهر"), false}}) {
                const QVariantMap totals = readTotals(dm(), kind, f, 1);
                for (Grouping g : {Grouping::Project, Grouping::County, Grouping::Province}) {
                    const QList<QVariantMap> rows = readRows(dm(), kind, detailStatement(dm(), kind, g, f, 1));
                    for (const QString& name : sumNames(kind)) {
                        qint64 sum = 0;
                        for (const QVariantMap& r : rows)
                            sum += r.value(name).toLongLong();
                        QCOMPARE(sum, totals.value(name + QStringLiteral("_sum")).toLongLong());
                    }
                }
                if (kind == ReportKind::Status)   // units left are always the licensed units less the sold
                    QCOMPARE(totals.value("mande_sum").toLongLong(),
                             totals.value("vahed_cnt_sum").toLongLong() - totals.value("vahed_f_sum").toLongLong());
            }
        }
        // The county filter folds yeh and kaf; an empty result sums to 0.
        QVERIFY(readTotals(dm(), ReportKind::Status, {{}, QStringLiteral("مرکزی"), {}, false}, 1).value("c").toInt() > 0);
        QCOMPARE(readTotals(dm(), ReportKind::Status, {QStringLiteral("فار"), {}, {}, true}, 1).value("vahed_vosol_sum").toLongLong(), 0);
        QVERIFY(readTotals(dm(), ReportKind::Status, {QStringLiteral("فار"), {}, {}, false}, 1).value("c").toInt() > 0);
    }

    void statementCountDoesNotGrowWithTheData()
    {
        QMap<ReportKind, qint64> small;
        for (int size : {5, 60}) {
            test::useFreshDatabase();
            test::makeRandomFixture({9, size, size / 2});
            for (ReportKind kind : kAllReports) {
                const qint64 n = statementsOf([&] {
                    build(dm(), test::request(kind, 1));
                    readTotals(dm(), kind, {}, 1);
                    readRows(dm(), kind, detailStatement(dm(), kind, Grouping::Project, {}, 1));
                });
                QVERIFY2(n <= 10, qPrintable(workTable(kind)));
                if (size == 5)
                    small[kind] = n;
                else
                    QCOMPARE(n, small.value(kind));
            }
        }
    }

    void usersKeepTheirOwnRowsAndFailuresKeepThePreviousBuild()
    {
        test::makeRandomFixture({13, 20, 5});
        for (ReportKind kind : kAllReports) {
            build(dm(), test::request(kind, 1));
            BuildRequest other = test::request(kind, 2, ListQuery(QStringLiteral("select *"), QStringLiteral("from projects")));
            other.stamp.dat = QStringLiteral("1403/02/02");
            build(dm(), other);
            const QStringList mine = test::sortedKeys(test::tableRows(kind, 1));
            const QStringList theirs = test::sortedKeys(test::tableRows(kind, 2));
            QVERIFY(mine != theirs && !mine.isEmpty());
            build(dm(), test::request(kind, 1));   // a rebuild replaces only the user's own rows
            QCOMPARE(test::sortedKeys(test::tableRows(kind, 1)), mine);
            QCOMPARE(test::sortedKeys(test::tableRows(kind, 2)), theirs);

            // A failure in the middle of a build rolls back the stamp and the deletes.
            BuildRequest failing = test::request(kind, 2);
            failing.stamp.dat = QStringLiteral("1403/03/03");
            dm().setStatementHook([](const QString& sql) {
                if (sql.startsWith(QLatin1String("WITH")))
                    throw DbError(QStringLiteral("injected"), sql);
            });
            QVERIFY_THROWS_EXCEPTION(DbError, build(dm(), failing));
            dm().setStatementHook({});
            QCOMPARE(test::sortedKeys(test::tableRows(kind, 2)), theirs);
            QCOMPARE(readStamp(dm(), 2, kind)->dat, QStringLiteral("1403/02/02"));
            QCOMPARE(dm().scalar(QStringLiteral("select count(*) from gozaresh_sakht where prs_id=2 and rep_name=?"), {workTable(kind)}).toInt(), 1);
        }
    }

    void twoBuildsOfOneUserNeverInterleave()
    {
        // A second connection builds for the same user while the first holds its
        // transaction open: it waits, and the table ends with one build's rows.
        test::makeRandomFixture({17, 15, 4});
        const ConnectionParams params = dm().params();
        const QStringList expected = test::sortedKeys(test::Oracle(test::listedProjects()).rows(ReportKind::Status));
        bool otherFinishedEarly = true;
        QThread* other = nullptr;
        dm().setStatementHook([&](const QString& sql) {
            if (other || !sql.startsWith(QLatin1String("delete from gozaresh_sakht")))
                return;
            const BuildRequest r = test::request(ReportKind::Status, 1);
            other = QThread::create([params, r] {
                Database db(params);
                if (db.open())
                    build(db, r);
            });
            other->start();
            otherFinishedEarly = other->wait(700);
        });
        build(dm(), test::request(ReportKind::Status, 1));
        dm().setStatementHook({});
        QVERIFY(other);
        QVERIFY(other->wait(30000));
        delete other;
        QVERIFY(!otherFinishedEarly);
        QCOMPARE(test::sortedKeys(test::tableRows(ReportKind::Status, 1)), expected);
        QCOMPARE(dm().scalar(QStringLiteral("select count(*) from gozaresh_sakht where prs_id=1")).toInt(), 1);
    }
};

TAVRIN_DB_TEST_MAIN(TestReportBuilds)
#include "tst_report_builds.moc"
