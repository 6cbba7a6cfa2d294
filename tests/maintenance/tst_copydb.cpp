// "tavrin-cli copy-database": a demonstration database with blobs and Persian
// text moves to the other backend (SQLite to PostgreSQL in one variant, back
// in the other) with ids, identities, counts and checksums intact, and the
// program logs in on the copy.
#include "support/testsupport.h"

#include "maintenance/install.h"
#include "app/login_u.h"
#include "app/main_u.h"
#include "cli/commands.h"
#include "common/session.h"
#include "db/connection.h"
#include "maintenance/backup.h"
#include "maintenance/dbcopy.h"
#include "maintenance/portable.h"
#include "maintenance/demodata.h"

#include <QLineEdit>
#include <QRadioButton>

using namespace tavrin;

namespace {
QStringList connectionArgs(const ConnectionParams& p, const QString& prefix)
{
    QStringList a {QStringLiteral("--") + prefix + QStringLiteral("backend"),
                   p.backend == Backend::SQLite ? QStringLiteral("sqlite") : QStringLiteral("pg"),
                   QStringLiteral("--") + prefix + QStringLiteral("server"), p.server};
    if (p.backend == Backend::PostgreSQL)
        a << QStringLiteral("--") + prefix + QStringLiteral("database") << p.database << QStringLiteral("--") + prefix + QStringLiteral("user")
          << p.user;
    return a;
}

struct Run {
    int rc;
    QString out, err;
};

Run tavrinCli(const QStringList& args)
{
    Run r;
    QTextStream out(&r.out), err(&r.err);
    r.rc = cli::run(args, out, err);
    return r;
}

portable::Digest digest(Database& db, const QString& table)
{
    const TableDef& t = *schema().table(table);
    return portable::digestTable(db, t, portable::sharedColumns(t, db.columns(table), db.columns(table)));
}
} // namespace

