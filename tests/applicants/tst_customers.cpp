// The sale of a unit and the applicant's record without windows: the checks in
// their order, one transaction per save, edit and delete, the race of two
// users on one unit, the totals other windows keep, the move of a
// pre-registration, and the list's search and county scope.
#include "applicants/applicant_fixtures.h"

#include "applicants/applicant_texts.h"

#include "common/activitylog.h"
#include "common/listmodel.h"
#include "common/session.h"



using namespace tavrin;
using namespace tavrin::applicants;

namespace {

const QString kMask = QString::fromLatin1(kEmptyDateMask);

QString sold(const QString& lname)
{
    return QStringLiteral(" فروخته شد ") + lname;
}

int listed(const Criteria& c)
{
    ListModel m;
    m.setQuery(searchQuery(c));
    int rows = 0;
    m.forEachRow([&rows](const QSqlRecord&) { ++rows; });
    if (rows != m.totalCount())
        qWarning("count %d but %d rows", m.totalCount(), rows);
    return rows == m.totalCount() ? rows : -1;
}

} // namespace

class TestCustomers : public QObject {
    Q_OBJECT
    QSqlRecord m_prj;
    QSqlRecord m_unit1, m_unit2;

    qint64 sell(const QSqlRecord& unit, const QString& lname, const QString& nation)
    {
        CustomerValues v = test::saleOf(m_prj, unit, lname, nation);
        const Outcome r = insertCustomer(v, test::answering(true));
        if (!r.done)
            qWarning() << "not sold:" << r.texts();
        return r.done ? r.id : -1;
    }

private Q_SLOTS:
    void init()
    {
        test::useFreshDatabase();
        test::loginAs(QStringLiteral("admin"));
        session().sabtCod = QStringLiteral("77");
        m_prj = test::addProject(QStringLiteral("مهر"), 10);
        m_unit1 = test::addUnit(m_prj, QStringLiteral("1-1-1"), 1000000000, 300000000);
        m_unit2 = test::addUnit(m_prj, QStringLiteral("1-1-2"), 800000000);
    }

    void saleIsOneRowTheSoldUnitAndOneLogRow()
    {
        CustomerValues v = test::saleOf(m_prj, m_unit1, QStringLiteral("کريمي"), QStringLiteral("0012345679"));
        v[QStringLiteral("takhfif")] = QStringLiteral("50,000,000");
        v[QStringLiteral("mablagh")] = QStringLiteral("1");  // whatever the field shows, the price comes from the unit
        const Outcome r = insertCustomer(v, test::answering(true));
        QVERIFY(r.done);
        QCOMPARE(r.texts(), QStringList {custext::kSaved});
        const QSqlRecord row = test::rowOf(QStringLiteral("customers"), r.id);
        QCOMPARE(toMoney(row.value(QStringLiteral("mablagh"))), qint64(950000000));
        QCOMPARE(toMoney(row.value(QStringLiteral("vam"))), qint64(300000000));
        QCOMPARE(row.value(QStringLiteral("reg_user")).toString(), QStringLiteral("admin"));
        QCOMPARE(row.value(QStringLiteral("sabt_cod")).toString(), QStringLiteral("77"));
        QCOMPARE(row.value(QStringLiteral("transport_dat")).toString(), kMask);
        QCOMPARE(row.value(QStringLiteral("sahm")).toDouble(), 6.0);
        QCOMPARE(test::unitStatus(m_unit1), sold(QStringLiteral("کريمي")));
        QCOMPARE(test::logComments(), QStringList {QStringLiteral(" ثبت اطلاعات متقاضي فارس شيراز کريمي")});
        // The unit is no longer offered, and selling it again from a stale form names its holder.
        QCOMPARE(freeUnits(m_prj.value(QStringLiteral("id")).toLongLong()), QStringList {QStringLiteral("1-1-2")});
        CustomerValues again = test::saleOf(m_prj, m_unit1, QStringLiteral("نوري"), QStringLiteral("0012345670"));
        QCOMPARE(insertCustomer(again, test::answering(true)).texts(),
                 QStringList {custext::kUnitSoldTo + QStringLiteral("کريمي")});
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from customers")), 1);
    }

