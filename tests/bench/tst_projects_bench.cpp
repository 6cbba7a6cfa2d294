// Response times of the project list over many projects: the search (with the
// county scope of a county user, and of the admin level) and the click on a
// project that loads its units, storage rooms and parking spaces with their
// counts.  Each is timed as the median of several runs and must answer well
// under a second.
//
// The normal run uses a small database (a few seconds).  The full measurement:
//     TAVRIN_BENCH_PROJECTS=5000 TAVRIN_BENCH_UNITS=40 ctest -R tst_projects_bench -V
// (5,000 projects, 200,000 units, 100,000 storage rooms and 100,000 parking spaces).
//
// On PostgreSQL the same actions also run through a relay that delays every
// request by 30 ms, as a province office far from the server sees them: each
// reports its round trips and time, and must stay under 300 ms
// (TAVRIN_BENCH_TRACE=1 prints the statements of each action's first run).
#include "support/latencyproxy.h"
#include "support/testsupport.h"

#include "maintenance/demodata.h"
#include "projects/project_ins_u.h"
#include "projects/project_panels.h"
#include "projects/project_src_u.h"

#include "common/listmodel.h"
#include "common/session.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

using namespace tavrin;

namespace {


// Median milliseconds of runs of f.
double medianMs(int runs, const std::function<void(int)>& f)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f(i);
        times << t.nsecsElapsed() / 1e6;
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

QString label(const QWidget* w, const char* name)
{
    return w->findChild<QLabel*>(QString::fromLatin1(name))->text();
}

} // namespace

class TestProjectsBench : public QObject {
    Q_OBJECT

    int projects = 0;
    int units = 0;

    void report(const char* what, double ms)
    {
        qInfo("%s [%s, %d projects, %d units]: %.1f ms", what, qPrintable(test::backendName()), projects,
              projects * units, ms);
        TAVRIN_CHECK_TIME(ms < 1000, what);
    }

private Q_SLOTS:
    void initTestCase()
    {
        projects = test::envInt("TAVRIN_BENCH_PROJECTS", 300);
        units = test::envInt("TAVRIN_BENCH_UNITS", 20);
        test::useFreshDatabase();
        demo::Options o;
        o.projects = projects;
        o.unitsPerProject = units;
        const demo::Report r = demo::generate(dm(), o);
        qInfo("demo data [%s]: %d projects, %lld units, %lld storage rooms, %lld parking spaces, %lld applicants in %.1f s",
              qPrintable(test::backendName()), r.projects, r.units, r.storageRooms, r.parkingSpaces, r.applicants,
              r.milliseconds / 1000.0);
        // A county user granted a third of the counties.
        const QStringList counties = dm().textColumn(QStringLiteral("select distinct shahrestan from abadiha order by shahrestan"));
        QStringList granted;
        for (int i = 0; i < counties.size(); i += 3)
            granted << counties[i];
        test::addUser(QStringLiteral("bench"), QStringLiteral("city"), {}, {}, granted);
    }

    void cleanupTestCase() { destroyWindows(); }

    void searchWithCountyScope()
    {
        test::loginAs(QStringLiteral("bench"));
        Tproject_src& w = window<Tproject_src>();
        w.prepareToShow();
        const int expected = dm().scalar(QStringLiteral("select count(*) from projects where shahrestan in "
                                                        "(select cmt from dastrasi2 where user_id=?)"),
                                         {session().prsId})
                                 .toInt();
        QVERIFY(expected > 0 && expected < projects);
        QCOMPARE(label(&w, "cnt").toInt(), expected);
        // The search as the button runs it: count, first page, totals, the first project's lists.
        report("search, county user", medianMs(7, [&](int) { w.src_btnClick(); }));
        QCOMPARE(label(&w, "cnt").toInt(), expected);
        // With a province and a name filter.
        const QString ostan = w.currentProject().value(QStringLiteral("ostan")).toString();
        w.findChild<QCheckBox*>(QStringLiteral("CheckBox10"))->setChecked(true);
        w.findChild<QComboBox*>(QStringLiteral("ostan"))->setEditText(ostan);
        w.findChild<QCheckBox*>(QStringLiteral("CheckBox2"))->setChecked(true);
        w.findChild<QLineEdit*>(QStringLiteral("prj_name"))->setText(QStringLiteral("مسکن"));
        report("search, county user, province and name filters", medianMs(7, [&](int) { w.src_btnClick(); }));
        QVERIFY(label(&w, "cnt").toInt() > 0);
    }

