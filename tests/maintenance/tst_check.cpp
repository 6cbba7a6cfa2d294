// The consistency check over a database whose sales, totals and child rows
// agree, then over the same database with one fault of each kind added: every
// fault is found once, naming its table and rows, and nothing else is.  The
// command line's "check" exit codes and its help and version output.
#include "support/testsupport.h"

#include "cli/commands.h"
#include "db/schema.h"
#include "app/main_u.h"
#include "common/rights.h"
#include "maintenance/check_u.h"
#include "maintenance/consistency.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include <QMap>
#include <QRegularExpression>
#include <QVariant>

using namespace tavrin;

namespace {

QString sold(const char16_t* lname)
{
    return QString(QStringLiteral(" فروخته شد ") + QString::fromUtf16(lname));
}
const QString kFree = QStringLiteral("فعال");
const QString kMask = QString::fromLatin1(kEmptyDateMask);

qint64 ins(const QString& table, const QMap<QString, QVariant>& row)
{
    return dm().insert(table, row.keys(), row.values());
}

QStringList found()
{
    QStringList out;
    for (const auto& f : maintenance::checkConsistency(dm())) {
        out << f.rule + QLatin1Char(' ') + f.plainLine().section(QLatin1Char(':'), 0, 0);
        if (f.persian.isEmpty() || !f.persianLine().contains(f.table))
            out << QStringLiteral("no Persian text for ") + f.rule;
    }
    out.sort();
    return out;
}

} // namespace

