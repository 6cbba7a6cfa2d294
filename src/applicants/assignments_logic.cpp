#include "applicants/assignments_logic.h"

#include "applicants/child_texts.h"

#include "common/activitylog.h"
#include "common/history.h"
#include "common/logtexts.h"
#include "common/nationcode.h"
#include "db/database.h"
#include "db/locks.h"

namespace tavrin::assignments {

using namespace childtext;

namespace {

QString nn(const QString& t)
{
    return t.isNull() ? QStringLiteral("") : t;
}

std::optional<qint64> numberOf(const QString& typed)
{
    bool ok = false;
    const qint64 n = toAsciiDigits(typed.trimmed()).toLongLong(&ok);
    return ok ? std::optional<qint64>(n) : std::nullopt;
}

// Writes one side's amount and area totals of the applicant from his rows.
void writeSideTotals(const Side& s, qint64 customerId)
{
    dm().exec(QStringLiteral("update customers set %1=(select coalesce(sum(mablagh),0) from %3 where customer_id=?),"
                             "%2=(select coalesce(sum(metraj),0) from %3 where customer_id=?) where id=?")
                  .arg(s.amountColumn, s.areaColumn, s.rows()),
              {customerId, customerId, customerId});
}

// The surname of the applicant whose row holds the space: a row that carries
// the space's id names it; a row written before rows carried the id (none, or
// 0) names it by project, block, number and position.
std::optional<QString> holderOf(const Side& s, const QSqlRecord& space)
{
    const auto row = dm().firstRow(
        QStringLiteral("select customers.lname from %1 left join customers on %1.customer_id=customers.id "
                       "where %1.%2=? or (coalesce(%1.%2,0)=0 and %1.prj_id=? and %1.bolok=? and %1.num=? and %1.pos=?) "
                       "order by %1.id")
            .arg(s.rows(), s.spaceId()),
        {space.value(QStringLiteral("id")), space.value(QStringLiteral("prj_id")), text(space.value(QStringLiteral("bolok"))),
         space.value(QStringLiteral("num")), text(space.value(QStringLiteral("pos")))});
    if (!row)
        return std::nullopt;
    return text(row->value(0));
}

QString logLine(const QString& opening, const QSqlRecord& customer, const QVariant& num)
{
    return opening + text(customer.value(QStringLiteral("ostan"))) + QLatin1Char(' ') +
           text(customer.value(QStringLiteral("shahrestan"))) + QLatin1Char(' ') +
           text(customer.value(QStringLiteral("lname"))) + QLatin1Char(' ') + text(num);
}

} // namespace

const Side& parkingSide()
{
    static const Side s = [] {
        Side d;
        d.kind = &spaces::parking();
        d.amountColumn = QStringLiteral("parking_mablagh");
        d.areaColumn = QStringLiteral("parking");
        d.notInProject = kParkingNotInProject;
        d.notActive = kParkingNotActive;
        d.soldTo = kParkingSoldTo;
        d.duplicate = kParkingDuplicate;
        d.choose = kChooseParking;
        d.logNew = QString::fromUtf8(logtext::kNewCustomerParking);
        d.logDelete = QString::fromUtf8(logtext::kDeleteCustomerParking);
        return d;
    }();
    return s;
}

const Side& storageSide()
{
    static const Side s = [] {
        Side d;
        d.kind = &spaces::storage();
        d.amountColumn = QStringLiteral("anbari_mablagh");
        d.areaColumn = QStringLiteral("anbari");
        d.notInProject = kStorageNotInProject;
        d.notActive = kStorageNotActive;
        d.soldTo = kStorageSoldTo;
        d.duplicate = kStorageDuplicate;
        d.choose = kChooseStorage;
        d.logNew = QString::fromUtf8(logtext::kNewCustomerAnbari);
        d.logDelete = QString::fromUtf8(logtext::kDeleteCustomerAnbari);
        return d;
    }();
    return s;
}

QStringList freeBlocks(const Side& s, qint64 prjId)
{
    return dm().textColumn(QStringLiteral("select distinct bolok from %1 where prj_id=? and status=? order by bolok").arg(s.spaces()),
                           {prjId, items::freeStatus()});
}

QStringList freeNumbers(const Side& s, qint64 prjId, const QString& bolok)
{
    return dm().textColumn(
        QStringLiteral("select distinct num from %1 where status=? and prj_id=? and bolok=? order by num").arg(s.spaces()),
        {items::freeStatus(), prjId, nn(bolok)});
}

QStringList freePositions(const Side& s, qint64 prjId, const QString& bolok, const QString& num)
{
    const auto n = numberOf(num);
    if (!n)
        return {};
    return dm().textColumn(
        QStringLiteral("select pos from %1 where status=? and prj_id=? and bolok=? and num=? order by id").arg(s.spaces()),
        {items::freeStatus(), prjId, nn(bolok), *n});
}

std::optional<QSqlRecord> freeSpace(const Side& s, qint64 prjId, const QString& bolok, const QString& num,
                                    const QString& pos)
{
    const auto n = numberOf(num);
    if (!n)
        return std::nullopt;
    return dm().firstRow(
        QStringLiteral("select * from %1 where status=? and prj_id=? and bolok=? and num=? and pos=? order by id").arg(s.spaces()),
        {items::freeStatus(), prjId, nn(bolok), *n, nn(pos)});
}

ListQuery rowsQuery(const Side& s, qint64 customerId)
{
    ListQuery q(QStringLiteral("select *"), QStringLiteral("from ") + s.rows());
    q.equals(QStringLiteral("customer_id"), customerId);
    return q;
}

Totals totals(const Side& s, qint64 customerId)
{
    Totals t;
    if (const auto row = dm().firstRow(
            QStringLiteral("select sum(metraj),sum(mablagh) from %1 where customer_id=?").arg(s.rows()), {customerId})) {
        t.metraj = row->value(0).toDouble();
        t.mablagh = toMoney(row->value(1));
    }
    return t;
}

Outcome assign(const Side& s, qint64 customerId, qint64 spaceId)
{
    Outcome r;
    if (spaceId <= 0)
        return r.refuse(s.choose, QStringLiteral("pos"));
    Transaction tx(dm());
    const auto customer = locks::lockAndRead(locks::Row::Customer, customerId);
    if (!customer)
        return r.refuse(kCustomerGone);
    const qint64 prjId = customer->value(QStringLiteral("prj_id")).toLongLong();
    if (prjId <= 0)
        return r.refuse(kNoProjectOfApplicant);
    const QString lname = text(customer->value(QStringLiteral("lname")));
    // Only this space of his project, and only while it is still free: the
    // conditional update takes the space's lock before anything of it is read,
    // so what the row copies (number, area, price) is the space as it stands
    // now, and another user's edit or sale of it waits for this one (or this
    // one finds it no longer free).  A refusal below rolls the update back.
    const int sold = dm().execAffected(QStringLiteral("update %1 set status=? where id=? and prj_id=? and status=?").arg(s.spaces()),
                                       {items::soldStatus(lname), spaceId, prjId, items::freeStatus()});
    const auto space = dm().firstRow(QStringLiteral("select * from %1 where id=?").arg(s.spaces()), {spaceId});
    if (!space || space->value(QStringLiteral("prj_id")).toLongLong() != prjId)
        return r.refuse(s.notInProject);
    if (sold != 1)
        return r.refuse(s.notActive + text(space->value(QStringLiteral("status"))));
    if (const auto holder = holderOf(s, *space))
        return r.refuse(s.soldTo + *holder);
    const QVariant num = space->value(QStringLiteral("num"));
    const QString bolok = text(space->value(QStringLiteral("bolok")));
    const QString pos = text(space->value(QStringLiteral("pos")));
    if (dm().firstRow(QStringLiteral("select id from %1 where num=? and bolok=? and pos=? and prj_id=?").arg(s.rows()),
                      {num, bolok, pos, prjId}))
        return r.refuse(s.duplicate);
    const QStringList columns {QStringLiteral("customer_id"), QStringLiteral("num"), QStringLiteral("metraj"),
                               QStringLiteral("pos"), QStringLiteral("mablagh"), QStringLiteral("prj_id"),
                               QStringLiteral("mablagh1"), QStringLiteral("bolok"), s.spaceId()};
    const QVariantList values {customerId, num, space->value(QStringLiteral("metraj")), pos, space->value(QStringLiteral("mablagh")),
                               prjId, space->value(QStringLiteral("mablagh1")), bolok, spaceId};
    r.id = dm().insert(s.rows(), columns, values);
    history::inserted(s.rows(), r.id, history::Owner::applicant(customerId), history::rowOf(columns, values));
    history::fieldChanged(s.spaces(), spaceId, history::Owner::ofProject(prjId), QStringLiteral("status"),
                          items::freeStatus(), items::soldStatus(lname));
    writeSideTotals(s, customerId);
    writeLog(logLine(s.logNew, *customer, num));
    tx.commit();
    r.done = true;
    return r;
}

Outcome unassign(const Side& s, qint64 customerId, qint64 rowId)
{
    Outcome r;
    r.id = rowId;
    Transaction tx(dm());
    const auto customer = locks::lockAndRead(locks::Row::Customer, customerId);
    if (!customer)
        return r.refuse(kCustomerGone);
    const auto row = dm().firstRow(QStringLiteral("select * from %1 where id=? and customer_id=?").arg(s.rows()),
                                   {rowId, customerId});
    if (!row)
        return r.refuse(kRowGone);
    dm().exec(QStringLiteral("delete from %1 where id=?").arg(s.rows()), {rowId});
    writeLog(logLine(s.logDelete, *customer, row->value(QStringLiteral("num"))));
    history::deleted(s.rows(), rowId, history::Owner::applicant(customerId), *row);
    writeSideTotals(s, customerId);
    // The space is free again unless another row still holds it.
    const qint64 spaceId = row->value(s.spaceId()).toLongLong();
    const auto prjOwner = history::Owner::ofProject(row->value(QStringLiteral("prj_id")).toLongLong());
    if (spaceId > 0) {
        history::changedWhere(s.spaces(), QStringLiteral("status"), items::freeStatus(),
                              QStringLiteral("id=? and not exists (select 1 from %1 where %2=?)").arg(s.rows(), s.spaceId()),
                              {spaceId, spaceId}, prjOwner);
        dm().exec(QStringLiteral("update %1 set status=? where id=? and not exists (select 1 from %2 where %3=?)")
                      .arg(s.spaces(), s.rows(), s.spaceId()),
                  {items::freeStatus(), spaceId, spaceId});
    } else {
        const QVariantList at {row->value(QStringLiteral("prj_id")), text(row->value(QStringLiteral("bolok"))),
                               row->value(QStringLiteral("num")), text(row->value(QStringLiteral("pos")))};
        history::changedWhere(s.spaces(), QStringLiteral("status"), items::freeStatus(),
                              QStringLiteral("prj_id=? and bolok=? and num=? and pos=? and not exists "
                                             "(select 1 from %1 where prj_id=? and bolok=? and num=? and pos=?)")
                                  .arg(s.rows()),
                              at + at, prjOwner);
        dm().exec(QStringLiteral("update %1 set status=? where prj_id=? and bolok=? and num=? and pos=? and not exists "
                                 "(select 1 from %2 where prj_id=? and bolok=? and num=? and pos=?)")
                      .arg(s.spaces(), s.rows()),
                  {items::freeStatus(), row->value(QStringLiteral("prj_id")), text(row->value(QStringLiteral("bolok"))),
                   row->value(QStringLiteral("num")), text(row->value(QStringLiteral("pos"))),
                   row->value(QStringLiteral("prj_id")), text(row->value(QStringLiteral("bolok"))),
                   row->value(QStringLiteral("num")), text(row->value(QStringLiteral("pos")))});
    }
    tx.commit();
    r.done = true;
    return r;
}

bool writeTotals(qint64 customerId)
{
    Transaction tx(dm());
    if (!locks::lock(locks::Row::Customer, customerId))
        return false;
    writeSideTotals(parkingSide(), customerId);
    writeSideTotals(storageSide(), customerId);
    tx.commit();
    return true;
}

// ---------------------------------------------------------------- the search

ListQuery searchQuery(const Side& s, const SearchCriteria& c)
{
    const QString t = s.rows();
    ListQuery q(QStringLiteral("select %1.*,customers.ostan,customers.shahrestan,customers.prj_name,customers.bolok as bolok_1,"
                               "customers.fname,customers.lname,customers.shenase")
                    .arg(t),
                QStringLiteral("from %1 left join customers on %1.customer_id=customers.id").arg(t), t + QStringLiteral(".id"));
    q.countyScope(QStringLiteral("customers.shahrestan"), CountyScope::ProvincialAndCounty);
    if (c.shahrestan)
        q.like(QStringLiteral("customers.shahrestan"), *c.shahrestan);
    if (c.prjName)
        q.like(QStringLiteral("customers.prj_name"), *c.prjName);
    const std::optional<QString>& num = &s == &parkingSide() ? c.parkingNum : c.anbariNum;
    if (num) {
        // The number is compared exactly; a text that is no number matches nothing.
        if (const auto n = numberOf(*num))
            q.where(t + QStringLiteral(".num=?"), {*n});
        else
            q.where(QStringLiteral("1=0"));
    }
    return q;
}

HeaderMap searchHeaders(const Side& s)
{
    const bool parking = &s == &parkingSide();
    return {{QStringLiteral("ostan"), kProvince},
            {QStringLiteral("shahrestan"), kCounty},
            {QStringLiteral("prj_name"), kProjectName},
            {QStringLiteral("bolok_1"), kUnitBlock},
            {QStringLiteral("fname"), kFirstName},
            {QStringLiteral("lname"), kLastName},
            {QStringLiteral("shenase"), kUnitId},
            {QStringLiteral("bolok"), parking ? kParkingBlock : kStorageBlock},
            {QStringLiteral("num"), parking ? kParkingNum : kStorageNum},
            {QStringLiteral("metraj"), kMetraj},
            {QStringLiteral("pos"), kPositionTitle},
            {QStringLiteral("id"), kIdTitle}};
}

} // namespace tavrin::assignments