    void searchAsAdmin()
    {
        test::loginAs(QStringLiteral("admin"));
        Tproject_src& w = window<Tproject_src>();
        w.prepareToShow();
        QCOMPARE(label(&w, "cnt").toInt(), projects);
        report("search, admin", medianMs(7, [&](int) { w.src_btnClick(); }));
        // The last page of the list.
        ListModel* m = w.grid()->listModel();
        report("last page of the list", medianMs(5, [&](int i) {
                   m->sortByField(QStringLiteral("prj_name"), i % 2 ? Qt::AscendingOrder : Qt::DescendingOrder);
                   (void)m->value(m->rowCount() - 1, QStringLiteral("id"));
               }));
    }

    void clickOnAProject()
    {
        test::loginAs(QStringLiteral("bench"));
        Tproject_src& w = window<Tproject_src>();
        w.prepareToShow();
        ListModel* m = w.grid()->listModel();
        const int rows = m->rowCount();
        report("cell click (three lists with counts)", medianMs(15, [&](int i) {
                   const int row = (i * 37) % rows;
                   w.grid()->setCurrentIndex(m->index(row, 0));
                   w.DBGrid1CellClick();
               }));
        const qint64 id = w.currentProject().value(QStringLiteral("id")).toLongLong();
        QCOMPARE(label(&w, "vahed_cnt").toInt(), units);
        QCOMPARE(label(&w, "anbari_cnt").toInt(),
                 dm().scalar(QStringLiteral("select count(*) from anbariha where prj_id=?"), {id}).toInt());
        QCOMPARE(w.panel(int(ProjectItems::Units))->grid()->listModel()->rowCount(), units);
    }

    void actionsFarFromTheServer()
    {
        if (test::backendUnderTest() != Backend::PostgreSQL)
            QSKIP("round trips are a server's");
        test::DialogRecorder dialogs;
        test::loginAs(QStringLiteral("bench"));
        const ConnectionParams direct = dm().params();
        auto proxy = test::LatencyProxy::toTestServer(30);
        {
            auto far = std::make_unique<Database>(proxy->through(direct));
            QVERIFY(far->open());
            setDm(std::move(far));
        }
        Tproject_src& w = window<Tproject_src>();
        w.prepareToShow();
        ListModel* m = w.grid()->listModel();
        // Each action runs five times after its untimed setup; the median time
        // and the mean round trips are reported.
        const auto measure = [&](const char* what, int maxTrips, const std::function<void(int)>& action,
                                 const std::function<void()>& setup = {}, double maxMs = 300) {
            const auto before = [&setup](int) {
                if (setup)
                    setup();
            };
            test::measureFar(*proxy, what, QStringLiteral("%1 projects").arg(projects), maxTrips, action, before, maxMs);
        };
        // The count, the summary's sums and the first page in one statement;
        // then the current project's three lists, one statement each.
        measure("project search", 4, [&](int) { w.src_btnClick(); });
        QCOMPARE(label(&w, "cnt").toInt(), m->totalCount());
        measure("cell click", 3, [&](int i) {
            w.grid()->setCurrentIndex(m->index((i * 37) % m->rowCount(), 0));
            w.DBGrid1CellClick();
        });
        measure("title click (sort)", 1, [&](int i) {
            w.grid()->titleClick(i % 3);
            (void)m->value(0, QStringLiteral("id"));  // the rows the grid shows
        });
        const auto firstRow = [&] { w.grid()->setCurrentIndex(m->index(0, 0)); };
        Tproject_ins& record = window<Tproject_ins>();
        dialogs.onExec = [](QDialog*) { return int(QDialog::Rejected); };
        // The row, then every choice list of the record in one statement.
        measure("opening a project", 2, [&](int) { w.N2Click(); }, firstRow);
        // The save's transaction (the BEGIN with the lock, the place and county
        // read together, the update, then its log row and the applicants' copy
        // with the COMMIT), then the list read again; the project's three lists
        // stay as they are.
        measure("saving a project", 5, [&](int) { record.edit_btnClick(); }, [&] {
            firstRow();
            w.DBGrid1CellClick();
            w.N2Click();
        });
        QVERIFY(!dialogs.shown.isEmpty());
        setDm(nullptr);
        auto near = std::make_unique<Database>(direct);
        QVERIFY(near->open());
        setDm(std::move(near));
    }
};

TAVRIN_DB_TEST_MAIN(TestProjectsBench)
#include "tst_projects_bench.moc"
