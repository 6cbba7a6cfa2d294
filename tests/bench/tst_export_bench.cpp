// Time of a long list's export to Excel and of its sort with a jump to the
// last page, over n and 4n rows: both must grow about linearly (the result is
// read once, in order, never page by page).
//
// The normal run is small (a few seconds).  The full measurement (50,000 and
// 200,000 rows; 100000 for 100,000 and 400,000):
//     TAVRIN_BENCH_EXPORT_ROWS=50000 ctest -R tst_export_bench -V
// or a series of sizes, each against the first:
//     TAVRIN_BENCH_EXPORT_SIZES=50000,100000,200000,400000 ctest -R tst_export_bench -V
//
// The applicant list's export (every field of the list's statement, as the
// list window exports it) over demo applicants; 2,000 in the normal run, more
// with TAVRIN_BENCH_EXPORT_APPLICANTS; the time of 200,000 rows at that pace
// is reported against its 10 s goal.
#include "support/testsupport.h"

#include "applicants/customers_logic.h"
#include "maintenance/demodata.h"

#include "common/listmodel.h"
#include "common/spreadsheetreader.h"
#include "common/xlsxexport.h"

#include <sys/resource.h>
#include <ctime>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace tavrin;

class TestExportBench : public QObject {
    Q_OBJECT

    // Fills the table with n rows whose names are in no particular order.
    static void fill(int n)
    {
        dm().exec(QStringLiteral("delete from bench"));
        // ((i mod p)*7919) mod p is (i*7919) mod p without passing the 32-bit
        // integers of the server at 400,000 rows.
        dm().exec(QStringLiteral("with recursive s(i) as (select 1 union all select i+1 from s where i<?) "
                                 "insert into bench (id,name,amount) select i, 'name ' || (((i % 100003)*7919) % 100003), i*13 from s"),
                  {n});
    }

    struct Times {
        double exportMs, sortMs;
    };

    static Times measure(int n, const QString& path)
    {
        fill(n);
        QElapsedTimer t;
        t.start();
        QString error;
        if (!exportStatement(path, QStringLiteral("select id,name,amount from bench order by name,id"), {}, {}, &error))
            qFatal("export failed: %s", qPrintable(error));
        const double exportMs = t.nsecsElapsed() / 1e6;
        ListModel m;
        m.setQuery(ListQuery(QStringLiteral("select id,name,amount"), QStringLiteral("from bench")));
        t.restart();
        m.sortByField(QStringLiteral("name"), Qt::DescendingOrder);
        const QString last = m.value(m.rowCount() - 1, QStringLiteral("name")).toString();
        const double sortMs = t.nsecsElapsed() / 1e6;
        if (m.rowCount() != n || last.isEmpty())
            qFatal("the list did not read its rows");
        qInfo("[%s] %d rows: export %.0f ms (%.1f MB), sort and last page %.0f ms", qPrintable(test::backendName()), n,
              exportMs, QFileInfo(path).size() / 1e6, sortMs);
        return {exportMs, sortMs};
    }

private Q_SLOTS:
    void exportAndSortGrowLinearly()
    {
        test::useFreshDatabase(false);
        dm().exec(QStringLiteral("create table bench (id integer primary key, name varchar(40), amount bigint)"));
        bool ok = false;
        const int n = qEnvironmentVariableIntValue("TAVRIN_BENCH_EXPORT_ROWS", &ok);
        const int rows = ok && n > 0 ? n : 10000;
        QTemporaryDir dir;
        const QStringList sizes = qEnvironmentVariable("TAVRIN_BENCH_EXPORT_SIZES").split(',', Qt::SkipEmptyParts);
        if (!sizes.isEmpty()) {
            const int first = sizes.first().toInt();
            QVERIFY(first > 0);
            const Times base = measure(first, dir.filePath(QStringLiteral("0.xlsx")));
            for (int i = 1; i < sizes.size(); ++i) {
                const int size = sizes[i].toInt();
                const Times t = measure(size, dir.filePath(QStringLiteral("%1.xlsx").arg(i)));
                const double k = double(size) / first;
                qInfo("[%s] %d rows against %d: %.2f times the rows, export %.2f times the time, sort %.2f times",
                      qPrintable(test::backendName()), size, first, k, t.exportMs / base.exportMs, t.sortMs / base.sortMs);
                TAVRIN_CHECK_TIME(t.exportMs < 1.75 * k * base.exportMs + 200, "export grows linearly");
                TAVRIN_CHECK_TIME(t.sortMs < 1.75 * k * base.sortMs + 200, "sort and last page grow linearly");
            }
            return;
        }
        const Times small = measure(rows, dir.filePath(QStringLiteral("small.xlsx")));
        const Times large = measure(4 * rows, dir.filePath(QStringLiteral("large.xlsx")));
        // Four times the rows: about four times the time (with room for a busy machine).
        TAVRIN_CHECK_TIME(large.exportMs < 7 * small.exportMs + 200, "export grows linearly");
        TAVRIN_CHECK_TIME(large.sortMs < 7 * small.sortMs + 200, "sort and last page grow linearly");
    }