    void checksRunInOrderAndStopWithNothingWritten()
    {
        // An empty province stops the save; the transfer check is still made.
        CustomerValues v = test::saleOf(m_prj, m_unit1, QStringLiteral("نوري"), QStringLiteral("0012345670"));
        v[QStringLiteral("ostan")].clear();
        v[QStringLiteral("status")] = custext::kTransferred;
        Outcome r = insertCustomer(v, test::answering(true));
        QCOMPARE(r.texts(), (QStringList {custext::kNoOstan, custext::kTransferNoDate}));
        QCOMPARE(r.focus, QStringLiteral("ostan"));
        // The warnings are questions: No stops without a further message, Yes goes on.
        dm().exec(QStringLiteral("insert into takafol (customer_id,nesbat,nation) values (99,'همسر','0012345670')"));
        v = test::saleOf(m_prj, m_unit1, QStringLiteral("نوري"), QStringLiteral("0012345670"));
        QStringList asked;
        r = insertCustomer(v, test::answering(false, &asked));
        QVERIFY(!r.done && r.notes.isEmpty());
        QCOMPARE(asked, QStringList {custext::kWarnDependant + QStringLiteral("همسر")});
        // A value that does not convert is refused with its message; nothing is written.
        v[QStringLiteral("takhir")] = QStringLiteral("1.2.3");
        r = insertCustomer(v, test::answering(true));
        QCOMPARE(r.texts(), QStringList {QStringLiteral("خطا! مقدار تاخير بايد عدد اعشاري باشد")});
        QCOMPARE(r.focus, QStringLiteral("takhir"));
        v[QStringLiteral("takhir")] = QStringLiteral("0");
        v[QStringLiteral("bank_dat")] = QStringLiteral("1405/13/40");
        r = insertCustomer(v, test::answering(true));
        QCOMPARE(r.texts(), QStringList {QStringLiteral("خطا! تاريخ گواهي بانک معتبر نيست")});
        QCOMPARE(r.focus, QStringLiteral("bank_dat"));
        v[QStringLiteral("bank_dat")] = QString::fromLatin1(kEmptyDateMask);
        v[QStringLiteral("takhfif")] = QStringLiteral("1234567890123456");  // beyond the money columns
        QCOMPARE(insertCustomer(v, test::answering(true)).texts(), QStringList {QStringLiteral("خطا! مقدار تخفيف بايد عدد صحيح باشد")});
        v[QStringLiteral("takhfif")] = QStringLiteral("0");
        v[QStringLiteral("sahm")] = QStringLiteral("7");
        QCOMPARE(insertCustomer(v, test::answering(true)).texts(), QStringList {custext::kSahmRange});
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from customers")), 0);
        QCOMPARE(test::unitStatus(m_unit1), QStringLiteral("فعال"));
        QVERIFY(test::logComments().isEmpty());
        // The same person registered in the county is a warning naming where.
        QVERIFY(sell(m_unit2, QStringLiteral("نوري"), QStringLiteral("0012345671")) > 0);
        v = test::saleOf(m_prj, m_unit1, QStringLiteral("نوري"), QStringLiteral("0012345672"));
        asked.clear();
        QVERIFY(insertCustomer(v, test::answering(true, &asked)).done);
        QCOMPARE(asked.last(), custext::kWarnSamePerson + QStringLiteral("فارسشيراز"));
        // Known as an applicant and as a partner of one: both questions, in order, naming the province.
        dm().exec(QStringLiteral("insert into shoraka (customer_id,nation) values ((select min(id) from customers),'0012345671')"));
        v = test::saleOf(m_prj, test::addUnit(m_prj, QStringLiteral("1-1-9"), 500000000), QStringLiteral("رضايي"),
                         QStringLiteral("0012345671"));
        asked.clear();
        QVERIFY(insertCustomer(v, test::answering(true, &asked)).done);
        QCOMPARE(asked, (QStringList {custext::kWarnApplicant + QStringLiteral("فارس"), custext::kWarnPartner + QStringLiteral("فارس")}));
    }

