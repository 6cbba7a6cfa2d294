// The data module on both backends: values reach the database exactly as
// bound whatever they hold, a statement costs one round trip to a distant
// PostgreSQL server, a long result is read once, in order, and the program's
// files are readable by their owner alone.
#include "support/latencyproxy.h"
#include "support/testsupport.h"

#include "app/startup.h"
#include "db/connection.h"
#include "db/privatefiles.h"

#include <QElapsedTimer>
#include <QSqlField>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <sys/stat.h>

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

    // Texts UTF-8 carries come back exactly: a leading U+FEFF is no
    // byte-order mark, U+FFFE and U+FFFF are no U+FFFD; read at once, through
    // a long read, and written with a transaction's later statements.  A null
    // text or byte array is NULL on both backends, "" and no bytes are not.
    // A text no database stores (half of a character pair, a NUL) fails its
    // statement and stores nothing.
    void unusualTextsAndNullsArriveAsBound()
    {
        const QChar bom(0xFEFF), fffe(0xFFFE), ffff(0xFFFF);
        const QStringList texts {QString(bom) + QStringLiteral("ab"), QString(bom) + bom, QString(fffe) + QStringLiteral("ab"),
                                 QStringLiteral("x") + ffff + fffe, QStringLiteral("a") + bom + QStringLiteral("b"), QString(bom),
                                 QString(bom) + QStringLiteral("ي😀")};
        {
            Transaction tx(dm());
            for (int i = 0; i < texts.size(); ++i) {
                dm().exec(QStringLiteral("insert into vals (k,s) values (?,?)"), {i, texts[i]});
                dm().execLater(QStringLiteral("insert into vals (k,s) values (?,?)"), {100 + i, texts[i]});
            }
            dm().execLater(QStringLiteral("insert into vals (k,s,b) values (?,?,?)"), {200, QString(), QByteArray()});
            tx.commit();
        }
        dm().exec(QStringLiteral("insert into vals (k,s,b) values (?,?,?)"), {201, QString(), QByteArray()});
        dm().exec(QStringLiteral("insert into vals (k,s,b) values (?,?,?)"), {202, QStringLiteral(""), QByteArray("")});
        for (int i = 0; i < texts.size(); ++i) {
            const auto row = dm().firstRow(QStringLiteral("select s, length(s) from vals where k=?"), {i});
            QCOMPARE(row->value(0).toString(), texts[i]);
            QCOMPARE(row->value(1).toInt(), int(texts[i].toUcs4().size()));  // stored whole, as bound
            QCOMPARE(dm().scalar(QStringLiteral("select s from vals where k=?"), {100 + i}).toString(), texts[i]);
        }
        QStringList read;
        dm().forEachRow(QStringLiteral("select s from vals where k<? order by k"), {100}, [&](const QSqlRecord& r) {
            read << r.value(0).toString();
        });
        QCOMPARE(read, texts);
        QCOMPARE(dm().textColumn(QStringLiteral("select s from vals where k<? order by k"), {100}), texts);
        QCOMPARE(dm().textColumn(QStringLiteral("select k from vals where k>=200 and s is null and b is null order by k")),
                 (QStringList {QStringLiteral("200"), QStringLiteral("201")}));
        const auto empty = dm().firstRow(QStringLiteral("select s, b from vals where k=202 and s is not null and b is not null"));
        QVERIFY(empty);
        QCOMPARE(empty->value(0).toString(), QString());
        QCOMPARE(empty->value(1).toByteArray(), QByteArray());
        // Read and written again, "" and no bytes stay what they are.
        dm().exec(QStringLiteral("insert into vals (k,s,b) values (?,?,?)"), {203, empty->value(0), empty->value(1)});
        QCOMPARE(dm().scalar(QStringLiteral("select count(*) from vals where k=203 and s is not null and b is not null")).toInt(), 1);

        const int before = dm().scalar(QStringLiteral("select count(*) from vals")).toInt();
        for (const QString& bad : QStringList {QStringLiteral("a") + QChar(0xD800) + QStringLiteral("bc"), QStringLiteral("a") + QChar(0xDC00),
                                   QString(QChar(0xD83D)), QStringLiteral("a") + QChar(0) + QStringLiteral("b")}) {
            QVERIFY_THROWS_EXCEPTION(DbError, dm().exec(QStringLiteral("insert into vals (k,s) values (?,?)"), {300, bad}));
            QVERIFY_THROWS_EXCEPTION(DbError, [&] {
                Transaction tx(dm());
                dm().execLater(QStringLiteral("insert into vals (k,s) values (?,?)"), {300, bad});
                tx.commit();
            }());
            QCOMPARE(dm().transactionDepth(), 0);
        }
        QCOMPARE(dm().scalar(QStringLiteral("select count(*) from vals")).toInt(), before);
        // The program's own cuts to a column's length keep character pairs whole.
        QCOMPARE(cutToLength(QStringLiteral("ab😀"), 3), QStringLiteral("ab"));
        QCOMPARE(cutToLength(QStringLiteral("ab😀"), 4), QStringLiteral("ab😀"));
    }

    // Under the usual umask, the program's files are their owner's alone: a
    // new data file with its -wal and -shm files, files written with
    // writeOwnerOnly (a wider one replaced), the log file and the data folder;
    // what an older version left readable in the data folder is narrowed at
    // start, without following links out of it.
    void programFilesAreTheOwnersAlone()
    {
        const mode_t umaskBefore = ::umask(022);
        QTemporaryDir dir;
        const auto put = [](const QString& path, const QByteArray& bytes) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
        if (!pg()) {
            ConnectionParams p = dm().params();
            p.server = dir.filePath(QStringLiteral("new.db"));
            Database db(p);
            QVERIFY(db.open());
            db.exec(QStringLiteral("create table t (k integer)"));
            db.exec(QStringLiteral("insert into t values (1)"));
            for (const char* suffix : {"", "-wal", "-shm"})
                QCOMPARE(test::fileMode(p.server + QLatin1String(suffix)), 0600);
            // A read a caller still holds carries the driver's field types and
            // does not keep the connection from closing (the last connection
            // then folds the -wal file into the data file and removes it).
            QSqlQuery held = db.exec(QStringLiteral("select k, k+0.5, 'a' from t"));
            QVERIFY(held.next());
            QCOMPARE(held.record().field(0).metaType(), QMetaType::fromType<int>());
            QCOMPARE(held.value(0), QVariant(qlonglong(1)));
            QCOMPARE(held.value(1).typeId(), QMetaType::Double);
            db.close();
            QVERIFY(!QFile::exists(p.server + QStringLiteral("-wal")));
            QVERIFY(!held.next());
        }
        const QString doc = dir.filePath(QStringLiteral("doc"));
        put(doc, "old");
        QCOMPARE(test::fileMode(doc), 0644);
        QVERIFY(writeOwnerOnly(doc, "new"));
        QCOMPARE(test::fileMode(doc), 0600);
        QFile written(doc);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), QByteArray("new"));
        QString why;
        QVERIFY(!writeOwnerOnly(dir.filePath(QStringLiteral("none/doc")), "x", &why));
        QVERIFY(!why.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("doc*")}, QDir::Files), QStringList {QStringLiteral("doc")});

        const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QDir(data).removeRecursively();
        QVERIFY(QDir().mkpath(data + QStringLiteral("/zamaem")));
        const QStringList files {data + QStringLiteral("/tavrin.db"), data + QStringLiteral("/tavrin.db-wal"),
                                 data + QStringLiteral("/tavrin.log"), data + QStringLiteral("/zamaem/scan.jpg")};
        for (const QString& f : files)
            put(f, "x");
        const QString outside = dir.filePath(QStringLiteral("shared.txt"));
        put(outside, "x");
        QVERIFY(QFile::link(outside, data + QStringLiteral("/link.txt")));
        QCOMPARE(test::fileMode(data), 0755);
        QCOMPARE(openLogFile(), data + QStringLiteral("/tavrin.log"));
        qInstallMessageHandler(nullptr);
        QCOMPARE(test::fileMode(data), 0700);
        QCOMPARE(test::fileMode(data + QStringLiteral("/zamaem")), 0700);
        for (const QString& f : files)
            QCOMPARE(test::fileMode(f), 0600);
        QCOMPARE(test::fileMode(outside), 0644);
        // Made anew, the folder and the log are narrow from the start; the
        // built-in connection narrows its data file's companions too.
        QDir(data).removeRecursively();
        const QString log = openLogFile();
        qInstallMessageHandler(nullptr);
        QCOMPARE(test::fileMode(data), 0700);
        QCOMPARE(test::fileMode(log), 0600);
        put(data + QStringLiteral("/tavrin.db-shm"), "x");
        QCOMPARE(connection::embeddedDataFile(), data + QStringLiteral("/tavrin.db"));
        QCOMPARE(test::fileMode(data + QStringLiteral("/tavrin.db-shm")), 0600);
        ::umask(umaskBefore);
    }

    void aStatementIsOneRoundTripToADistantServer()
    {
        if (!pg())
            QSKIP("round trips are a server's");
        auto proxy = test::LatencyProxy::toTestServer(30);
        Database far(proxy->through(dm().params()));
        const auto trips = [&](const std::function<void()>& f) {
            const qint64 before = proxy->roundTrips();
            f();
            return proxy->roundTrips() - before;
        };
        // The connection runs without parallel workers (a small server's cores
        // are every user's), set in its start-up message: opening it costs
        // what the driver's own connection costs.
        // The plain connection opens while the program's stays open and idle: a
        // connection closed just before a count would send its goodbye into it.
        const qint64 farOpen = trips([&] { QVERIFY(far.open()); });
        const ConnectionParams p = proxy->through(dm().params());
        qint64 plainOpen = 0;
        {
            QSqlDatabase plain = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("plain"));
            plain.setHostName(p.server.section(',', 0, 0));
            plain.setPort(p.server.section(',', 1).toInt());
            plain.setDatabaseName(p.database);
            plain.setUserName(p.user);
            plainOpen = trips([&] { QVERIFY(plain.open()); });
            // Its goodbye is counted before the next count starts.
            const qint64 beforeClose = proxy->roundTrips();
            plain.close();
            QTRY_VERIFY(proxy->roundTrips() > beforeClose);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("plain"));
        QCOMPARE(farOpen, plainOpen);
        QCOMPARE(far.scalar(QStringLiteral("show max_parallel_workers_per_gather")).toString(), QStringLiteral("0"));
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
        // A value read back travels with the writes waiting before it.
        QVariant seen, none;
        QCOMPARE(trips([&] {
                     Transaction tx(far);
                     far.execLater(QStringLiteral("update vals set s=? where k=?"), {QStringLiteral("d"), 2});
                     seen = far.scalarText(QStringLiteral("select s from vals where k=?"), {2});
                     far.execLater(QStringLiteral("update vals set s=? where k=?"), {QStringLiteral("c"), 2});
                     none = far.scalarText(QStringLiteral("select s from vals where k=?"), {77});
                     tx.commit();
                 }),
                 3);
        QCOMPARE(seen, QVariant(QStringLiteral("d")));
        QVERIFY(!none.isValid());
        QVERIFY(!far.scalarText(QStringLiteral("select cast(null as text)")).isValid());
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
