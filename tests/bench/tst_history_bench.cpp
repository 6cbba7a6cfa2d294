// The record-history window over a large history: 1,000,000 rows of 100,000
// applicants' changes and one applicant with a few hundred of his own and his
// payments'.  Opening his history (the page right, the fields of the filter,
// the count and first page) and reading its second page are timed on the
// database under test; on PostgreSQL they also run through a relay that
// delays every request by 30 ms, where their round trips are asserted and the
// opening must stay under 300 ms (TAVRIN_CHECK_TIME).
//     TAVRIN_BENCH_HISTORY_ROWS=200000 ctest -R tst_history_bench -V
#include "support/latencyproxy.h"
#include "support/testsupport.h"

#include "admin/rights_templates.h"
#include "admin/taghirat_u.h"
#include "app/record_history.h"
#include "common/history_view.h"
#include "common/listmodel.h"

#include <QElapsedTimer>
#include <QLabel>

#include <algorithm>

using namespace tavrin;

namespace {

constexpr qint64 kApplicant = 1'000'001;   // beyond the generated applicants
constexpr int kOwnRows = 320;              // more than one page of the grid

// Median milliseconds of runs of f.
double medianMs(int runs, const std::function<void()>& f)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        times << t.nsecsElapsed() / 1e6;
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// n history rows made by one statement from a counter i = 1..n; `row` is the
// select list over i.
void generate(int n, const QString& row)
{
    dm().exec(QStringLiteral("with recursive n(i) as (select 1 union all select i+1 from n where i<?) "
                             "insert into taghirat (tbl,rec_id,cust_id,prj_id,field,old_val,new_val,amal,user_id,karbar,"
                             "tarikh,saat,log_id) select ") +
                  row + QStringLiteral(" from n"),
              {n});
}

} // namespace

class TestHistoryBench : public QObject {
    Q_OBJECT
    int rows = 0;

    // Opens the applicant's history as the pop-up entry does (the window is
    // "shown" and closed at once).
    void open()
    {
        history::openWindow(QStringLiteral("customers"), kApplicant, QStringLiteral("bench"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        registerRecordHistory();
        rows = test::envInt("TAVRIN_BENCH_HISTORY_ROWS", 1'000'000);
        test::useFreshDatabase();
        QCOMPARE(grantPages(dm(), {QString::fromLatin1(history::kPageKey)}), 1);
        test::loginAs(QStringLiteral("admin"));
        QElapsedTimer t;
        t.start();
        const QString numberText = QStringLiteral("cast(i as varchar(20))");
        generate(rows - kOwnRows,
                 QStringLiteral("'customers',1+i%100000,1+i%100000,0,case when i%3=0 then 'mablagh' when i%3=1 then "
                                "'takhfif' else 'lname' end,") +
                     numberText + QStringLiteral(",") + numberText +
                     QStringLiteral(",'edit',1,'admin','1403/05/10','10:00:00',0"));
        generate(kOwnRows, QStringLiteral("case when i%2=0 then 'customers' else 'pardakht' end,case when i%2=0 then %1 else i end,"
                                          "%1,0,case when i%2=0 then 'mablagh' else 'vosol' end,")
                               .arg(kApplicant) +
                               numberText + QStringLiteral(",") + numberText +
                               QStringLiteral(",'edit',1,'admin',case when i<100 then '1403/01/01' else '1403/06/01' end,"
                                              "'10:00:00',0"));
        dm().exec(QStringLiteral("analyze taghirat"));
        qInfo("history [%s]: %d rows in %.1f s", qPrintable(test::backendName()), rows, t.elapsed() / 1000.0);
        QCOMPARE(dm().scalar(QStringLiteral("select count(*) from taghirat")).toInt(), rows);
    }

    void cleanupTestCase() { destroyWindows(); }

    void openingAnApplicantsHistory()
    {
        test::DialogRecorder rec;
        rec.onExec = [](QDialog*) { return 0; };
        Ttaghirat& w = window<Ttaghirat>();
        const double ms = medianMs(7, [this] { open(); });
        qInfo("opening the history of one applicant [%s, %d rows]: %.1f ms", qPrintable(test::backendName()), rows, ms);
        TAVRIN_CHECK_TIME(ms < 300, "opening the history");
        QCOMPARE(w.cnt->text(), QString::number(kOwnRows));
        QCOMPARE(w.field->count(), 3);   // all, the price, the payment's amount collected
        ListModel* m = w.DBGrid1->listModel();
        const double page = medianMs(7, [&] {
            open();
            (void)m->value(kOwnRows - 1, QStringLiteral("id"));   // the last row: the second page
        });
        qInfo("opening and reading the second page [%s, %d rows]: %.1f ms", qPrintable(test::backendName()), rows, page);
        TAVRIN_CHECK_TIME(page < 300, "the second page");
        QVERIFY(rec.texts().isEmpty());
    }

    void farFromTheServer()
    {
        if (test::backendUnderTest() != Backend::PostgreSQL)
            QSKIP("round trips are a server's");
        test::DialogRecorder rec;
        rec.onExec = [](QDialog*) { return 0; };
        const ConnectionParams direct = dm().params();
        auto proxy = test::LatencyProxy::toTestServer(30);
        {
            auto far = std::make_unique<Database>(proxy->through(direct));
            QVERIFY(far->open());
            setDm(std::move(far));
        }
        Ttaghirat& w = window<Ttaghirat>();
        const QString scale = QStringLiteral("%1 history rows").arg(rows);
        // The page right, the fields of the filter, the count with the first page.
        test::measureFar(*proxy, "opening the history of one applicant", scale, 3, [this](int) { open(); });
        QCOMPARE(w.cnt->text(), QString::number(kOwnRows));
        // The rows after the first page: one statement.
        test::measureFar(*proxy, "the second page of the history", scale, 1,
                         [&](int) { (void)w.DBGrid1->listModel()->value(kOwnRows - 1, QStringLiteral("id")); },
                         [this](int) { open(); });
        // A search by field and dates: the count with the first page.
        test::measureFar(*proxy, "a search by field and dates", scale, 1, [&](int) { w.src_btnClick(); }, [&](int) {
            open();
            w.CheckBox1->setChecked(true);
            w.field->setCurrentIndex(1);
            w.CheckBox2->setChecked(true);
            w.dat1->setText(QStringLiteral("1403/01/01"));
            w.dat2->setText(QStringLiteral("1403/01/31"));
        });
        QVERIFY(w.cnt->text().toInt() > 0 && w.cnt->text().toInt() < kOwnRows / 2);
        QVERIFY(rec.texts().isEmpty());
        setDm(nullptr);
        auto near = std::make_unique<Database>(direct);
        QVERIFY(near->open());
        setDm(std::move(near));
    }
};

TAVRIN_DB_TEST_MAIN(TestHistoryBench)
#include "tst_history_bench.moc"