    // Two users sell the same unit from lists read before either saved: the
    // other commits while this one is saving; exactly one holds the unit.
    void twoUsersSellingOneUnitLeaveOneHolder()
    {
        const QVariant unitId = m_unit1.value(QStringLiteral("id"));
        Outcome r;
        test::whileAnotherUserHolds(
            [&](Database& db) {
                db.exec(QStringLiteral("insert into customers (prj_id,vahed_id,lname,nation,transport_dat,status) values (?,?,?,?,?,?)"),
                        {m_prj.value(QStringLiteral("id")), unitId, QStringLiteral("اول"), QStringLiteral("1111111111"), kMask,
                         QStringLiteral("فعال")});
                db.exec(QStringLiteral("update vahedha set status=? where id=? and status='فعال'"), {sold(QStringLiteral("اول")), unitId});
            },
            [&] {
                CustomerValues v = test::saleOf(m_prj, m_unit1, QStringLiteral("دوم"), QStringLiteral("0012345670"));
                r = insertCustomer(v, test::answering(true));
            });
        QVERIFY(!r.done);
        QCOMPARE(r.texts(), QStringList {custext::kUnitSoldTo + QStringLiteral("اول")});
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from customers where vahed_id=? and transport_dat=?"), {unitId, kMask}), 1);
        QCOMPARE(test::unitStatus(m_unit1), sold(QStringLiteral("اول")));
        QVERIFY(test::logComments().isEmpty());
    }

    // The refusals of the sale's own lookups (read with the checks, and again
    // inside the transaction after the unit is marked sold) leave nothing behind.
    void saleRefusalsLeaveTheUnitAsItWas()
    {
        const qint64 unit2 = m_unit2.value(QStringLiteral("id")).toLongLong();
        // A unit set to another status meanwhile, held by nobody.
        dm().exec(QStringLiteral("update vahedha set status=? where id=?"), {QStringLiteral("رزرو"), unit2});
        CustomerValues v = test::saleOf(m_prj, m_unit2, QStringLiteral("نوري"), QStringLiteral("0012345670"));
        Outcome r = insertCustomer(v, test::answering(true));
        QCOMPARE(r.texts(), QStringList {custext::kUnitNotActive});
        QCOMPARE(r.focus, QStringLiteral("shenase"));
        QCOMPARE(test::unitStatus(m_unit2), QStringLiteral("رزرو"));
        dm().exec(QStringLiteral("update vahedha set status=? where id=?"), {QStringLiteral("فعال"), unit2});
        // The same contract in the county is a question; No stops the save.
        CustomerValues first = test::saleOf(m_prj, m_unit1, QStringLiteral("کريمي"), QStringLiteral("0012345679"));
        first[QStringLiteral("prot_no")] = QStringLiteral("44");
        first[QStringLiteral("prot_dat")] = QStringLiteral("1402/01/01");
        QVERIFY(insertCustomer(first, test::answering(true)).done);
        v[QStringLiteral("prot_no")] = QStringLiteral("44");
        v[QStringLiteral("prot_dat")] = QStringLiteral("1402/01/01");
        QStringList asked;
        r = insertCustomer(v, test::answering(false, &asked));
        QVERIFY(!r.done && r.notes.isEmpty());
        QCOMPARE(asked, QStringList {custext::kWarnContract});
        // The unit's identifier already given in the project (by an applicant of no unit).
        dm().exec(QStringLiteral("insert into customers (prj_id,vahed_id,ostan,shahrestan,prj_cod,shenase,lname,nation,"
                                 "transport_dat,status) values (?,0,?,?,?,?,?,?,?,?)"),
                  {m_prj.value(QStringLiteral("id")), v.value(QStringLiteral("ostan")), v.value(QStringLiteral("shahrestan")),
                   v.value(QStringLiteral("prj_cod")), QStringLiteral("1-1-2"), QStringLiteral("قديمي"),
                   QStringLiteral("0012345671"), kMask, QStringLiteral("فعال")});
        v[QStringLiteral("prot_no")].clear();
        r = insertCustomer(v, test::answering(true));
        QCOMPARE(r.texts(), QStringList {custext::kDupShenaseProject});
        QCOMPARE(test::unitStatus(m_unit2), QStringLiteral("فعال"));
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from customers")), 2);
        QCOMPARE(test::logComments().size(), 1);
    }