    // The applicant list as its window exports it: every field of the list's
    // statement, each row its own values, read in one pass (a few cursor
    // fetches on PostgreSQL).
    void applicantListExport()
    {
        bool ok = false;
        const int asked = qEnvironmentVariableIntValue("TAVRIN_BENCH_EXPORT_APPLICANTS", &ok);
        const int wanted = ok && asked > 0 ? asked : 2000;
        test::useFreshDatabase();
        demo::Options o;
        o.projects = 1;
        o.applicants = wanted;
        o.unitsPerProject = 80;
        o.soldPercent = 75;
        o.storagePerProject = 0;
        o.parkingPerProject = 0;
        QElapsedTimer t;
        t.start();
        demo::generate(dm(), o);
        qInfo("[%s] %d demo applicants made in %.1f s", qPrintable(test::backendName()), wanted, t.elapsed() / 1000.0);
        test::loginAs(QStringLiteral("admin"));

        ListModel m;
        m.setQuery(applicants::searchQuery({}));
        const QStringList fields = m.fieldNames();
        const int rows = int(m.totalCount());
        QVERIFY(rows >= wanted);
        QCOMPARE(fields.size(), dm().columns(QStringLiteral("customers")).size());  // no field left out
        const int idAt = int(fields.indexOf(QStringLiteral("id")));
        QVERIFY(idAt >= 0);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("customers.xlsx"));
        QList<qint64> ids;
        ids.reserve(rows);
        const qint64 statements = dm().statementCount();
        QString error;
        timespec cpu0 {}, cpu1 {};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu0);
        t.restart();
        QVERIFY2(exportRecords(path, fields, applicants::excelHeaders(),
                               [&](const RecordVisitor& visit) {
                                   m.forEachRow([&](const QSqlRecord& r) {
                                       ids << r.value(idAt).toLongLong();
                                       visit(r);
                                   });
                               },
                               &error),
                 qPrintable(error));
        const double ms = t.nsecsElapsed() / 1e6;
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu1);
        const double cpuMs = (cpu1.tv_sec - cpu0.tv_sec) * 1e3 + (cpu1.tv_nsec - cpu0.tv_nsec) / 1e6;
        const qint64 used = dm().statementCount() - statements;
        rusage usage {};
        getrusage(RUSAGE_SELF, &usage);
        qInfo("[%s] applicant list, %d rows x %lld fields: export %.0f ms (program's CPU %.0f ms, %.1f MB), %lld statements, peak memory %ld MB",
              qPrintable(test::backendName()), rows, qlonglong(fields.size()), ms, cpuMs, QFileInfo(path).size() / 1e6,
              qlonglong(used), usage.ru_maxrss / 1024);
        QCOMPARE(ids.size(), rows);
        // SQLite: the select; PostgreSQL: its transaction, the cursor and its fetches.
        QVERIFY(used <= (test::backendUnderTest() == Backend::SQLite ? 1 : 4 + rows / 2000 + 8));
        // The goal, 200,000 rows in 10 s, is reported rather than checked: the
        // export does not reach it yet.
        qInfo("[%s] at this pace 200,000 rows take %.1f s (goal 10 s)", qPrintable(test::backendName()),
              ms * 200000 / rows / 1000);

        // Every row holds its own values: the id column reads back as the
        // list gave it, and the header names every field.
        int at = 0;
        bool same = true;
        QStringList header;
        QVERIFY(readSpreadsheetRows(path, [&](const QStringList& cells, int number) {
            if (number == 1)
                header = cells;
            else
                same = same && at < ids.size() && cells.value(idAt) == QString::number(ids.at(at++));
            return same;
        }, &error));
        QVERIFY(same);
        QCOMPARE(at, rows);
        QCOMPARE(header.size(), fields.size());
        QCOMPARE(header.value(idAt), headerFor(QStringLiteral("id"), applicants::excelHeaders()));
    }
};

TAVRIN_DB_TEST_MAIN(TestExportBench)
#include "tst_export_bench.moc"
