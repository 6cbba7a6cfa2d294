// The demonstration data: projects over the divisions, their units, storage
// rooms and parking spaces, and applicants holding the sold units, consistent
// with one another.
#include "maintenance/consistency.h"
#include "support/testsupport.h"

#include "maintenance/demodata.h"

#include "common/nationcode.h"
#include "db/schema.h"

using namespace tavrin;

namespace {
int count(const QString& sql, const QVariantList& values = {})
{
    return dm().scalar(sql, values).toInt();
}
} // namespace

class TestDemoData : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { test::useFreshDatabase(); }

    void nationCodesPassTheCheck()
    {
        for (const char* nine : {"000000000", "001234567", "123456789", "987654321", "555555555"}) {
            const QString code = demo::nationCodeFrom(QString::fromLatin1(nine));
            QCOMPARE(code.size(), 10);
            QVERIFY2(isValidNationCode(code), qPrintable(code));
        }
    }

    void emptyDivisionsAreFilledAndEverythingAddsUp()
    {
        demo::Options o;
        o.projects = 7;
        o.unitsPerProject = 12;
        o.storagePerProject = 3;
        o.parkingPerProject = 5;
        o.soldPercent = 50;
        o.projectsPerTransaction = 3;
        QStringList progress;
        const demo::Report r = demo::generate(dm(), o, [&](const QString& line) { progress << line; });
        QVERIFY(r.divisionsAdded > 0);
        QCOMPARE(count(QStringLiteral("select count(*) from abadiha")), r.divisionsAdded);
        QCOMPARE(r.projects, 7);
        QCOMPARE(count(QStringLiteral("select count(*) from projects")), 7);
        QCOMPARE(count(QStringLiteral("select count(*) from vahedha")), 84);
        QCOMPARE(count(QStringLiteral("select count(*) from anbariha")), 21);
        QCOMPARE(count(QStringLiteral("select count(*) from parkingha")), 35);
        QCOMPARE(r.units, 84);
        QCOMPARE(r.applicants, count(QStringLiteral("select count(*) from customers")));
        QVERIFY(r.applicants > 10 && r.applicants < 74);
        QCOMPARE(progress.size(), 4);  // the divisions and three transactions
        // Every project lies in a listed province and county and has a unique code there.
        QCOMPARE(count(QStringLiteral("select count(*) from projects p where not exists (select 1 from abadiha a "
                                      "where a.ostan=p.ostan and a.shahrestan=p.shahrestan)")), 0);
        QCOMPARE(count(QStringLiteral("select count(*) from (select ostan,shahrestan,prj_cod from projects "
                                      "group by ostan,shahrestan,prj_cod having count(*)>1) d")), 0);
        // The sold count of each project is its number of applicants, each holding a sold unit of it.
        QCOMPARE(count(QStringLiteral("select count(*) from projects p where vahed_f<>(select count(*) from customers c "
                                      "where c.prj_id=p.id)")), 0);
        QCOMPARE(count(QStringLiteral("select count(*) from customers c join vahedha v on v.id=c.vahed_id "
                                      "where v.prj_id=c.prj_id and v.status=? || c.lname and c.transport_dat=?"),
                       {QStringLiteral(" فروخته شد "), QString::fromLatin1(kEmptyDateMask)}),
                 int(r.applicants));
        QCOMPARE(count(QStringLiteral("select count(*) from vahedha where status like ?"), {QStringLiteral(" فروخته شد %")}),
                 int(r.applicants));
        // Unit identifiers are block-floor-number and unique in their project.
        QCOMPARE(count(QStringLiteral("select count(*) from vahedha where shenase<>bolok || '-' || tabaghe || '-' || vahed_no")), 0);
        QCOMPARE(count(QStringLiteral("select count(*) from (select prj_id,shenase from vahedha group by prj_id,shenase "
                                      "having count(*)>1) d")), 0);
        for (const QString& nation : dm().textColumn(QStringLiteral("select nation from customers")))
            QVERIFY2(isValidNationCode(nation), qPrintable(nation));
        // Totals are the area times the price per square metre (plus the terrace),
        // rounded as the entry windows round them, not a rial short.  The areas
        // are multiplied as decimals: PostgreSQL rounds a float's half to even.
        QCOMPARE(count(QStringLiteral("select count(*) from vahedha where mablagh<>round(cast(metraj as numeric)*mablagh1 + "
                                      "cast(teras as numeric)*teras1)")), 0);
        QCOMPARE(count(QStringLiteral("select count(*) from anbariha where mablagh<>round(cast(metraj as numeric)*mablagh1)")), 0);
        QCOMPARE(count(QStringLiteral("select count(*) from parkingha where mablagh<>round(cast(metraj as numeric)*mablagh1)")), 0);
        // Sales, totals and child rows agree: the consistency check finds nothing.
        for (const auto& f : maintenance::checkConsistency(dm()))
            QFAIL(qPrintable(f.plainLine()));
        // The settings' choice lists the project windows offer are there.
        QVERIFY(count(QStringLiteral("select count(*) from setting where component=?"), {QStringLiteral("نوع پروژه")}) > 0);
    }

    void existingDivisionsAndSettingsAreUsed()
    {
        dm().exec(QStringLiteral("insert into abadiha (ostan,shahrestan,shahr,rosta) values (?,?,?,?)"),
                  {QStringLiteral("يزد"), QStringLiteral("ميبد"), QStringLiteral("ميبد"), QStringLiteral("")});
        dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,?)"),
                  {QStringLiteral("نوع پروژه"), QStringLiteral("ويژه")});
        demo::Options o;
        o.projects = 3;
        o.unitsPerProject = 4;
        o.soldPercent = 0;
        const demo::Report r = demo::generate(dm(), o);
        QCOMPARE(r.divisionsAdded, 0);
        QCOMPARE(count(QStringLiteral("select count(*) from projects where ostan=? and shahrestan=?"),
                       {QStringLiteral("يزد"), QStringLiteral("ميبد")}),
                 3);
        QCOMPARE(dm().textColumn(QStringLiteral("select cmt from setting where component=?"), {QStringLiteral("نوع پروژه")}),
                 QStringList {QStringLiteral("ويژه")});
        QCOMPARE(r.applicants, 0);
        QCOMPARE(count(QStringLiteral("select count(*) from anbariha")), 6);  // half the units by default
        // A second run adds projects with new codes.
        demo::generate(dm(), o);
        QCOMPARE(count(QStringLiteral("select count(distinct prj_cod) from projects")), 6);
    }
};

TAVRIN_DB_TEST_MAIN(TestDemoData)
#include "tst_demodata.moc"