    void editKeepsOtherWindowsTotalsAndReappliesTheDiscount()
    {
        CustomerValues v = test::saleOf(m_prj, m_unit1, QStringLiteral("کريمي"), QStringLiteral("0012345679"));
        v[QStringLiteral("takhfif")] = QStringLiteral("50000000");
        QVERIFY(insertCustomer(v, test::answering(true)).done);
        const qint64 id = dm().scalar(QStringLiteral("select id from customers")).toLongLong();
        // The payments, storage and parking windows and the unit's loans wrote their totals meanwhile.
        dm().exec(QStringLiteral("update customers set pardakht_sum=7000,parking=12.5,anbari=6,anbari_mablagh=900,"
                                 "parking_mablagh=800,vam=111 where id=?"),
                  {id});
        CustomerValues e = valuesOf(*customerRow(id));
        for (const char* t : {"pardakht_sum", "parking", "anbari"})
            e[QString::fromLatin1(t)] = QStringLiteral("0");  // a form read before those windows saved
        e[QStringLiteral("takhfif")] = QStringLiteral("100,000,000");
        e[QStringLiteral("mobile")] = QStringLiteral("09351112233");
        Outcome r = updateCustomer(id, e);
        QVERIFY2(r.done, qPrintable(r.texts().join('|')));
        QSqlRecord row = *customerRow(id);
        QCOMPARE(toMoney(row.value(QStringLiteral("mablagh"))), qint64(900000000));
        QCOMPARE(toMoney(row.value(QStringLiteral("pardakht_sum"))), qint64(7000));
        QCOMPARE(row.value(QStringLiteral("parking")).toDouble(), 12.5);
        QCOMPARE(row.value(QStringLiteral("anbari")).toDouble(), 6.0);
        QCOMPARE(toMoney(row.value(QStringLiteral("anbari_mablagh"))), qint64(900));
        QCOMPARE(toMoney(row.value(QStringLiteral("parking_mablagh"))), qint64(800));
        QCOMPARE(toMoney(row.value(QStringLiteral("vam"))), qint64(111));
        QCOMPARE(row.value(QStringLiteral("mobile")).toString(), QStringLiteral("09351112233"));
        // Saving the same discount again changes nothing.
        e = valuesOf(row);
        QVERIFY(updateCustomer(id, e).done);
        QCOMPARE(toMoney(customerRow(id)->value(QStringLiteral("mablagh"))), qint64(900000000));
        QCOMPARE(test::logComments().last(), QStringLiteral(" ويرايش اطلاعات متقاضي فارس شيراز کريمي"));
        // The share with the partners' may not exceed six, on edit either.
        dm().exec(QStringLiteral("insert into shoraka (customer_id,lname,sahm) values (?,'شريک',2.5)"), {id});
        e[QStringLiteral("sahm")] = QStringLiteral("4");
        QCOMPARE(updateCustomer(id, e).texts(), QStringList {custext::kShareSum});
        e[QStringLiteral("sahm")] = QStringLiteral("3.5");
        e[QStringLiteral("bank_dat")] = QStringLiteral(" 140/50/80");
        QCOMPARE(updateCustomer(id, e).focus, QStringLiteral("bank_dat"));
        e[QStringLiteral("bank_dat")] = QStringLiteral("۱۴۰۳/۱۲/۳۰");
        QVERIFY(updateCustomer(id, e).done);
        QCOMPARE(customerRow(id)->value(QStringLiteral("bank_dat")).toString(), QStringLiteral("1403/12/30"));
        // A county user cannot edit a completed file; the transfer check is made as well.
        dm().exec(QStringLiteral("update customers set status=? where id=?"), {custext::kCompleted, id});
        test::addUser(QStringLiteral("c1"), QStringLiteral("city"));
        test::loginAs(QStringLiteral("c1"));
        e[QStringLiteral("status")] = custext::kTransferred;
        QCOMPARE(updateCustomer(id, e).texts(), (QStringList {custext::kCompletedNoEdit, custext::kTransferNoDate}));
    }