class TestCheck : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::useFreshDatabase(); }

    void consistentDataPassesThenEveryFaultIsNamed()
    {
        // A sale as the program writes it: the unit sold to its one current
        // holder (a former holder transferred away), its loan within the
        // facility, the collected total matching the payments (an uncollected
        // cheque counts nothing), a storage room assigned (its twin of the same
        // block and number marked with it), a parking space, the applicant's
        // partner, dependant, documents and checklist, a deposit, a user's rights.
        const qint64 prj = ins(QStringLiteral("projects"), {{QStringLiteral("prj_name"), QStringLiteral("مهر")}});
        const qint64 unit = ins(QStringLiteral("vahedha"), {{QStringLiteral("prj_id"), prj},
                                                            {QStringLiteral("status"), sold(u"احمدي")},
                                                            {QStringLiteral("vam"), 300}});
        const qint64 holder = ins(QStringLiteral("customers"), {{QStringLiteral("vahed_id"), unit}, {QStringLiteral("transport_dat"), kMask},
                                                                {QStringLiteral("vam"), 300}, {QStringLiteral("pardakht_sum"), 700},
                                                                {QStringLiteral("lname"), QStringLiteral("احمدي")}});
        ins(QStringLiteral("customers"), {{QStringLiteral("vahed_id"), unit}, {QStringLiteral("transport_dat"), QStringLiteral("1402/01/05")},
                                          {QStringLiteral("vam"), 0}, {QStringLiteral("pardakht_sum"), 0}});
        const qint64 facility = ins(QStringLiteral("tashilat"), {{QStringLiteral("prj_id"), prj}, {QStringLiteral("daryafti"), 1000}});
        ins(QStringLiteral("vahed_vam"), {{QStringLiteral("prj_id"), prj}, {QStringLiteral("tashilat_id"), facility},
                                          {QStringLiteral("vahed_id"), unit}, {QStringLiteral("mablagh"), 300}});
        // A loan tied to no facility, as the loan window gives one after its question.
        ins(QStringLiteral("vahed_vam"), {{QStringLiteral("prj_id"), prj}, {QStringLiteral("tashilat_id"), 0},
                                          {QStringLiteral("vahed_id"), unit}, {QStringLiteral("mablagh"), 0}});
        ins(QStringLiteral("pardakht"), {{QStringLiteral("customer_id"), holder}, {QStringLiteral("mablagh"), 700}, {QStringLiteral("vosol"), 700}});
        ins(QStringLiteral("pardakht"), {{QStringLiteral("customer_id"), holder}, {QStringLiteral("mablagh"), 200}, {QStringLiteral("vosol"), 0}});
        const auto space = [&](const QString& table, const QString& status) {
            return ins(table, {{QStringLiteral("prj_id"), prj}, {QStringLiteral("bolok"), QStringLiteral("الف")},
                               {QStringLiteral("num"), 7}, {QStringLiteral("status"), status}});
        };
        const qint64 room = space(QStringLiteral("anbariha"), sold(u"احمدي"));
        space(QStringLiteral("anbariha"), sold(u"احمدي"));
        const qint64 assigned = ins(QStringLiteral("anbari"), {{QStringLiteral("customer_id"), holder}, {QStringLiteral("anbari_id"), room}, {QStringLiteral("prj_id"), prj},
                                       {QStringLiteral("bolok"), QStringLiteral("الف")}, {QStringLiteral("num"), 7}});
        const qint64 park = space(QStringLiteral("parkingha"), sold(u"احمدي"));
        ins(QStringLiteral("parking"), {{QStringLiteral("customer_id"), holder}, {QStringLiteral("parking_id"), park}, {QStringLiteral("prj_id"), prj},
                                        {QStringLiteral("bolok"), QStringLiteral("الف")}, {QStringLiteral("num"), 7}});
        for (const char* t : {"shoraka", "takafol", "customers_pic"})
            ins(QString::fromLatin1(t), {{QStringLiteral("customer_id"), holder}});
        ins(QStringLiteral("savabegh"), {{QStringLiteral("cust_id"), holder}, {QStringLiteral("cmt"), QStringLiteral("شناسنامه")}});
        const qint64 pre = ins(QStringLiteral("pishsabt"), {{QStringLiteral("fname"), QStringLiteral("علي")}});
        ins(QStringLiteral("pishpardakht"), {{QStringLiteral("pishsabt_id"), pre}, {QStringLiteral("vosol"), 50}});
        const qint64 user = test::addUser(QStringLiteral("checker"), QStringLiteral("city"));
        ins(QStringLiteral("dastrasi"), {{QStringLiteral("prs_id"), user}, {QStringLiteral("page_name"), QStringLiteral("pardakht")}});
        dm().exec(QStringLiteral("insert into dastrasi2 (user_id,cmt) values (?,?)"), {user, QStringLiteral("اراک")});

        QCOMPARE(found(), QStringList());
        test::Cli clean = test::runCli({QStringLiteral("check")}, true);
        QCOMPARE(clean.rc, 0);
        QVERIFY2(clean.out.startsWith(QLatin1String("no broken invariants")), qPrintable(clean.out + clean.err));

        // One fault of each kind.
        const auto unitWith = [&](const QString& status, qint64 vam) {
            return ins(QStringLiteral("vahedha"), {{QStringLiteral("prj_id"), prj}, {QStringLiteral("status"), status}, {QStringLiteral("vam"), vam}});
        };
        const auto holderOf = [&](qint64 u) {
            return ins(QStringLiteral("customers"), {{QStringLiteral("vahed_id"), u}, {QStringLiteral("transport_dat"), kMask},
                                                     {QStringLiteral("vam"), 0}, {QStringLiteral("pardakht_sum"), 0}});
        };
        const qint64 soldAlone = unitWith(sold(u"x"), 0);
        const qint64 soldTwice = unitWith(sold(u"x"), 0);
        holderOf(soldTwice);
        holderOf(soldTwice);
        const qint64 onFree = holderOf(unitWith(kFree, 0));
        const qint64 onGone = holderOf(9999);
        const qint64 roomAlone = ins(QStringLiteral("anbariha"), {{QStringLiteral("prj_id"), prj}, {QStringLiteral("num"), 8},
                                                                   {QStringLiteral("status"), sold(u"x")}});
        const qint64 again = ins(QStringLiteral("anbari"), {{QStringLiteral("customer_id"), holder}, {QStringLiteral("anbari_id"), room}});
        const qint64 parkGone = ins(QStringLiteral("parking"), {{QStringLiteral("customer_id"), holder}, {QStringLiteral("parking_id"), 9999}});
        const qint64 unpaid = ins(QStringLiteral("customers"), {{QStringLiteral("transport_dat"), QStringLiteral("1402/01/05")},
                                                                {QStringLiteral("pardakht_sum"), 500}});
        const qint64 vamNoLoans = unitWith(kFree, 100);
        const qint64 vamDiffers = holderOf(unitWith(sold(u"x"), 0));
        dm().exec(QStringLiteral("update customers set vam=? where id=?"), {40, vamDiffers});
        const qint64 small = ins(QStringLiteral("tashilat"), {{QStringLiteral("prj_id"), prj}, {QStringLiteral("daryafti"), 100}});
        ins(QStringLiteral("vahed_vam"), {{QStringLiteral("tashilat_id"), small}, {QStringLiteral("vahed_id"), unitWith(kFree, 150)},
                                          {QStringLiteral("mablagh"), 150}});
        const qint64 lostPayment = ins(QStringLiteral("pardakht"), {{QStringLiteral("customer_id"), 9999}, {QStringLiteral("vosol"), 0}});
        const qint64 lostLoan = ins(QStringLiteral("vahed_vam"), {{QStringLiteral("tashilat_id"), facility}, {QStringLiteral("vahed_id"), 9999},
                                                                  {QStringLiteral("mablagh"), 1}});
        const qint64 lostDeposit = ins(QStringLiteral("pishpardakht"), {{QStringLiteral("pishsabt_id"), 9999}});
        const qint64 lostCheck = ins(QStringLiteral("savabegh"), {{QStringLiteral("cust_id"), QVariant()}});
        const qint64 lostRights = ins(QStringLiteral("dastrasi"), {{QStringLiteral("prs_id"), 9999}, {QStringLiteral("page_name"), QStringLiteral("x")}});
        dm().exec(QStringLiteral("insert into dastrasi2 (user_id,cmt) values (?,?)"), {9998, QStringLiteral("اراک")});

        const auto line = [](const char* rule, const char* table, const QList<qint64>& ids) -> QString {
            QStringList t;
            for (qint64 id : ids)
                t << QString::number(id);
            return QString::fromLatin1(rule) + QLatin1Char(' ') + QString::fromLatin1(table) + QLatin1Char(' ') + t.join(QLatin1Char(','));
        };
        QStringList expected {
            line("unit-holders", "vahedha", {soldAlone}),        line("unit-holders", "vahedha", {soldTwice}),
            line("holder-unit-free", "customers", {onFree}),     line("holder-unit-gone", "customers", {onGone}),
            line("anbari-sold", "anbariha", {roomAlone}),        line("anbari-twice", "anbari", {assigned, again}),
            line("parking-space-gone", "parking", {parkGone}),       line("pardakht-sum", "customers", {unpaid}),
            line("unit-vam", "vahedha", {vamNoLoans}),           line("holder-vam", "customers", {vamDiffers}),
            line("facility-over", "tashilat", {small}),          line("orphan:pardakht.customer_id", "pardakht", {lostPayment}),
            line("orphan:vahed_vam.vahed_id", "vahed_vam", {lostLoan}),   line("orphan:pishpardakht.pishsabt_id", "pishpardakht", {lostDeposit}),
            line("orphan:savabegh.cust_id", "savabegh", {lostCheck}),    line("orphan:dastrasi.prs_id", "dastrasi", {lostRights}),
            line("orphan:dastrasi2.user_id", "dastrasi2", {9998}),
        };
        expected.sort();
        QCOMPARE(found(), expected);

        const test::Cli broken = test::runCli({QStringLiteral("check")}, true);
        QCOMPARE(broken.rc, 1);
        QVERIFY2(broken.out.contains(QStringLiteral("vahedha %1: unit is marked sold but has 2 current holders").arg(soldTwice)),
                 qPrintable(broken.out));
        QVERIFY(broken.out.contains(QStringLiteral("tashilat %1: loans given add up to 150, more than the received amount 100").arg(small)));
        QVERIFY(broken.out.trimmed().endsWith(QStringLiteral("%1 broken invariant(s) in %2").arg(expected.size()).arg(dm().params().describe())));
    }

    // The menu entry opens the window for administrators only; the window
    // lists the findings of the data left by the test above in Persian.
    void windowForAdministrators()
    {
        test::DialogRecorder rec;
        test::addUser(QStringLiteral("clerk"), QStringLiteral("city"));
        test::loginAs(QStringLiteral("clerk"));
        QAction* entry = mainWindow().action(QStringLiteral("check_mnu"));
        QVERIFY(entry && entry->isEnabled());
        entry->trigger();
        QCOMPARE(rec.texts(), QStringList {noAccessMessage()});

        test::loginAs(QStringLiteral("admin"));
        rec.clear();
        Tcheck& w = tavrin::window<Tcheck>();
        int rows = -1;
        rec.onExec = [&](QDialog*) {
            QTest::keyClick(&w, Qt::Key_Return);  // Enter runs the check
            rows = w.findings->rowCount();
            const QString dir = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR");
            if (!dir.isEmpty() && test::backendUnderTest() == Backend::SQLite)
                w.grab().save(dir + QStringLiteral("/Tcheck.png"));
            return 0;
        };
        entry->trigger();
        QCOMPARE(rec.shown.last().title, QStringLiteral("Tcheck"));
        const int expected = int(maintenance::checkConsistency(dm()).size());
        QVERIFY(expected > 10);
        QCOMPARE(rows, expected);
        QCOMPARE(w.cnt->text(), QStringLiteral("تعداد موارد ناسازگار: %1").arg(expected));
        bool named = false;
        for (int r = 0; r < rows; ++r)
            named = named || (w.findings->item(r, 0)->text() == QLatin1String("tashilat") &&
                              w.findings->item(r, 2)->text().contains(QStringLiteral("بيش از مبلغ دريافتي")));
        QVERIFY(named);

        // Once repaired, nothing is listed.
        for (const char* t : {"customers", "vahedha", "anbariha", "anbari", "parkingha", "parking", "pardakht", "vahed_vam",
                              "tashilat", "pishpardakht", "savabegh", "shoraka", "takafol", "customers_pic", "dastrasi2"})
            dm().exec(QStringLiteral("delete from ") + QString::fromLatin1(t));
        dm().exec(QStringLiteral("delete from dastrasi where prs_id not in (select id from users)"));
        w.check_btn->click();
        QCOMPARE(w.findings->rowCount(), 0);
        QCOMPARE(w.cnt->text(), QStringLiteral("هيچ ناسازگاري يافت نشد"));
    }

    // A transfer date of blanks and slashes is no date: such an applicant holds
    // his unit, so a unit reserved for two such holders is named, and so is a
    // payment held twice.
    void holdersByTheOneDateRuleAndPaymentsHeldTwice()
    {
        test::useFreshDatabase();
        const auto unitWith = [](const QString& status) { return ins(QStringLiteral("vahedha"), {{QStringLiteral("status"), status}}); };
        const auto holder = [](qint64 unit, const QString& dat) {
            return ins(QStringLiteral("customers"), {{QStringLiteral("vahed_id"), unit}, {QStringLiteral("transport_dat"), dat}});
        };
        holder(unitWith(sold(u"x")), QStringLiteral("//"));
        const qint64 reserved = unitWith(QStringLiteral("رزرو"));
        holder(reserved, QStringLiteral("/  /"));
        holder(reserved, kMask);
        QCOMPARE(found(), QStringList {QStringLiteral("unit-holders vahedha %1").arg(reserved)});
        dm().exec(QStringLiteral("delete from customers"));
        dm().exec(QStringLiteral("delete from vahedha"));
        const qint64 c = ins(QStringLiteral("customers"), {{QStringLiteral("pardakht_sum"), 15}});
        const auto pay = [c](const QVariant& num) {
            return ins(QStringLiteral("pardakht"), {{QStringLiteral("customer_id"), c}, {QStringLiteral("pardakht_typ"), QStringLiteral("نقدي")},
                                                    {QStringLiteral("mablagh"), 5}, {QStringLiteral("vosol"), 5}, {QStringLiteral("num"), num}});
        };
        const qint64 first = pay(QStringLiteral("11"));
        pay(QVariant());
        const qint64 copy = pay(QStringLiteral("11"));
        QCOMPARE(found(), QStringList {QStringLiteral("pardakht-twice pardakht %1,%2").arg(first).arg(copy)});
    }

    // Every date column of the schema holds a whole valid date or no date in
    // one of its stored forms; anything else is named with its row and value.
    void storedDatesAreWholeOrEmpty()
    {
        test::useFreshDatabase();
        const qint64 c = ins(QStringLiteral("customers"), {{QStringLiteral("bank_dat"), QStringLiteral("1405/13/40")},
                                                           {QStringLiteral("birthday"), QStringLiteral("1360/05/04")},
                                                           {QStringLiteral("transport_dat"), QStringLiteral("/  /")}});
        int num = 0;
        for (const QVariant& none : {QVariant(), QVariant(QStringLiteral("")), QVariant(QStringLiteral("//")),
                                     QVariant(kMask), QVariant(QStringLiteral("1403/12/30"))})
            ins(QStringLiteral("pardakht"), {{QStringLiteral("customer_id"), c}, {QStringLiteral("dat"), none}, {QStringLiteral("num"), ++num}});
        const qint64 cut = ins(QStringLiteral("tashilat"), {{QStringLiteral("dat1"), QStringLiteral(" 140/50/80")}});
        const qint64 noLeap = ins(QStringLiteral("tashilat"), {{QStringLiteral("dat2"), QStringLiteral("1404/12/30")}});
        dm().exec(QStringLiteral("insert into tazeha_readed (prs_id,dat) values (7,'1403/1/05')"));
        QCOMPARE(found(), (QStringList {QStringLiteral("date:customers.bank_dat customers %1").arg(c),
                                        QStringLiteral("date:tashilat.dat1 tashilat %1").arg(cut),
                                        QStringLiteral("date:tashilat.dat2 tashilat %1").arg(noLeap),
                                        QStringLiteral("date:tazeha_readed.dat tazeha_readed 7")}));
        const test::Cli cli = test::runCli({QStringLiteral("check")}, true);
        QCOMPARE(cli.rc, 1);
        QVERIFY2(cli.out.contains(QStringLiteral("tashilat %1: dat1 holds \" 140/50/80\"").arg(cut)), qPrintable(cli.out));
    }

    void helpAndVersion()
    {
        const test::Cli help = test::runCli({QStringLiteral("--help")});
        QCOMPARE(help.rc, 0);
        QVERIFY(help.err.isEmpty());
        QVERIFY(help.out.contains(QLatin1String("tavrin-cli check")) && help.out.contains(QLatin1String("tavrin-cli import-divisions")));
        // A command's help, also after options, but not "-h" given as a value.
        for (const QStringList& args : {QStringList {QStringLiteral("check"), QStringLiteral("--help")},
                                        QStringList {QStringLiteral("words"), QStringLiteral("-h")},
                                        QStringList {QStringLiteral("check"), QStringLiteral("--builtin"), QStringLiteral("--help")}}) {
            const test::Cli c = test::runCli(args);
            QCOMPARE(c.rc, 0);
            QVERIFY2(c.out.startsWith(QLatin1String("usage: tavrin-cli ") + args[0]), qPrintable(c.out));
        }
        const test::Cli value = test::runCli({QStringLiteral("check"), QStringLiteral("--backend"), QStringLiteral("-h")});
        QCOMPARE(value.rc, 1);
        QVERIFY(value.err.contains(QLatin1String("unknown backend")));
        const test::Cli version = test::runCli({QStringLiteral("--version")});
        QCOMPARE(version.rc, 0);
        QVERIFY(QRegularExpression(QStringLiteral("^\\d+\\.\\d+$")).match(cli::version()).hasMatch());
        QCOMPARE(version.out, QStringLiteral("tavrin-cli %1\n").arg(cli::version()));
        const test::Cli unknown = test::runCli({QStringLiteral("nonsense")});
        QCOMPARE(unknown.rc, 2);
        QVERIFY(unknown.out.isEmpty() && unknown.err.startsWith(QLatin1String("unknown command: nonsense")));
    }
};

TAVRIN_DB_TEST_MAIN(TestCheck)
#include "tst_check.moc"
