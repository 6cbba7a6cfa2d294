// Build time and statement count of every report over many projects and
// applicants: demo projects with their units, storage rooms and parking
// spaces, then applicants (with payments, deeds and transfers), facilities,
// unit loans, assignments and pre-registrations added directly.  Each report
// is built for the admin (every project) and read (totals and detail); it must
// finish in under 10 seconds with the same number of statements as over the
// small database of the first round.
//
// The normal run is small (a few seconds).  The full measurement:
//     TAVRIN_BENCH_PROJECTS=5000 TAVRIN_BENCH_APPLICANTS=300000 ctest -R tst_reports_bench -V
#include "reports/report_fixtures.h"

#include "maintenance/demodata.h"

#include <QElapsedTimer>

using namespace tavrin;
using namespace tavrin::reports;

namespace {


// Demo projects, then applicants and the rest up to the given numbers.
void load(int projects, int applicants)
{
    demo::Options o;
    o.projects = projects;
    o.unitsPerProject = 40;
    o.soldPercent = 30;
    demo::generate(dm(), o);
    QRandomGenerator rnd(77);
    const QList<qint64> ids = [] {
        QList<qint64> out;
        QSqlQuery q = dm().exec(QStringLiteral("select id from projects order by id"));
        while (q.next())
            out << q.value(0).toLongLong();
        return out;
    }();
    const QVariantList transfers {test::kMask, test::kMask, test::kMask, QStringLiteral("1402/05/01")};
    Transaction tx(dm());
    {
        test::BulkInsert customers(QStringLiteral("customers"),
                                   {QStringLiteral("prj_id"), QStringLiteral("vahed_id"), QStringLiteral("lname"),
                                    QStringLiteral("transport_dat"), QStringLiteral("prot_no"), QStringLiteral("mali_no"),
                                    QStringLiteral("tahvil_no"), QStringLiteral("sanad_no"), QStringLiteral("sanad_enteghal_dat"),
                                    QStringLiteral("mablagh")});
        const int have = dm().scalar(QStringLiteral("select count(*) from customers")).toInt();
        for (int i = have; i < applicants; ++i)
            customers.add({ids.at(rnd.bounded(int(ids.size()))), 0, QStringLiteral("x"), transfers.at(rnd.bounded(4)),
                           rnd.bounded(2) ? QStringLiteral("12") : QStringLiteral(""), QStringLiteral(""),
                           rnd.bounded(3) ? QStringLiteral("") : QStringLiteral("7"), QStringLiteral(""),
                           rnd.bounded(5) ? test::kMask : QStringLiteral("1401/01/01"), 900000000});
    }
    dm().exec(QStringLiteral("insert into pardakht (customer_id,mablagh,vosol) select id, 100000000, 90000000 from customers"));
    {
        test::BulkInsert facilities(QStringLiteral("tashilat"),
                                    {QStringLiteral("prj_id"), QStringLiteral("bank"), QStringLiteral("etebar_loc"),
                                     QStringLiteral("prot_typ"), QStringLiteral("mablagh"), QStringLiteral("daryafti")});
        test::BulkInsert spaces(QStringLiteral("anbari"), {QStringLiteral("prj_id"), QStringLiteral("customer_id"), QStringLiteral("num")});
        test::BulkInsert prereg(QStringLiteral("pishsabt"), {QStringLiteral("ostan"), QStringLiteral("shahrestan"), QStringLiteral("lname")});
        for (qint64 id : ids) {
            for (int f = rnd.bounded(4); f > 0; --f)
                facilities.add({id, QStringLiteral("ملي"), QStringLiteral("ملي"),
                                f == 1 ? reptext::kSupportive : QStringLiteral("مشارکت مدني"), 5000000000LL, 4000000000LL});
            for (int s = rnd.bounded(8); s > 0; --s)
                spaces.add({id, 0, s});
        }
        for (int i = 0; i < applicants / 15; ++i)
            prereg.add({QStringLiteral("تهران"), QStringLiteral("ري"), QStringLiteral("y")});
    }
    dm().exec(QStringLiteral("insert into parking (prj_id,customer_id,num) select prj_id,customer_id,num from anbari"));
    dm().exec(QStringLiteral("insert into vahed_vam (prj_id,tashilat_id,vahed_id,mablagh) select prj_id,id,0,1000000 from tashilat"));
    tx.commit();
    if (test::backendUnderTest() == Backend::PostgreSQL)
        dm().exec(QStringLiteral("analyze"));
}

} // namespace

class TestReportsBench : public QObject {
    Q_OBJECT

    QMap<ReportKind, qint64> m_statements;

    void round(int projects, int applicants, bool measure)
    {
        test::useFreshDatabase();
        QElapsedTimer t;
        t.start();
        load(projects, applicants);
        const qint64 customers = dm().scalar(QStringLiteral("select count(*) from customers")).toLongLong();
        if (measure)
            qInfo("data [%s]: %d projects, %lld applicants, %lld payments, %lld facilities, loaded in %.1f s",
                  qPrintable(test::backendName()), projects, customers,
                  dm().scalar(QStringLiteral("select count(*) from pardakht")).toLongLong(),
                  dm().scalar(QStringLiteral("select count(*) from tashilat")).toLongLong(), t.elapsed() / 1000.0);
        const ListQuery all(QStringLiteral("select *"), QStringLiteral("from projects"));
        for (ReportKind kind : kAllReports) {
            const qint64 before = dm().statementCount();
            t.restart();
            build(dm(), test::request(kind, 1, all));
            const qint64 buildMs = t.elapsed();
            readTotals(dm(), kind, {}, 1);
            const int rows = int(readRows(dm(), kind, detailStatement(dm(), kind, Grouping::Project, {}, 1)).size());
            const qint64 ms = t.elapsed();
            const qint64 statements = dm().statementCount() - before;
            QVERIFY(rows >= projects);
            if (!measure) {
                m_statements[kind] = statements;
                continue;
            }
            qInfo("%s [%s]: build %.2f s, with totals and detail %.2f s, %lld statements, %d rows",
                  qPrintable(workTable(kind)), qPrintable(test::backendName()), buildMs / 1000.0, ms / 1000.0,
                  statements, rows);
            TAVRIN_CHECK_TIME(ms < 10000, qPrintable(workTable(kind)));
            QCOMPARE(statements, m_statements.value(kind));
        }
    }

private Q_SLOTS:
    void buildsAreFastWithAFixedStatementCount()
    {
        round(20, 500, false);
        round(test::envInt("TAVRIN_BENCH_PROJECTS", 300), test::envInt("TAVRIN_BENCH_APPLICANTS", 15000), true);
    }
};

TAVRIN_DB_TEST_MAIN(TestReportsBench)
#include "tst_reports_bench.moc"