    void unitChangeSellsTheNewUnitAndFreesTheOldOnlyWhenFree()
    {
        const qint64 a = sell(m_unit1, QStringLiteral("الف"), QStringLiteral("0012345670"));
        QVERIFY(a > 0);
        dm().exec(QStringLiteral("update customers set vam=5 where id=?"), {a});
        CustomerValues e = valuesOf(*customerRow(a));
        e.insert(unitValues(m_unit2));
        QVERIFY(updateCustomer(a, e).done);
        QCOMPARE(test::unitStatus(m_unit2), sold(QStringLiteral("الف")));
        QCOMPARE(test::unitStatus(m_unit1), QStringLiteral("فعال"));
        QSqlRecord row = *customerRow(a);
        QCOMPARE(toMoney(row.value(QStringLiteral("mablagh"))), qint64(800000000));
        QCOMPARE(toMoney(row.value(QStringLiteral("vam"))), qint64(0));  // the new unit's loan
        // Moving to a unit someone holds is refused (its identifier is taken); nothing changes.
        const qint64 b = sell(m_unit1, QStringLiteral("ب"), QStringLiteral("0012345671"));
        e = valuesOf(*customerRow(a));
        e.insert(unitValues(m_unit1));
        QCOMPARE(updateCustomer(a, e).texts(), QStringList {custext::kDupShenase});
        QCOMPARE(customerRow(a)->value(QStringLiteral("vahed_id")).toLongLong(), m_unit2.value(QStringLiteral("id")).toLongLong());
        // A former holder moved away from a unit another applicant holds leaves it
        // sold; he holds nothing (his transfer date is set), so the unit he is
        // moved to is not sold to him either.
        const QSqlRecord unit3 = test::addUnit(m_prj, QStringLiteral("1-1-3"), 500000000);
        dm().exec(QStringLiteral("update customers set transport_dat='1402/01/01',status=? where id=?"), {custext::kTransferred, b});
        const qint64 c = test::addBuyer(m_prj.value(QStringLiteral("id")).toLongLong(), m_unit1.value(QStringLiteral("id")).toLongLong(),
                                        QStringLiteral("ج"), QStringLiteral("0012345672"));
        dm().exec(QStringLiteral("update vahedha set status=? where id=?"), {sold(QStringLiteral("ج")), m_unit1.value(QStringLiteral("id"))});
        e = valuesOf(*customerRow(b));
        e.insert(unitValues(unit3));
        QVERIFY(updateCustomer(b, e).done);
        QCOMPARE(test::unitStatus(m_unit1), sold(QStringLiteral("ج")));
        QCOMPARE(test::unitStatus(unit3), QStringLiteral("فعال"));
        Q_UNUSED(c);
    }

