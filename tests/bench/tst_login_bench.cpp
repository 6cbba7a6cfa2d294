// The login, from "ورود" to the main window on screen: the time of each of its
// steps (the login's own step clock) for the first login of the program and
// the median of the logins after it, over the stored connection ("Local"), over
// the embedded data file ("Internet", SQLite run), and on PostgreSQL through a
// relay that delays every request by 30 ms, where the login's round trips are
// asserted.  Times are reported, not asserted:
//     ctest -R tst_login_bench -V
// (TAVRIN_BENCH_PROJECTS=5000 for the organisation's size; the expiry step
// reads every project).
#include "support/latencyproxy.h"
#include "support/testsupport.h"

#include "app/connect.h"
#include "app/login_u.h"
#include "app/main_u.h"
#include "common/session.h"
#include "db/connection.h"
#include "maintenance/demodata.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>

#include <algorithm>

using namespace tavrin;

namespace {



double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[v.size() / 2];
}

} // namespace

class TestLoginBench : public QObject {
    Q_OBJECT
    int projects = 0;

    // One login as the user makes it: Enter in the password field, until the
    // main window has been painted.  Returns the whole time; steps gets the
    // login's own steps.
    double loginOnce(connection::Choice choice, QList<LoginStep>* steps)
    {
        destroyMainWindow();
        Tlogin& w = window<Tlogin>();
        (choice == connection::Choice::Local ? w.local : w.internet)->setChecked(true);
        w.us->setText(QStringLiteral("bench"));
        w.ps->setText(QStringLiteral("1"));
        w.show();
        QElapsedTimer t;
        t.start();
        const bool ok = w.BitBtn1Click();
        QCoreApplication::processEvents();  // the main window's first paint
        const double ms = t.nsecsElapsed() / 1e6;
        if (!ok)
            qWarning("the login failed");
        *steps = w.lastSteps();
        return ok ? ms : -1;
    }

    // Logs in `runs` times; prints the first login and the median of the
    // others, step by step.
    void measure(const char* what, connection::Choice choice, int runs = 7)
    {
        QList<QList<LoginStep>> all;
        QList<double> totals;
        for (int i = 0; i < runs; ++i) {
            QList<LoginStep> steps;
            const double ms = loginOnce(choice, &steps);
            QVERIFY(ms >= 0);
            totals << ms;
            all << steps;
        }
        const auto line = [&](const char* label, const QList<LoginStep>& steps, double total) {
            QStringList parts;
            for (const LoginStep& s : steps)
                parts << QStringLiteral("%1 %2").arg(s.name).arg(s.ms, 0, 'f', 1);
            qInfo("login, %s [%s, %d projects], %s: %.1f ms (%s)", what, qPrintable(test::backendName()), projects,
                  label, total, qPrintable(parts.join(QStringLiteral(", "))));
        };
        line("first", all.first(), totals.first());
        QList<LoginStep> med = all.at(1);
        for (int k = 0; k < med.size(); ++k) {
            QList<double> v;
            for (int i = 1; i < runs; ++i)
                v << all.at(i).value(k).ms;
            med[k].ms = median(v);
        }
        line("median of the next", med, median(totals.mid(1)));
    }

private Q_SLOTS:
    void initTestCase()
    {
        projects = test::envInt("TAVRIN_BENCH_PROJECTS", 200);
        test::useFreshDatabase();
        demo::Options o;
        o.projects = projects;
        o.unitsPerProject = 4;
        demo::generate(dm(), o);
        const qint64 id = test::addUser(QStringLiteral("bench"), QStringLiteral("city"), {},
                                        {{QStringLiteral("customers"), QStringLiteral("1111")}});
        // Read messages and an unread one; news the user has seen.
        for (int i = 0; i < 50; ++i)
            dm().exec(QStringLiteral("insert into payamha (send_prs_id,rec_prs_id,send_dat,show_dat,mozo) values (1,?,?,?,'x')"),
                      {id, QStringLiteral("1403/01/01"), i ? QStringLiteral("1403/01/02") : QString()});
        dm().exec(QStringLiteral("insert into tazeha (dat,mozo) values ('1403/01/01','x')"));
        dm().exec(QStringLiteral("insert into tazeha_readed (prs_id,dat) values (?,'1403/01/01')"), {id});
        test::storeSettingsFor(dm().params());
    }

    void cleanupTestCase()
    {
        destroyMainWindow();
        destroyWindows();
    }

    void storedConnection()
    {
        test::DialogRecorder rec;
        measure("stored connection", connection::Choice::Local);
        QVERIFY(rec.shown.isEmpty());
    }

    void embeddedDataFile()
    {
        if (test::backendUnderTest() != Backend::SQLite)
            QSKIP("the embedded data file is SQLite");
        test::DialogRecorder rec;
        const ConnectionParams stored = dm().params();
        // The embedded file: installed, with the same user; no stored settings.
        QFile::remove(connection::embeddedDataFile());
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("norvad")).clear();
        QVERIFY(connectProcedure(connection::Choice::Internet, false));
        test::addUser(QStringLiteral("bench"), QStringLiteral("city"));
        measure("embedded data file", connection::Choice::Internet);
        QVERIFY(rec.shown.isEmpty());
        test::storeSettingsFor(stored);
    }

    void farFromTheServer()
    {
        if (test::backendUnderTest() != Backend::PostgreSQL)
            QSKIP("round trips are a server's");
        test::DialogRecorder rec;
        const ConnectionParams direct = dm().params();
        auto proxy = test::LatencyProxy::toTestServer(30);
        test::storeSettingsFor(proxy->through(direct));
        const qint64 before = proxy->roundTrips();
        measure("at 30 ms", connection::Choice::Local, 5);
        const double trips = double(proxy->roundTrips() - before) / 5;
        qInfo("login at 30 ms: %.1f round trips (connection included)", trips);
        // The driver's own connection set-up is about 7 of them; the login's
        // steps are 5 (the user's row, the reads beside the password check,
        // three for the writes).
        QVERIFY2(trips <= 13, "login round trips");
        // The program's connection goes on directly.
        test::storeSettingsFor(direct);
        QVERIFY(connectProcedure(connection::Choice::Local, false));
        QVERIFY(rec.shown.isEmpty());
    }
};

TAVRIN_DB_TEST_MAIN(TestLoginBench)
#include "tst_login_bench.moc"
