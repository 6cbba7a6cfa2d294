// The schema installer on a new, an older and a current database.
#include "support/testsupport.h"

#include "db/installer.h"
#include "db/password.h"
#include "db/schema.h"

using namespace tavrin;

class TestInstaller : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void newDatabaseHasEveryTableAndColumnInOrder()
    {
        Database& db = test::useFreshDatabase();
        for (const TableDef& t : schema().tables) {
            QStringList expected;
            for (const ColumnDef& c : t.columns)
                expected << c.name;
            QStringList actual = db.columns(t.name);
            for (QString& a : actual)
                a = a.toLower();
            QCOMPARE(actual, expected);
        }
        QCOMPARE(schema().tables.size(), 39);
        // Spot checks against the documented layout, independent of the schema text.
        const QStringList customers = db.columns(QStringLiteral("customers"));
        QCOMPARE(customers.size(), 96);
        QCOMPARE(customers.first(), QStringLiteral("id"));
        QCOMPARE(customers.last(), QStringLiteral("parking_mablagh"));
        QCOMPARE(db.columns(QStringLiteral("log")),
                 (QStringList{"id", "karbar", "ip", "computer_name", "saat", "tarikh", "cmt", "saat_sys"}));
        QCOMPARE(db.columns(QStringLiteral("dastrasi2")), (QStringList{"user_id", "cmt"}));
        QVERIFY(!db.columns(QStringLiteral("projects")).contains(QStringLiteral("metraj")));
        QVERIFY(!db.columns(QStringLiteral("vahedha")).contains(QStringLiteral("tashilat_id")));
    }

    void seedRows()
    {
        Database& db = test::useFreshDatabase();
        auto admin = db.firstRow(QStringLiteral("select * from users where us='admin'"));
        QVERIFY(admin);
        QCOMPARE(admin->value("id").toInt(), 1);
        QCOMPARE(admin->value("lev").toString(), QStringLiteral("admin"));
        QCOMPARE(admin->value("ver").toString(), QStringLiteral("1"));
        QCOMPARE(admin->value("status").toString(), QStringLiteral("فعال"));
        QVERIFY(password::isHash(admin->value("ps").toString()));
        QVERIFY(password::verify(QString::fromLatin1(kSeedAdminPassword), admin->value("ps").toString()));
        auto rights = db.firstRow(QStringLiteral("select * from dastrasi where prs_id=1 and page_name='karbaran'"));
        QVERIFY(rights);
        for (const char* f : {"darj", "virayesh", "hazf", "namayesh"})
            QVERIFY(rights->value(f).toBool());
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from users")).toInt(), 1);
    }

    void secondRunChangesNothing()
    {
        Database& db = test::useFreshDatabase();
        db.exec(QStringLiteral("insert into customers (lname,typ) values ('x','y')"));
        const InstallReport again = installSchema(db);
        QVERIFY2(again.ok, qPrintable(again.error));
        QVERIFY2(again.actions.isEmpty(), qPrintable(again.actions.join('\n')));
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from users")).toInt(), 1);
        QCOMPARE(db.scalar(QStringLiteral("select typ from customers")).toString(), QStringLiteral("y"));
    }

    void olderDatabaseIsCompletedWithInitialValues()
    {
        Database& db = test::useFreshDatabase(false);
        // An older installation: customers before typ/comp_dat/sanad_enteghal_dat
        // (and the other late columns), projects still holding the unit columns.
        const TableDef* cust = schema().table(QStringLiteral("customers"));
        QStringList cols;
        for (const ColumnDef& c : cust->columns) {
            if (c.name == QLatin1String("jarime"))
                break;
            cols << db.dialect().columnDefinition(c);
        }
        db.exec(QStringLiteral("create table customers (%1)").arg(cols.join(',')));
        db.exec(QStringLiteral("insert into customers (lname,nation) values ('a','1'),('b','2')"));
        db.exec(QStringLiteral("create table projects (id %1, ostan varchar(50), prj_name varchar(100), "
                               "karbari varchar(40), metraj float, vahed_cnt int, teras float)")
                    .arg(db.dialect().columnType(ColumnDef{QStringLiteral("id"), ColType::Identity})));
        db.exec(QStringLiteral("insert into projects (ostan,prj_name,vahed_cnt) values ('o','p',12)"));

        InstallReport r = installSchema(db);
        QVERIFY2(r.ok, qPrintable(r.failedStep + ": " + r.error));
        QVERIFY(r.actions.contains(QStringLiteral("added column customers.typ")));
        QVERIFY(r.actions.contains(QStringLiteral("dropped column projects.karbari")));

        QSqlQuery q = db.exec(QStringLiteral("select typ,comp_dat,sanad_enteghal_dat,transport_dat,jarime,metraj_z from customers"));
        int n = 0;
        while (q.next()) {
            ++n;
            QCOMPARE(q.value(0).toString(), QStringLiteral("حقيقي"));
            QCOMPARE(q.value(1).toString(), QString::fromLatin1(kEmptyDateMask));
            QCOMPARE(q.value(2).toString(), QString::fromLatin1(kEmptyDateMask));
            QCOMPARE(q.value(3).toString(), QString::fromLatin1(kEmptyDateMask));
            QCOMPARE(q.value(4).toInt(), 0);
            QCOMPARE(q.value(5).toDouble(), 0.0);
        }
        QCOMPARE(n, 2);
        auto prj = db.firstRow(QStringLiteral("select * from projects"));
        QCOMPARE(prj->value("vahed_kol").toInt(), 12);
        QCOMPARE(prj->value("st_tavrin").toString(), QStringLiteral("جاري"));
        QCOMPARE(prj->value("sakht_dat").toString(), QString::fromLatin1(kEmptyDateMask));
        QVERIFY(prj->indexOf("karbari") < 0);
        QVERIFY(prj->indexOf("metraj") < 0);
        QVERIFY(prj->indexOf("teras") < 0);

        // Values entered since survive a second run.
        db.exec(QStringLiteral("update customers set typ=?, comp_dat=? where lname='a'"),
                {QStringLiteral("حقوقي"), QStringLiteral("1400/01/01")});
        db.exec(QStringLiteral("update projects set vahed_kol=40, st_tavrin='x'"));
        r = installSchema(db);
        QVERIFY(r.ok);
        QVERIFY2(r.actions.isEmpty(), qPrintable(r.actions.join('\n')));
        QCOMPARE(db.scalar(QStringLiteral("select typ from customers where lname='a'")).toString(), QStringLiteral("حقوقي"));
        QCOMPARE(db.scalar(QStringLiteral("select comp_dat from customers where lname='a'")).toString(), QStringLiteral("1400/01/01"));
        QCOMPARE(db.scalar(QStringLiteral("select vahed_kol from projects")).toInt(), 40);
    }

    void repeatedRightsRowsAreMergedForTheUniqueIndex()
    {
        Database& db = test::useFreshDatabase(false);
        db.exec(QStringLiteral("create table dastrasi (id %1, prs_id int, page_name varchar(25))")
                    .arg(db.dialect().columnType(ColumnDef{QStringLiteral("id"), ColType::Identity})));
        db.exec(QStringLiteral("insert into dastrasi (prs_id,page_name) values (5,'prj'),(5,'prj'),(5,'log')"));
        const InstallReport r = installSchema(db);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from dastrasi where prs_id=5")).toInt(), 2);
    }

    // Names an older database holds twice are reported, the rows kept as they are.
    void duplicateUserNamesAreReportedNotMerged()
    {
        Database& db = test::useFreshDatabase();
        db.exec(QStringLiteral("insert into users (us,lev) values ('ali','city'),('admin','city'),('ali','ostan'),('Ali','city')"));
        const InstallReport r = installSchema(db);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(r.duplicateUserNames, (QStringList{QStringLiteral("admin"), QStringLiteral("ali")}));
        QCOMPARE(r.warnings.size(), 2);
        QVERIFY(r.warnings[1].contains(QStringLiteral("\"ali\" is held by 2 users")));
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from users")).toInt(), 5);
    }

    void failingStatementIsReported()
    {
        Database& db = test::useFreshDatabase(false);
        // A view where a table belongs: creating the table must fail, and the
        // installer must say so instead of reporting success.
        db.exec(QStringLiteral("create view phone as select 1 as x"));
        const InstallReport r = installSchema(db);
        QVERIFY(!r.ok);
        QCOMPARE(r.failedStep, QStringLiteral("table phone"));
        QVERIFY(!r.error.isEmpty());
        // The tables before it were created; nothing after it was attempted.
        QVERIFY(db.tableExists(QStringLiteral("zamaem")));
        QVERIFY(!db.tableExists(QStringLiteral("customers")));
    }

    void textSortsByteWise()
    {
        Database& db = test::useFreshDatabase();
        for (const char* n : {"b", "B", "a", "A"})
            db.exec(QStringLiteral("insert into phone (name) values (?)"), {QString::fromLatin1(n)});
        // Upper case before lower case, as bytes compare, on every backend.
        QCOMPARE(db.textColumn(QStringLiteral("select name from phone order by name")),
                 (QStringList{"A", "B", "a", "b"}));
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from phone where name=?"), {QStringLiteral("a")}).toInt(), 1);
    }

    void lostConnectionIsReported()
    {
        Database& db = test::useFreshDatabase(false);
        db.close();
        const InstallReport r = installSchema(db);
        QVERIFY(!r.ok);
    }
};

TAVRIN_DB_TEST_MAIN(TestInstaller)
#include "tst_installer.moc"