    void deleteRemovesTheFileAndFreesUnitAndSpaces()
    {
        const qint64 id = sell(m_unit1, QStringLiteral("حذفي"), QStringLiteral("0012345670"));
        const QVariant prj = m_prj.value(QStringLiteral("id"));
        const qint64 room = dm().insert(QStringLiteral("anbariha"), {QStringLiteral("prj_id"), QStringLiteral("num"), QStringLiteral("status")},
                                        {prj, 1, sold(QStringLiteral("حذفي"))});
        const qint64 space = dm().insert(QStringLiteral("parkingha"), {QStringLiteral("prj_id"), QStringLiteral("num"), QStringLiteral("status")},
                                         {prj, 1, sold(QStringLiteral("حذفي"))});
        dm().exec(QStringLiteral("insert into anbari (customer_id,anbari_id) values (?,?)"), {id, room});
        dm().exec(QStringLiteral("insert into parking (customer_id,parking_id) values (?,?)"), {id, space});
        const qint64 partner = dm().insert(QStringLiteral("shoraka"), {QStringLiteral("customer_id")}, {id});
        dm().exec(QStringLiteral("insert into takafol (customer_id,shoraka_id) values (?,0),(?,?)"), {id, id, partner});
        dm().exec(QStringLiteral("insert into takafol (customer_id,shoraka_id) values (0,?)"), {partner});
        for (const char* t : {"pardakht", "customers_pic"})
            dm().exec(QStringLiteral("insert into %1 (customer_id) values (?)").arg(QLatin1String(t)), {id});
        dm().exec(QStringLiteral("insert into savabegh (cust_id,cmt) values (?,'x')"), {id});
        const Outcome r = deleteCustomer(id);
        QVERIFY(r.done);
        QCOMPARE(r.texts(), QStringList {custext::kDeleted});
        for (const char* t : {"customers", "shoraka", "takafol", "pardakht", "customers_pic", "savabegh", "anbari", "parking"})
            QVERIFY2(test::countOf(QStringLiteral("select count(*) from %1").arg(QLatin1String(t))) == 0, t);
        QCOMPARE(test::unitStatus(m_unit1), QStringLiteral("فعال"));
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from anbariha where status='فعال'")), 1);
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from parkingha where status='فعال'")), 1);
        QCOMPARE(test::logComments().last(), QStringLiteral(" حذف اطلاعات متقاضي رضا حذفي"));
        // A former holder's delete leaves the unit with its current holder.
        const qint64 former = sell(m_unit2, QStringLiteral("قبلي"), QStringLiteral("0012345671"));
        dm().exec(QStringLiteral("update customers set transport_dat='1402/01/01' where id=?"), {former});
        test::addBuyer(m_prj.value(QStringLiteral("id")).toLongLong(), m_unit2.value(QStringLiteral("id")).toLongLong(),
                       QStringLiteral("بعدي"), QStringLiteral("0012345672"));
        QVERIFY(deleteCustomer(former).done);
        QCOMPARE(test::unitStatus(m_unit2), sold(QStringLiteral("قبلي")));
    }

    void preregistrationMovesInWithTheSaveOnly()
    {
        const qint64 p = dm().insert(QStringLiteral("pishsabt"), {QStringLiteral("ostan"), QStringLiteral("shahrestan"),
                                                                  QStringLiteral("fname"), QStringLiteral("lname"), QStringLiteral("nation")},
                                     {QStringLiteral("فارس"), QStringLiteral("شيراز"), QStringLiteral("زهرا"), QStringLiteral("پيشي"),
                                      QStringLiteral("0012345670")});
        dm().exec(QStringLiteral("insert into pishpardakht (pishsabt_id,pardakht_typ,mablagh,vosol,num,dat,cmt,norvad_bank) "
                                 "values (?,'نقدي',5000000,5000000,'11','1401/01/01','اول','ملي'),(?,'چک',3000000,0,'12','1401/02/01',?,'ملي')"),
                  {p, p, QString(60, QChar(0x0627))});
        QCOMPARE(preregByNation(QStringLiteral("۰۰۱۲۳۴۵۶۷۰")).size(), 1);
        QCOMPARE(preregByName(QStringLiteral("زهرا"), QStringLiteral("پيشي")).size(), 1);
        CustomerValues v = test::saleOf(m_prj, m_unit1, QStringLiteral("پيشي"), QStringLiteral("0012345670"));
        v.insert(preregValues(*dm().firstRow(QStringLiteral("select * from pishsabt where id=?"), {p})));
        // A refused save leaves the pre-registration and its deposits as they were.
        v[QStringLiteral("status")].clear();
        QVERIFY(!insertCustomer(v, test::answering(true), p).done);
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from pishpardakht")), 2);
        v[QStringLiteral("status")] = custext::kActive;
        const Outcome r = insertCustomer(v, test::answering(true), p);
        QVERIFY(r.done);
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from pishsabt")), 0);
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from pishpardakht")), 0);
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from pardakht where customer_id=?"), {r.id}), 2);
        QCOMPARE(dm().textColumn(QStringLiteral("select bank from pardakht order by id")),
                 (QStringList {QStringLiteral("اول") + custext::kPreregBankSuffix,
                               QString(QString(60, QChar(0x0627)) + custext::kPreregBankSuffix).left(50)}));
        QCOMPARE(toMoney(customerRow(r.id)->value(QStringLiteral("pardakht_sum"))), qint64(5000000));
        // A second applicant naming the same pre-registration moves nothing again.
        CustomerValues w = test::saleOf(m_prj, m_unit2, QStringLiteral("ديگر"), QStringLiteral("0012345671"));
        const Outcome second = insertCustomer(w, test::answering(true), p);
        QVERIFY(second.done);
        QCOMPARE(test::countOf(QStringLiteral("select count(*) from pardakht")), 2);
    }