class TestCopyDatabase : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Amounts arrive as the shortest exact text whatever form the source kept
    // them in; what cannot be an amount is refused by name.
    void amountsTakeOneExactForm()
    {
        ColumnDef money;
        money.name = QStringLiteral("mablagh");
        money.type = ColType::Money;
        const QList<std::pair<QVariant, QString>> forms {
            {QStringLiteral("0012.500"), "12.5"}, {QStringLiteral("12."), "12"}, {QStringLiteral("-0.000"), "0"},
            {QStringLiteral("+7"), "7"}, {QStringLiteral(" 15 "), "15"}, {QStringLiteral("000"), "0"},
            {QStringLiteral("-00.50"), "-0.5"}, {QStringLiteral("1e3"), "1000"}, {12.5, "12.5"},
            {qlonglong(-5), "-5"}, {QStringLiteral("999999999999999.9999"), "999999999999999.9999"}};
        for (const auto& [in, out] : forms)
            QCOMPARE(portable::bindValue(money, in).toString(), out);
        QVERIFY(portable::bindValue(money, QString()).isNull());
        for (const QString& bad : {QStringLiteral("12,5"), QStringLiteral("1000000000000000"), QStringLiteral("-")}) {
            try {
                portable::bindValue(money, bad);
                QFAIL(qPrintable(bad));
            } catch (const portable::BadValue& e) {
                QCOMPARE(e.column, money.name);
            }
        }
    }

    void init()
    {
        destroyMainWindow();
        destroyWindows();
    }

    void movesADemoDatabaseToTheOtherBackend()
    {
        Database& src = test::useFreshDatabase();
        demo::Options o;
        o.projects = 4;
        o.unitsPerProject = 15;
        o.soldPercent = 60;
        demo::generate(src, o);
        QByteArray scan;
        for (int i = 0; i < 70000; ++i)
            scan.append(char(i * 7 % 256));
        const qint64 cust = src.scalar(QStringLiteral("select min(id) from customers")).toLongLong();
        src.exec(QStringLiteral("insert into customers_pic (customer_id,cmt,pictyp,pic) values (?,?,?,?),(?,?,?,?)"),
                 {cust, QStringLiteral("سند مالکيت"), QStringLiteral(".jpg"), scan, cust, QStringLiteral("خالي"), QStringLiteral(".txt"),
                  QByteArray("")});
        src.exec(QStringLiteral("insert into payamha (send_prs_id,rec_prs_id,send_dat,show_dat,mozo,cmt) values (1,1,'1403/01/05','',?,?)"),
                 {QStringLiteral("يادآوري كد ملي"), QStringLiteral("متن پيام با ي و ك عربي").toUtf8()});
        src.exec(QStringLiteral("insert into log (karbar,cmt) values ('admin',?)"), {QStringLiteral(" ثبت اطلاعات پروژه  تهران")});
        // Texts arrive as they are, unusual characters too.
        src.exec(QStringLiteral("insert into log (karbar,cmt) values ('admin',?)"),
                 {QString(QChar(0xFEFF) + QStringLiteral("متن") + QChar(0xFFFE) + QChar(0xFFFF))});
        src.exec(QStringLiteral("insert into server_dat (us) values ('admin')"));
        src.exec(QStringLiteral("insert into dastrasi2 (user_id,cmt) values (1,?)"), {QStringLiteral("تهران")});
        test::addUser(QStringLiteral("0012345678"), QStringLiteral("ostan"), QStringLiteral("تهران"), {{QStringLiteral("customers"), QStringLiteral("1111")}}, {},
                      QStringLiteral("رمز-1"));
        // The last applicant is deleted: its id must not be handed out again.
        const qint64 lastId = src.scalar(QStringLiteral("select max(id) from customers")).toLongLong();
        src.exec(QStringLiteral("delete from customers where id=?"), {lastId});
        const qint64 applicants = src.scalar(QStringLiteral("select count(*) from customers")).toLongLong();

        // The target is new and installed as "tavrin-cli install" does.
        const ConnectionParams tp = test::freshDatabaseParams(test::otherBackend());
        auto target = test::openFresh(tp, false);
        QVERIFY(installDatabase(*target).ok);
        auto bare = test::openFresh(test::freshDatabaseParams(test::otherBackend()), false);

        const QStringList source = connectionArgs(src.params(), QString());
        // Refused: a target without the schema.
        Run r = tavrinCli(QStringList {QStringLiteral("copy-database")} + source + connectionArgs(bare->params(), QStringLiteral("to-")));
        QCOMPARE(r.rc, 1);
        QVERIFY2(r.err.contains(QStringLiteral("run \"tavrin-cli install\" on the target first")), qPrintable(r.err));

        r = tavrinCli(QStringList {QStringLiteral("copy-database")} + source + connectionArgs(tp, QStringLiteral("to-")));
        QVERIFY2(r.rc == 0, qPrintable(r.err + r.out));
        QVERIFY2(r.out.contains(QStringLiteral("all 39 tables match")), qPrintable(r.out));

        Database& dst = *target;
        for (const TableDef& t : schema().tables)
            QVERIFY2(digest(src, t.name) == digest(dst, t.name), qPrintable(t.name));
        QCOMPARE(dst.scalar(QStringLiteral("select pic from customers_pic where cmt=?"), {QStringLiteral("سند مالکيت")}).toByteArray(), scan);
        QVERIFY(!dst.scalar(QStringLiteral("select pic from customers_pic where pictyp='.txt'")).isNull());
        QCOMPARE(QString::fromUtf8(dst.scalar(QStringLiteral("select cmt from payamha")).toByteArray()),
                 QStringLiteral("متن پيام با ي و ك عربي"));
        QCOMPARE(dst.scalar(QStringLiteral("select mozo from payamha")).toString(), QStringLiteral("يادآوري كد ملي"));
        QCOMPARE(dst.scalar(QStringLiteral("select count(*) from abadiha")), src.scalar(QStringLiteral("select count(*) from abadiha")));
        // Identities go on past the deleted applicant's id.
        QVERIFY(dst.insert(QStringLiteral("customers"), {QStringLiteral("fname")}, {QStringLiteral("new")}) > lastId);
        QVERIFY(dst.insert(QStringLiteral("log"), {QStringLiteral("cmt")}, {QStringLiteral("new")}) >
                src.scalar(QStringLiteral("select max(id) from log")).toLongLong());

        // The checksum sees one changed byte of a scanned document.
        QByteArray changed = scan;
        changed[50000] = char(changed[50000] ^ 1);
        dst.exec(QStringLiteral("update customers_pic set pic=? where pictyp='.jpg'"), {changed});
        QVERIFY(!(digest(src, QStringLiteral("customers_pic")) == digest(dst, QStringLiteral("customers_pic"))));

        // Refused: a target that already holds data.
        r = tavrinCli(QStringList {QStringLiteral("copy-database")} + source + connectionArgs(tp, QStringLiteral("to-")));
        QCOMPARE(r.rc, 1);
        QVERIFY2(r.err.contains(QStringLiteral("the target already holds data (table users")), qPrintable(r.err));

        // The program logs in on the copy.
        connection::StoredSettings s;
        s.serverName = tp.server;
        s.dataBase = tp.database;
        s.userName = tp.user;
        s.authentication = QString::fromLatin1(tp.backend == Backend::SQLite ? connection::kAuthAccess : connection::kAuthPostgres);
        QVERIFY(connection::writeStored(s));
        target.reset();
        test::DialogRecorder rec;
        Tlogin& w = window<Tlogin>();
        w.local->setChecked(true);
        w.us->setText(QStringLiteral("0012345678"));
        w.ps->setText(QStringLiteral("رمز-1"));
        QVERIFY2(w.BitBtn1Click(), qPrintable(rec.texts().join('|')));
        QCOMPARE(dm().backend(), tp.backend);
        QCOMPARE(session().ostan, QStringLiteral("تهران"));
        QCOMPARE(dm().scalar(QStringLiteral("select count(*) from customers")).toLongLong(), applicants + 1);
    }

    // Into PostgreSQL rows go through COPY's text format: what its escaping
    // could break arrives exactly; a value the server refuses, or a cancel in
    // the middle of a table, leaves the target as it was.
    void unusualValuesArriveExactlyAndFailuresLeaveNothing()
    {
        Database& src = test::useFreshDatabase();
        const QStringList texts {QStringLiteral("a\tb"), QStringLiteral("tab\there"), QStringLiteral("line\nnext\r\nend"),
                                 QStringLiteral("back\\slash \\N \\x41 \\."), QStringLiteral("\\."), QStringLiteral("\\N"),
                                 QStringLiteral("\\"), QStringLiteral("\n\\.\n"), QString(), QStringLiteral(""),
                                 QStringLiteral("ي ك \u200c\u202b \U0001F600 \u0001\u001f\u007f")};
        QByteArray bytes;
        for (int i = 0; i < 512; ++i)
            bytes.append(char(i % 256));
        qint64 firstLog = 0;
        for (int i = 0; i < texts.size(); ++i) {
            const qint64 id = src.insert(QStringLiteral("log"), {QStringLiteral("karbar"), QStringLiteral("cmt")},
                                         {QString::number(i), texts[i].isNull() ? QVariant(QString()) : QVariant(texts[i])});
            if (!firstLog)
                firstLog = id;
        }
        src.exec(QStringLiteral("insert into customers_pic (customer_id,cmt,pictyp,pic) values (1,?,?,?),(2,?,?,?)"),
                 {QStringLiteral("\\x00"), QStringLiteral("\t"), bytes, QStringLiteral("null"), QString(), QByteArray()});
        const auto copyTo = [&](const Progress& progress = {}) {
            const ConnectionParams tp = test::freshDatabaseParams(test::otherBackend());
            auto target = test::openFresh(tp, false);
            [&] { QVERIFY(installDatabase(*target).ok); }();
            return std::make_pair(copyDatabase(src, *target, progress), std::move(target));
        };
        auto [copy, dst] = copyTo();
        QVERIFY2(copy.allMatch(), qPrintable(copy.detail));
        QSqlQuery q = dst->exec(QStringLiteral("select cmt from log where id>=? order by id"), {firstLog});
        for (const QString& t : texts) {
            QVERIFY(q.next());
            QCOMPARE(q.value(0).isNull(), t.isNull());
            QCOMPARE(q.value(0).toString(), t);
        }
        QCOMPARE(dst->scalar(QStringLiteral("select pic from customers_pic where customer_id=1")).toByteArray(), bytes);
        QVERIFY(dst->scalar(QStringLiteral("select pic from customers_pic where customer_id=2")).isNull());
        QVERIFY(dst->scalar(QStringLiteral("select pictyp from customers_pic where customer_id=2")).isNull());
        QCOMPARE(dst->scalar(QStringLiteral("select pictyp from customers_pic where customer_id=1")).toString(), QStringLiteral("\t"));
        dst.reset();
        if (test::otherBackend() != Backend::PostgreSQL)
            return;
        // Cancelled in the middle of the log's rows, then refused in the middle
        // of them (SQLite keeps a text longer than its column).
        for (int i = 0; i < 450; ++i)
            src.exec(QStringLiteral("insert into log (karbar,cmt) values ('x',?)"), {QStringLiteral("ردیف %1").arg(i)});
        auto [cancelled, target] = copyTo([n = 0](qint64, qint64, const QString& step) mutable {
            return step != QLatin1String("log") || ++n < 2;
        });
        QCOMPARE(int(cancelled.outcome), int(DatabaseCopy::Outcome::Cancelled));
        QCOMPARE(target->scalar(QStringLiteral("select count(*) from log")).toInt(), 0);
        QCOMPARE(target->scalar(QStringLiteral("select count(*) from users")).toInt(), 1);
        src.exec(QStringLiteral("insert into log (karbar,cmt) values ('x',?)"), {QString(201, QChar(0x0628))});
        auto [failed, other] = copyTo();
        QCOMPARE(int(failed.outcome), int(DatabaseCopy::Outcome::Failed));
        QVERIFY2(failed.detail.contains(QStringLiteral("log.cmt")), qPrintable(failed.detail));
        QCOMPARE(other->scalar(QStringLiteral("select count(*) from log")).toInt(), 0);
        QCOMPARE(other->scalar(QStringLiteral("select count(*) from users")).toInt(), 1);
    }

    // SQL Server cannot be reached here: the statements it would get.
    void sqlServerStatements()
    {
        const auto d = Dialect::create(Backend::SqlServer);
        QCOMPARE(d->explicitIdentity(QStringLiteral("customers"), true), QStringLiteral("SET IDENTITY_INSERT customers ON"));
        QCOMPARE(d->advanceIdentity(QStringLiteral("customers"), 41).first().sql, QStringLiteral("DBCC CHECKIDENT ('customers', RESEED, 41)"));
        ConnectionParams p;
        p.backend = Backend::SqlServer;
        p.server = QStringLiteral("db1,1433");
        p.database = QStringLiteral("Tavrin");
        p.user = QStringLiteral("sa");
        QCOMPARE(backupCommand(p, QStringLiteral("D:\\b\\o'k.bak")),
                 QStringLiteral("sqlcmd -S db1,1433 -U sa -Q 'BACKUP DATABASE [Tavrin] TO DISK = N'\\''D:\\b\\o'\\'''\\''k.bak'\\'''"));
    }
};

TAVRIN_DB_TEST_MAIN(TestCopyDatabase)
#include "tst_copydb.moc"
