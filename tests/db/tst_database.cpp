// The data module on both backends: values reach the database exactly as
// bound whatever they hold, a statement costs one round trip to a distant
// PostgreSQL server, and a long result is read once, in order.
#include "support/latencyproxy.h"
#include "support/testsupport.h"

#include <QElapsedTimer>
#include <QThread>

#include <limits>

using namespace tavrin;

class TestDatabase : public QObject {
    Q_OBJECT

    bool pg() const { return test::backendUnderTest() == Backend::PostgreSQL; }

private Q_SLOTS:
    void init()
    {
        test::useFreshDatabase(false);
        dm().exec(QStringLiteral("create table vals (k integer, s varchar(4000), n bigint, x double precision, f %1, b %2)")
                      .arg(pg() ? QStringLiteral("boolean") : QStringLiteral("bit"),
                           pg() ? QStringLiteral("bytea") : QStringLiteral("blob")));
    }

    void valuesArriveExactlyAsBound()
    {
        const QStringList texts {
            QStringLiteral(""), QStringLiteral("it's"), QStringLiteral("back\\slash\\"), QStringLiteral("\\'; drop table vals; --"),
            QStringLiteral("?"), QStringLiteral("E'?'"), QStringLiteral("$$ ? $$"), QStringLiteral("/* ? */ \" ?"),
            QStringLiteral("ي ك ی ک ۱۲"), QString(3000, QLatin1Char('x')) + QStringLiteral("ي"), QStringLiteral("tab\tline\nend"),
        };
        const QList<qint64> numbers {0, -1, std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::min() + 1};
        const QList<double> reals {0.1, -2.5e-7, 123456789012.25};
        QByteArray bytes;
        for (int i = 0; i < 256; ++i)
            bytes.append(char(i));
        for (int i = 0; i < texts.size(); ++i)
            dm().exec(QStringLiteral("insert into vals (k,s,n,x,f,b) values (?,?,?,?,?,?)"),
                      {i, texts[i], numbers[i % numbers.size()], reals[i % reals.size()], i % 2 == 0, bytes.mid(i)});
        dm().exec(QStringLiteral("insert into vals (k,s) values (?,?)"), {100, QVariant()});
        for (int i = 0; i < texts.size(); ++i) {
            const auto row = dm().firstRow(QStringLiteral("select * from vals where s=? and k=?"), {texts[i], i});
            QVERIFY2(row, qPrintable(texts[i].left(40)));
            QCOMPARE(row->value("s").toString(), texts[i]);
            QVERIFY(!row->value("s").isNull());
            QCOMPARE(row->value("n").toLongLong(), numbers[i % numbers.size()]);
            QCOMPARE(row->value("x").toDouble(), reals[i % reals.size()]);
            QCOMPARE(row->value("f").toBool(), i % 2 == 0);
            QCOMPARE(row->value("b").toByteArray(), bytes.mid(i));
        }
        QVERIFY(dm().scalar(QStringLiteral("select s from vals where k=?"), {100}).isNull());
        QCOMPARE(dm().scalar(QStringLiteral("select count(*) from vals where s like ?"), {QStringLiteral("%?%")}).toInt(), 4);

        // Placeholders inside quoted texts and comments are not places for values.
        const auto row = dm().firstRow(QStringLiteral("select ? as a, '?' as b, 'it''s ?' as c /* ? */, ? as d -- ?\n"),
                                       {QStringLiteral("x'"), QStringLiteral("y\\")});
        QVERIFY(row);
        QCOMPARE(row->value("a").toString(), QStringLiteral("x'"));
        QCOMPARE(row->value("b").toString(), QStringLiteral("?"));
        QCOMPARE(row->value("c").toString(), QStringLiteral("it's ?"));
        QCOMPARE(row->value("d").toString(), QStringLiteral("y\\"));
        // Integers in the places of limits and in arithmetic, as the lists bind them.
        QCOMPARE(dm().textColumn(QStringLiteral("select s from vals where k<? order by k limit ? offset ?"), {5, 2, 1}),
                 texts.mid(1, 2));
        QCOMPARE(dm().scalar(QStringLiteral("select n+? from vals where k=?"), {5, 0}).toLongLong(), 5);

        // Wrong counts of values fail and change nothing.
        QVERIFY_THROWS_EXCEPTION(DbError, dm().exec(QStringLiteral("insert into vals (k,s) values (?,?)"), {1}));
        QVERIFY_THROWS_EXCEPTION(DbError, dm().exec(QStringLiteral("insert into vals (k) values (?)"), {1, 2}));
        if (pg()) {
            QVERIFY_THROWS_EXCEPTION(DbError, dm().exec(QStringLiteral("insert into vals (k,s) values (?,?)"),
                                                        {1, QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b"))}));
            QCOMPARE(bindInline(QStringLiteral("x=? and y=?"), QVariantList {QStringLiteral("a'\\"), 7}),
                     QStringLiteral("x=E'a''\\\\' and y='7'"));
        }
        QCOMPARE(dm().scalar(QStringLiteral("select count(*) from vals")).toInt(), texts.size() + 1);
    }

    void aStatementIsOneRoundTripToADistantServer()
    {
        if (!pg())
            QSKIP("round trips are a server's");
        auto proxy = test::LatencyProxy::toTestServer(30);
        Database far(proxy->through(dm().params()));
        QVERIFY(far.open());
        const auto trips = [&](const std::function<void()>& f) {
            const qint64 before = proxy->roundTrips();
            f();
            return proxy->roundTrips() - before;
        };
        QElapsedTimer t;
        t.start();
        QCOMPARE(trips([&] { far.exec(QStringLiteral("insert into vals (k,s) values (?,?)"), {1, QStringLiteral("a")}); }), 1);
        QVERIFY2(t.elapsed() >= 30, "the relay holds each request for its delay");
        TAVRIN_CHECK_TIME(t.elapsed() < 200, "the relay holds each request for its delay only");
        QCOMPARE(trips([&] { far.scalar(QStringLiteral("select s from vals where k=?"), {1}); }), 1);
        // The BEGIN travels with the first statement, writes nobody reads with
        // the COMMIT; the counts of changed rows and new ids still come back.
        far.exec(QStringLiteral("create table ids (id serial primary key, v text)"));
        int changed = 0;
        qint64 id = 0;
        QCOMPARE(trips([&] {
                     Transaction tx(far);
                     changed = far.execAffected(QStringLiteral("update vals set s=? where k=?"), {QStringLiteral("b"), 1});
                     far.execLater(QStringLiteral("insert into vals (k,s) values (?,?)"), {2, QStringLiteral("later")});
                     id = far.insert(QStringLiteral("ids"), {QStringLiteral("v")}, {QStringLiteral("u")});
                     far.execLater(QStringLiteral("update vals set s=? where k=?"), {QStringLiteral("c"), 2});
                     tx.commit();
                 }),
                 3);
        QCOMPARE(changed, 1);
        QCOMPARE(id, far.scalar(QStringLiteral("select max(id) from ids")).toLongLong());
        QVERIFY(id > 0);
        QCOMPARE(far.textColumn(QStringLiteral("select s from vals where k in (1,2) order by k")),
                 (QStringList {QStringLiteral("b"), QStringLiteral("c")}));
        QCOMPARE(trips([&] {
                     Transaction tx(far);
                     Transaction inner(far);
                     inner.commit();
                     tx.commit();
                 }),
                 0);
        // A failure anywhere in a message fails the action and leaves nothing of it.
        const auto fails = [&](const std::function<void()>& f) {
            try {
                Transaction tx(far);
                f();
                tx.commit();
            } catch (const DbError&) {
                return far.transactionDepth() == 0;
            }
            return false;
        };
        const auto dupKey = [&] { far.execLater(QStringLiteral("insert into vals (k,s) values (?,?)"), {99, QStringLiteral("x")}); };
        far.exec(QStringLiteral("create unique index vals_k on vals (k)"));
        QVERIFY(fails([&] { dupKey(); dupKey(); }));
        QVERIFY(fails([&] { dupKey(); far.execAffected(QStringLiteral("update vals set k=1 where k=2")); }));
        QVERIFY(fails([&] { far.execAffected(QStringLiteral("update vals set s='z' where k=1")); dupKey(); dupKey(); }));
        QVERIFY(fails([&] { dupKey(); dupKey(); far.scalar(QStringLiteral("select 1")); }));
        QVERIFY(fails([&] { dupKey(); far.execAffected(QStringLiteral("update vals set s='z' where k=1")); throw DbError({}, {}); }));
        QCOMPARE(far.textColumn(QStringLiteral("select s from vals order by k")), (QStringList {QStringLiteral("b"), QStringLiteral("c")}));
        far.exec(QStringLiteral("drop index vals_k"));
        // The same statement again costs no more.
        QCOMPARE(trips([&] { far.scalar(QStringLiteral("select s from vals where k=?"), {1}); }), 1);
    }

    void longResultsAreReadOnceInOrder()
    {
        {
            Transaction tx(dm());
            for (int i = 0; i < 3000; ++i)
                dm().exec(QStringLiteral("insert into vals (k,s) values (?,?)"), {i, QString::number(i % 7)});
            tx.commit();
        }
        const qint64 before = dm().statementCount();
        QStringList fields, keys;
        int lookups = 0;
        dm().forEachRow(QStringLiteral("select k, s from vals where k>=? order by s, k"), {10},
                        [&](const QSqlRecord& r) {
                            keys << r.value(0).toString();
                            // The visitor may run statements of its own between rows.
                            if (keys.size() % 1000 == 0)
                                lookups += dm().scalar(QStringLiteral("select count(*) from vals where k=?"), {r.value(0)}).toInt();
                        },
                        [&](const QSqlRecord& f) { fields << f.fieldName(0) << f.fieldName(1); });
        const qint64 statements = dm().statementCount() - before - lookups;
        QCOMPARE(keys, dm().textColumn(QStringLiteral("select k from vals where k>=10 order by s, k")));
        QCOMPARE(keys.size(), 2990);
        QCOMPARE(lookups, 2);
        QCOMPARE(fields, (QStringList {QStringLiteral("k"), QStringLiteral("s")}));
        // Once, not page by page: a handful of batches on the server, one statement on SQLite.
        QVERIFY2(statements <= (pg() ? 6 : 1), "read once");
        QCOMPARE(dm().transactionDepth(), 0);

        // An empty result still tells its fields; a visitor's exception ends the
        // read and leaves no transaction behind.
        fields.clear();
        dm().forEachRow(QStringLiteral("select k from vals where k<0"), {}, [&](const QSqlRecord&) { QFAIL("no rows"); },
                        [&](const QSqlRecord& f) { fields << f.fieldName(0); });
        QCOMPARE(fields, QStringList {QStringLiteral("k")});
        int stopped = 0;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 dm().forEachRow(QStringLiteral("select k from vals order by k"), {}, [&](const QSqlRecord&) {
                                     if (++stopped == 700)
                                         throw std::runtime_error("stop");
                                 }));
        QCOMPARE(stopped, 700);
        QCOMPARE(dm().transactionDepth(), 0);
        QCOMPARE(dm().scalar(QStringLiteral("select count(*) from vals")).toInt(), 3000);
        if (!pg()) {
            // A page cache for the working set, and sorts kept in memory.
            QCOMPARE(dm().scalar(QStringLiteral("pragma cache_size")).toInt(), -65536);
            QCOMPARE(dm().scalar(QStringLiteral("pragma temp_store")).toInt(), 2);
        }
    }

    void aLostConnectionIsOpenedAgainBeforeTheNextAction()
    {
        if (!pg())
            QSKIP("a server's connection");
        // The server ends the session's connection as a restart or a dropped
        // network does; the other connection does it and waits until it is gone.
        Database other(dm().params());
        QVERIFY(other.open());
        const auto cut = [&] {
            const QVariant pid = dm().scalar(QStringLiteral("select pg_backend_pid()"));
            other.exec(QStringLiteral("select pg_terminate_backend(?)"), {pid});
            for (int i = 0; i < 200 && other.scalar(QStringLiteral("select count(*) from pg_stat_activity where pid=?"), {pid}).toInt() > 0; ++i)
                QThread::msleep(10);
        };
        const auto put = [](int k, const char* s) {
            dm().exec(QStringLiteral("insert into vals (k,s) values (?,?)"), {k, QString::fromLatin1(s)});
        };
        put(1, "a");
        const int reconnects = dm().reconnectCount();
        cut();
        QCOMPARE(dm().scalar(QStringLiteral("select s from vals where k=?"), {1}).toString(), QStringLiteral("a"));
        cut();
        put(2, "b");
        QCOMPARE(dm().reconnectCount(), reconnects + 2);

        // Cut inside an action's transaction: the action fails, nothing of it
        // remains, and the next action goes on.
        bool failed = false;
        try {
            Transaction tx(dm());
            put(3, "c");
            cut();
            put(4, "d");
            tx.commit();
        } catch (const DbError&) {
            failed = true;
        }
        QVERIFY(failed);
        QCOMPARE(dm().transactionDepth(), 0);
        QCOMPARE(dm().textColumn(QStringLiteral("select s from vals order by k")), (QStringList {QStringLiteral("a"), QStringLiteral("b")}));
        // A cut just before a transaction begins is healed as well.
        cut();
        {
            Transaction tx(dm());
            put(5, "e");
            tx.commit();
        }
        QCOMPARE(dm().scalar(QStringLiteral("select count(*) from vals")).toInt(), 3);
    }
};

TAVRIN_DB_TEST_MAIN(TestDatabase)
#include "tst_database.moc"