    void searchFollowsTheCriteriaAndTheCountyScope()
    {
        const qint64 prj = m_prj.value(QStringLiteral("id")).toLongLong();
        const QStringList counties {QStringLiteral("شيراز"), QStringLiteral("مرودشت"), QStringLiteral("کازرون")};
        int n = 0;
        for (const QString& county : counties)
            for (const QString& lname : {QStringLiteral("O'Hara"), QStringLiteral("کريمي"), QStringLiteral("كریمی")}) {
                const qint64 id = test::addBuyer(prj, 0, lname, QStringLiteral("00123456%1").arg(n, 2, 10, QChar('0')));
                dm().exec(QStringLiteral("update customers set shahrestan=?,ostan='فارس',prot_no=?,status='فعال' where id=?"),
                          {county, n % 3 == 0 ? QStringLiteral("") : QStringLiteral("12%1").arg(n), id});
                ++n;
            }
        dm().exec(QStringLiteral("update customers set transport_dat='1402/01/01',prot_no='12' where lname='O''Hara' and shahrestan=?"),
                  {counties[2]});
        Criteria all;
        QCOMPARE(listed(all), 9);
        all.transport = QStringLiteral("=");
        QCOMPARE(listed(all), 8);
        all.transport = QStringLiteral("<>");
        QCOMPARE(listed(all), 1);
        Criteria c;
        c.lname = QStringLiteral("O'Hara");
        QCOMPARE(listed(c), 3);
        c.lname = QStringLiteral("كريم");  // Arabic kaf and yeh find both spellings
        QCOMPARE(listed(c), 6);
        c.lname = QStringLiteral("o'hara");  // byte-wise: the case counts
        QCOMPARE(listed(c), 0);
        Criteria nation;
        nation.nation = QStringLiteral("۰۰۱۲۳۴۵۶۰۴");  // a whole code in Persian digits
        QCOMPARE(listed(nation), 1);
        nation.nation = QStringLiteral("345600");
        QCOMPARE(listed(nation), 1);
        nation.nation = QStringLiteral("3456");
        QCOMPARE(listed(nation), 9);
        Criteria prot;
        prot.protNo = std::make_pair(QStringLiteral("="), QString());
        QCOMPARE(listed(prot), 2);
        prot.protNo = std::make_pair(QStringLiteral("="), QStringLiteral("12"));
        QCOMPARE(listed(prot), 7);
        prot.protNo = std::make_pair(QStringLiteral("<>"), QStringLiteral("12"));
        QCOMPARE(listed(prot), 8);
        // Every level but the administrator sees exactly his granted counties.
        test::addUser(QStringLiteral("c1"), QStringLiteral("city"), {}, {}, {counties[0]});
        test::addUser(QStringLiteral("o1"), QStringLiteral("ostan"), {}, {}, {counties[0], counties[1]});
        test::addUser(QStringLiteral("k1"), QStringLiteral("keshvar"), {}, {}, {counties[2]});
        const std::pair<const char*, int> expected[] = {{"c1", 3}, {"o1", 6}, {"k1", 3}, {"admin", 9}};
        for (const auto& [user, count] : expected) {
            test::loginAs(QString::fromLatin1(user));
            QCOMPARE(listed(Criteria {}), count);
            Criteria o;
            o.ostan = QStringLiteral("فارس");  // whatever province is chosen
            QCOMPARE(listed(o), count);
        }
        // The project's applicants: scoped for county and provincial users only.
        test::loginAs(QStringLiteral("k1"));
        ListModel m;
        m.setQuery(projectQuery(prj));
        QCOMPARE(m.totalCount(), 9);
        test::loginAs(QStringLiteral("c1"));
        m.setQuery(projectQuery(prj));
        QCOMPARE(m.totalCount(), 3);
    }
};

TAVRIN_DB_TEST_MAIN(TestCustomers)
#include "tst_customers.moc"
