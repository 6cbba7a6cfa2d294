// The sale of a unit to an applicant, the edit and the delete of an
// applicant, each in one transaction with its checks, and the move of a
// pre-registration into the applicant.
#include "applicants/customers_detail.h"

#include "applicants/applicant_history.h"
#include "applicants/applicant_texts.h"
#include "applicants/child_texts.h"
#include "applicants/payments_logic.h"

#include "common/activitylog.h"
#include "common/history.h"
#include "common/jalali.h"
#include "common/logtexts.h"
#include "common/nationcode.h"
#include "common/session.h"
#include "common/stale.h"
#include "common/windows.h"
#include "db/database.h"
#include "db/locks.h"
#include "db/schema.h"

#include <algorithm>
#include <array>

namespace tavrin::applicants {


using customers_detail::mask;
using customers_detail::nn;
using customers_detail::totalColumns;

namespace {

// A current holder (his transfer date is not set), as a condition on customers.
QString currentHolder()
{
    return QStringLiteral("not (") + jalali::dateIsSet(QStringLiteral("transport_dat")) + QLatin1Char(')');
}

using jalali::isEmptyDate;

// The dates as they are stored (ASCII digits, the empty date mask for none),
// so that the checks before the conversion compare them with stored dates; a
// date that is not whole stays as typed for the conversion to refuse.
void storedDates(CustomerValues& values)
{
    for (const Field& f : recordFields())
        if (f.kind == FieldKind::Date)
            if (const auto date = jalali::fieldDate(values.value(f.column)))
                values[f.column] = *date;
}

bool any(const QString& sql, const QVariantList& values)
{
    return dm().firstRow(sql, values).has_value();
}

qint64 idOf(const QString& t)
{
    bool ok = false;
    const qint64 id = t.trimmed().toLongLong(&ok);
    return ok ? id : 0;
}

QString v(const CustomerValues& values, const char* column)
{
    return values.value(QString::fromLatin1(column));
}

// The surname of the applicant who holds a unit now (other than `except`), or nothing.
std::optional<QString> holderOf(qint64 unitId, qint64 except = 0)
{
    const auto row = dm().firstRow(
        QStringLiteral("select lname from customers where vahed_id=? and id<>? and ") + currentHolder() +
            QStringLiteral(" order by id"),
        {unitId, except});
    if (!row)
        return std::nullopt;
    return text(row->value(0));
}

// Marks a unit sold to the surname while its status is one of `accepted` (the
// free status for a sale).  A unit someone sold meanwhile (or set to another
// status) is refused with the holder's surname.
bool sellUnit(Outcome& r, qint64 unitId, qint64 prjId, const QString& lname, qint64 buyer,
              const QStringList& accepted)
{
    QString sql = QStringLiteral("update vahedha set status=? where id=? and prj_id=? and status in (");
    QVariantList bound {items::soldStatus(lname), unitId, prjId};
    for (int i = 0; i < accepted.size(); ++i) {
        sql += i ? QStringLiteral(",?") : QStringLiteral("?");
        bound << accepted[i];
    }
    const int n = dm().execAffected(sql + QLatin1Char(')'), bound);
    if (n == 1)
        return true;
    if (const auto holder = holderOf(unitId, buyer))
        r.refuse(custext::kUnitSoldTo + *holder, QStringLiteral("shenase"));
    else
        r.refuse(custext::kUnitNotActive, QStringLiteral("shenase"));
    return false;
}

// Locks the unit the applicant holds (and alsoUnit) and then his row: units
// before applicants, the order loans, sales and moves take them in, so that
// none of them waits for another in a circle.  His unit is read again once it
// is locked: when another user moved him meanwhile, his new unit is locked too.
// Once the unit he holds is locked, nobody can move him until the commit.
// False when he is gone.
bool lockUnitsThenCustomer(qint64 id, qint64 alsoUnit)
{
    // The applicant's unit is read before it is locked, so another user may
    // move him in between.  Locking the unit he moved to after the others
    // would break the ascending order every writer keeps and can deadlock;
    // instead the locks taken are given back (a savepoint's rollback releases
    // the row locks taken after it on PostgreSQL) and all are taken again in
    // order.  On SQLite the transaction already holds the database's write
    // lock, so nobody moves him meanwhile.
    const bool pg = dm().backend() == Backend::PostgreSQL;
    for (int attempt = 0; attempt < 5; ++attempt) {
        const QVariant unit = dm().scalar(QStringLiteral("select vahed_id from customers where id=?"), {id});
        if (!unit.isValid())
            return false;
        QList<qint64> wanted;
        for (const qint64 u : {unit.toLongLong(), alsoUnit})
            if (u > 0 && !wanted.contains(u))
                wanted << u;
        std::sort(wanted.begin(), wanted.end());
        if (pg)
            dm().execLater(QStringLiteral("savepoint unit_locks"));
        for (const qint64 u : wanted)
            locks::lock(locks::Row::Unit, u);
        const QVariant held = dm().scalar(QStringLiteral("select vahed_id from customers where id=?"), {id});
        if (!held.isValid())
            return false;
        if (held.toLongLong() == unit.toLongLong()) {
            if (pg)
                dm().execLater(QStringLiteral("release savepoint unit_locks"));
            return locks::lock(locks::Row::Customer, id);
        }
        if (pg)
            dm().exec(QStringLiteral("rollback to savepoint unit_locks"));
    }
    return false;
}

// The transfer check, made even after another check failed.
void transferCheck(Outcome& r, const CustomerValues& values)
{
    if (v(values, "status") == custext::kTransferred && isEmptyDate(v(values, "transport_dat")))
        r.refuse(custext::kTransferNoDate, QStringLiteral("transport_dat"));
}

// The checks of the fields that must not be empty, in the order of the save;
// heldBy, when given, tells who holds the chosen unit now (a sale is refused
// for a unit already sold, before the person's own fields are looked at).
bool emptinessChecks(Outcome& r, const CustomerValues& values,
                     const std::function<std::optional<QString>()>& heldBy = {})
{
    if (v(values, "ostan").trimmed().isEmpty()) {
        r.refuse(custext::kNoOstan, QStringLiteral("ostan"));
        return false;
    }
    if (v(values, "shahrestan").trimmed().isEmpty()) {
        r.refuse(custext::kNoShahrestan, QStringLiteral("shahrestan"));
        return false;
    }
    if (v(values, "status").trimmed().isEmpty()) {
        r.refuse(custext::kNoStatus, QStringLiteral("status"));
        return false;
    }
    if (idOf(v(values, "prj_id")) == 0) {
        r.refuse(custext::kNoProject, QStringLiteral("prj_cod"));
        return false;
    }
    if (idOf(v(values, "vahed_id")) == 0) {
        r.refuse(custext::kNoUnit, QStringLiteral("shenase"));
        return false;
    }
    if (heldBy) {
        if (const auto holder = heldBy()) {
            r.refuse(custext::kUnitSoldTo + *holder, QStringLiteral("shenase"));
            return false;
        }
    }
    if (v(values, "nation").trimmed().isEmpty()) {
        r.refuse(custext::kNoNation, QStringLiteral("nation"));
        return false;
    }
    if (v(values, "lname").trimmed().isEmpty()) {
        r.refuse(custext::kNoLname, QStringLiteral("lname"));
        return false;
    }
    return true;
}

// The two hard duplicates of a new applicant's unit as two columns of a select
// (dup_block, dup_shenase), their values appended to bound.  They are read with
// the checks before the questions (the unit's particulars as the window shows
// them) and again inside the sale's transaction, where unitRow names the
// locked unit row of the same select (its block, floor, number and identifier
// as stored now, which are what the sale writes).
QString unitDuplicateColumns(const CustomerValues& values, QVariantList& bound, const QString& unitRow = {})
{
    const auto part = [&](const char* column) {
        if (!unitRow.isEmpty())
            return QString(unitRow + QLatin1Char('.') + QString::fromLatin1(column));
        bound << nn(v(values, column));
        return QStringLiteral("?");
    };
    QString sql = QStringLiteral("case when exists (select id from customers d where d.ostan=? and d.shahrestan=?");
    bound << nn(v(values, "ostan")) << nn(v(values, "shahrestan"));
    sql += QStringLiteral(" and d.bolok=") + part("bolok");
    sql += QStringLiteral(" and d.tabaghe=") + part("tabaghe");
    sql += QStringLiteral(" and d.vahed_no=") + part("vahed_no");
    sql += QStringLiteral(" and d.prj_name=?");
    bound << nn(v(values, "prj_name"));
    sql += QStringLiteral(" and d.shenase=") + part("shenase");
    sql += QStringLiteral(" and d.status=? and d.prj_cod=?) then 1 else 0 end as dup_block,"
                          "case when exists (select id from customers d where d.ostan=? and d.shahrestan=? and d.prj_cod=?");
    bound << nn(v(values, "status")) << nn(v(values, "prj_cod")) << nn(v(values, "ostan")) << nn(v(values, "shahrestan"))
          << nn(v(values, "prj_cod"));
    sql += QStringLiteral(" and d.shenase=") + part("shenase");
    sql += QStringLiteral(" and d.status<>?) then 1 else 0 end as dup_shenase");
    bound << custext::kTransferred;
    return sql;
}

// What a sale copies from the unit, from its row as stored (read under the
// unit's lock): every particular of the unit block, converted as the record
// converts them, and the unit's loan.  The price is the caller's (the unit's
// less the discount).
QVariantMap unitParticulars(const QSqlRecord& unit)
{
    QVariantMap out;
    for (const QString& c : unitColumns()) {
        if (c == QLatin1String("vahed_id") || c == QLatin1String("mablagh"))
            continue;
        const auto f = recordField(c);
        const QVariant x = unit.value(c);
        switch (f ? f->kind : FieldKind::Text) {
        case FieldKind::Money: out.insert(c, toMoney(x)); break;
        case FieldKind::Real: out.insert(c, x.isNull() ? 0.0 : x.toDouble()); break;
        case FieldKind::Int: out.insert(c, x.isNull() ? QVariant(QMetaType::fromType<int>()) : QVariant(x.toInt())); break;
        case FieldKind::Date:
        case FieldKind::Text: out.insert(c, text(x)); break;
        }
    }
    return out;
}

// The columns of the record window an edit compares with the stored row
// before it writes: everything the window shows but the totals other windows
// keep (collected total, storage and parking areas) and the loan, which
// follows the unit's loans.
QStringList comparedColumns()
{
    QStringList out;
    for (const Field& f : recordFields())
        if (!totalColumns().contains(f.column) && f.column != QLatin1String("vam"))
            out << f.column;
    return out;
}

// The duplicates read by unitDuplicateColumns; the first found is reported.
bool unitDuplicateChecks(Outcome& r, const QSqlRecord& found)
{
    if (found.value(QStringLiteral("dup_block")).toInt() != 0) {
        r.refuse(custext::kDupBlockStatus, QStringLiteral("shenase"));
        return false;
    }
    if (found.value(QStringLiteral("dup_shenase")).toInt() != 0) {
        r.refuse(custext::kDupShenaseProject, QStringLiteral("shenase"));
        return false;
    }
    return true;
}

// Who holds a unit now, as two columns of a select: held (1 or 0) and held_by
// (the surname of the first holder by id), their values appended to bound.
QString holderColumns(qint64 unitId, QVariantList& bound)
{
    bound << unitId << unitId;
    return QStringLiteral("case when exists (select id from customers where vahed_id=? and id<>0 and ") + currentHolder() +
           QStringLiteral(") then 1 else 0 end as held,(select lname from customers where id=(select min(id) from customers "
                          "where vahed_id=? and id<>0 and ") + currentHolder() + QStringLiteral(")) as held_by");
}

std::optional<QString> heldBy(const QSqlRecord& row)
{
    if (row.value(QStringLiteral("held")).toInt() == 0)
        return std::nullopt;
    return text(row.value(QStringLiteral("held_by")));
}

// The share on its own (1 to 6) and with the partners' shares (at most 6).
bool shareChecks(Outcome& r, const Converted& c, qint64 self)
{
    const double sahm = c.values.value(QStringLiteral("sahm")).toDouble();
    if (sahm < 1 || sahm > 6) {
        r.refuse(custext::kSahmRange, QStringLiteral("sahm"));
        return false;
    }
    if (self > 0) {
        const double partners = dm().scalar(QStringLiteral("select coalesce(sum(sahm),0) from shoraka where customer_id=?"),
                                            {self}).toDouble();
        if (sahm + partners > 6 + 1e-9) {
            r.refuse(custext::kShareSum, QStringLiteral("sahm"));
            return false;
        }
    }
    return true;
}

QString logComment(const char* opening, const CustomerValues& values)
{
    return QString::fromUtf8(opening) + v(values, "ostan") + QLatin1Char(' ') + v(values, "shahrestan") +
           QLatin1Char(' ') + v(values, "lname");
}

// Everything the checks and questions before a sale look up, read in one
// statement once the place, project and unit are chosen: the unit's holder;
// whether the person is already known (a dependant, an applicant, a
// partner, the same names in the county), each as its first row by id; the
// same contract in the county; the unit's two duplicates.  The messages and
// questions then come in their order.
QSqlRecord saleLookUp(const CustomerValues& values, qint64 unitId, bool withContract)
{
    const QString nation = v(values, "nation");
    QVariantList bound;
    QString sql = QStringLiteral("select ") + holderColumns(unitId, bound);
    const QString sameWhere = QStringLiteral("ostan=? and shahrestan=? and fname=? and lname=? and father=?");
    const QVariantList same {nn(v(values, "ostan")), nn(v(values, "shahrestan")), nn(v(values, "fname")),
                             nn(v(values, "lname")), nn(v(values, "father"))};
    sql += QStringLiteral(
               ",(select min(id) from takafol where nation=?) as t_id,"
               "(select nesbat from takafol where id=(select min(id) from takafol where nation=?)) as t_nesbat,"
               "(select min(id) from customers where nation=?) as c_id,"
               "(select ostan from customers where id=(select min(id) from customers where nation=?)) as c_ostan,"
               "(select min(id) from shoraka where nation=?) as s_id,"
               "(select ostan from customers where id=(select customer_id from shoraka where id="
               "(select min(id) from shoraka where nation=?))) as s_ostan,"
               "(select min(id) from customers where ") + sameWhere + QStringLiteral(") as p_id,"
               "(select ostan from customers where id=(select min(id) from customers where ") + sameWhere +
           QStringLiteral(")) as p_ostan,(select shahrestan from customers where id=(select min(id) from customers where ") +
           sameWhere + QStringLiteral(")) as p_shahrestan");
    bound << nation << nation << nation << nation << nation << nation;
    bound += same;
    bound += same;
    bound += same;
    if (withContract) {
        sql += QStringLiteral(",case when exists (select id from customers where ostan=? and shahrestan=? and prot_no=? "
                              "and prot_dat=? and status=?) then 1 else 0 end as contract");
        bound << nn(v(values, "ostan")) << nn(v(values, "shahrestan")) << nn(v(values, "prot_no"))
              << nn(v(values, "prot_dat")) << nn(v(values, "status"));
    }
    sql += QLatin1Char(',') + unitDuplicateColumns(values, bound);
    const auto found = dm().firstRow(sql, bound);
    return found ? *found : QSqlRecord();  // a select without a table always has its row
}

} // namespace

// ---------------------------------------------------------------- save

Outcome insertCustomer(CustomerValues& values, const Ask& ask, qint64 prereg)
{
    Outcome r;
    if (values.value(QStringLiteral("takhfif")).trimmed().isEmpty())
        values[QStringLiteral("takhfif")] = QStringLiteral("0");
    storedDates(values);
    const auto warn = [&ask](const QString& question) { return ask && ask(question); };
    const qint64 prjId = idOf(v(values, "prj_id"));
    const qint64 unitId = idOf(v(values, "vahed_id"));
    const bool withContract = !v(values, "prot_no").isEmpty() || !isEmptyDate(v(values, "prot_dat"));

    // The look-ups of the checks (saleLookUp), read when the first check needs them.
    std::optional<QSqlRecord> known;
    const auto lookUp = [&]() -> const QSqlRecord& {
        if (!known)
            known = saleLookUp(values, unitId, withContract);
        return *known;
    };

    // The checks in their order; a refusal skips the rest but the transfer check.
    const bool passed = [&] {
        if (!emptinessChecks(r, values, [&] { return heldBy(lookUp()); }))
            return false;
        const QSqlRecord& k = lookUp();
        const auto has = [&k](const char* column) { return !k.value(QString::fromLatin1(column)).isNull(); };
        const auto at = [&k](const char* column) { return text(k.value(QString::fromLatin1(column))); };
        if (has("t_id") && !warn(custext::kWarnDependant + at("t_nesbat")))
            return false;
        if (has("c_id") && !warn(custext::kWarnApplicant + at("c_ostan")))
            return false;
        if (has("s_id") && !warn(custext::kWarnPartner + at("s_ostan")))
            return false;
        if (has("p_id") && !warn(custext::kWarnSamePerson + at("p_ostan") + at("p_shahrestan")))
            return false;
        return true;
    }();
    if (!passed) {
        // A question answered No ends the save without a further message.
        if (r.refused())
            transferCheck(r, values);
        return r;
    }
    transferCheck(r, values);
    if (r.refused())
        return r;
    if (withContract && lookUp().value(QStringLiteral("contract")).toInt() != 0 && !warn(custext::kWarnContract))
        return r;
    if (!unitDuplicateChecks(r, lookUp()))
        return r;
    const Converted c = convert(values, false);
    if (!c.ok())
        return r.refuse(c.message, c.failedField);
    if (!shareChecks(r, c, 0))
        return r;

    Transaction tx(dm());
    // The unit is marked sold while it is still free, which also locks its row
    // before its price and loan are read: a loan given to the unit meanwhile is
    // then either already in its loan total or waits for this sale, and writes
    // the new holder's loan too.  Whatever is refused below rolls it back.
    const int sold = dm().execAffected(QStringLiteral("update vahedha set status=? where id=? and prj_id=? and status=?"),
                                       {items::soldStatus(v(values, "lname")), unitId, prjId, items::freeStatus()});
    // What another user may have done since the checks: the unit sold or gone,
    // a duplicate saved.  The unit with its holder and the duplicates, read together.
    // (Each part is added in its own statement: the values are bound in the order the columns are added.)
    // The unit's particulars are those of its row now, not those the window
    // showed when the unit was chosen (another user may have edited the unit
    // since): the duplicates are checked, and the row written, with them.
    QVariantList bound;
    QString sql = QStringLiteral("select vahedha.*,") + holderColumns(unitId, bound);
    sql += QLatin1Char(',') + unitDuplicateColumns(values, bound, QStringLiteral("vahedha"));
    sql += QStringLiteral(" from vahedha where id=? and prj_id=?");
    bound << unitId << prjId;
    const auto unit = dm().firstRow(sql, bound);
    if (!unit)
        return r.refuse(custext::kNoUnit, QStringLiteral("shenase"));
    if (const auto holder = heldBy(*unit))
        return r.refuse(custext::kUnitSoldTo + *holder, QStringLiteral("shenase"));
    if (!unitDuplicateChecks(r, *unit))
        return r;
    if (sold != 1)
        return r.refuse(custext::kUnitNotActive, QStringLiteral("shenase"));
    QVariantMap row = c.values;
    const QVariantMap particulars = unitParticulars(*unit);
    for (auto it = particulars.cbegin(); it != particulars.cend(); ++it)
        row.insert(it.key(), it.value());
    const qint64 takhfif = c.values.value(QStringLiteral("takhfif")).toLongLong();
    const qint64 price = discountedPrice(toMoney(unit->value(QStringLiteral("mablagh"))), takhfif);
    row.insert(QStringLiteral("mablagh"), price);
    row.insert(QStringLiteral("reg_user"), nn(session().karbar));
    row.insert(QStringLiteral("sabt_cod"), nn(session().sabtCod));
    row.insert(QStringLiteral("anbari_mablagh"), qint64(0));
    row.insert(QStringLiteral("parking_mablagh"), qint64(0));
    QStringList columns;
    QVariantList rowValues;
    for (auto it = row.cbegin(); it != row.cend(); ++it) {
        columns << it.key();
        rowValues << it.value();
    }
    r.id = dm().insert(QStringLiteral("customers"), columns, rowValues);
    historySale(r.id, row, unitId, prjId, items::freeStatus(), items::soldStatus(v(values, "lname")));
    writeLog(logComment(logtext::kNewCustomer, values));
    if (prereg > 0)
        movePrereg(prereg, r.id).noteTo(r);
    tx.commit();
    values[QStringLiteral("mablagh")] = QString::number(price);
    r.done = true;
    r.notes.append({MsgKind::Information, custext::kSaved});
    return r;
}

Outcome updateCustomer(qint64 id, CustomerValues& values, qint64 prereg, const std::optional<QSqlRecord>& read)
{
    Outcome r;
    r.id = id;
    if (values.value(QStringLiteral("takhfif")).trimmed().isEmpty())
        values[QStringLiteral("takhfif")] = QStringLiteral("0");
    storedDates(values);
    Transaction tx(dm());
    // The row as stored, locked against another user's edit until the commit;
    // the unit he holds and the unit he is given first (the new unit's loan is
    // then read under its lock).
    if (!lockUnitsThenCustomer(id, idOf(v(values, "vahed_id"))))
        return r.refuse(custext::kCustomerGone);
    const QSqlRecord stored = *customerRow(id);
    const auto storedText = [&stored](const char* c) { return text(stored.value(QString::fromLatin1(c))); };
    // Another user's change since the window read the record is not overwritten.
    if (read && !changedColumns(*read, stored, comparedColumns()).isEmpty())
        return r.refuseChanged(changedByOtherMessage(custext::kRecordName));

    const qint64 unitId = idOf(v(values, "vahed_id"));
    const qint64 prjId = idOf(v(values, "prj_id"));
    const qint64 oldUnit = stored.value(QStringLiteral("vahed_id")).toLongLong();
    const bool unitChanges = unitId != oldUnit;
    // He holds a unit while his transfer date is empty.  Holding the unit after
    // the edit where he did not hold it before (another unit, or his own taken
    // back after a transfer) is a sale of that unit.
    const bool heldBefore = isEmptyDate(storedText("transport_dat"));
    const bool holdsAfter = isEmptyDate(v(values, "transport_dat"));
    const bool sale = holdsAfter && (unitChanges || !heldBefore);
    std::optional<QSqlRecord> unit;

    const bool passed = [&] {
        if (session().level == QLatin1String("city") && storedText("status") == custext::kCompleted) {
            r.refuse(custext::kCompletedNoEdit);
            return false;
        }
        if (!emptinessChecks(r, values))
            return false;
        if (unitChanges || sale) {
            // The unit's particulars as stored now (under its lock), not as the
            // window showed them when the unit was chosen.
            unit = dm().firstRow(QStringLiteral("select * from vahedha where id=? and prj_id=?"), {unitId, prjId});
            if (!unit) {
                r.refuse(custext::kNoUnit, QStringLiteral("shenase"));
                return false;
            }
            const CustomerValues u = unitValues(*unit);
            for (const QString& c : unitColumns())
                if (c != QLatin1String("mablagh") && c != QLatin1String("vahed_id"))
                    values[c] = u.value(c);
        }
        const QString protDat = isEmptyDate(v(values, "prot_dat")) ? mask() : v(values, "prot_dat");
        if (v(values, "prot_no") != storedText("prot_no") || protDat != storedText("prot_dat")) {
            if (any(QStringLiteral("select id from customers where id<>-1 and prot_no=? and prot_dat=? and shahrestan=? and ostan=? "
                                   "and id<>?"),
                    {nn(v(values, "prot_no")), protDat, nn(v(values, "shahrestan")), nn(v(values, "ostan")), id})) {
                r.refuse(custext::kDupContract, QStringLiteral("prot_no"));
                return false;
            }
        }
        if (v(values, "bolok") != storedText("bolok") || v(values, "tabaghe") != storedText("tabaghe")) {
            if (any(QStringLiteral("select id from customers where bolok=? and tabaghe=? and vahed_no=? and prj_name=? and shahrestan=? "
                                   "and ostan=? and prj_cod=? and id<>?"),
                    {nn(v(values, "bolok")), nn(v(values, "tabaghe")), nn(v(values, "vahed_no")), nn(v(values, "prj_name")),
                     nn(v(values, "shahrestan")), nn(v(values, "ostan")), nn(v(values, "prj_cod")), id})) {
                r.refuse(custext::kDupBlock, QStringLiteral("shenase"));
                return false;
            }
        }
        if (v(values, "shenase") != storedText("shenase")) {
            if (any(QStringLiteral("select id from customers where shenase=? and tabaghe=? and vahed_no=? and prj_name=? "
                                   "and shahrestan=? and ostan=? and id<>?"),
                    {nn(v(values, "shenase")), nn(v(values, "tabaghe")), nn(v(values, "vahed_no")), nn(v(values, "prj_name")),
                     nn(v(values, "shahrestan")), nn(v(values, "ostan")), id})) {
                r.refuse(custext::kDupShenase, QStringLiteral("shenase"));
                return false;
            }
        }
        return true;
    }();
    transferCheck(r, values);
    if (!passed || r.refused())
        return r;
    const Converted c = convert(values, true);
    if (!c.ok())
        return r.refuse(c.message, c.failedField);
    if (!shareChecks(r, c, id))
        return r;

    QVariantMap row = c.values;
    const qint64 takhfif = c.values.value(QStringLiteral("takhfif")).toLongLong();
    qint64 price = 0;
    if (unit) {
        // Another unit, or his own taken back: what the sale copies comes from
        // the unit's row.
        if (sale) {
            if (const auto holder = holderOf(unitId, id))
                return r.refuse(custext::kUnitSoldTo + *holder, QStringLiteral("shenase"));
            // A unit taken back that nobody was sold meanwhile may still carry
            // his own sold status (it was never set free).
            QStringList accepted {items::freeStatus()};
            if (!unitChanges)
                accepted << items::soldStatus(storedText("lname"));
            // The unit's status as it stands before the sale's update, in the
            // project's history (rolled back with a refused sale).
            history::changedWhere(QStringLiteral("vahedha"), QStringLiteral("status"), items::soldStatus(v(values, "lname")),
                                  QStringLiteral("id=? and prj_id=?"), {unitId, prjId}, history::Owner::ofProject(prjId));
            if (!sellUnit(r, unitId, prjId, v(values, "lname"), id, accepted))
                return r;
        }
        const QVariantMap particulars = unitParticulars(*unit);
        for (auto it = particulars.cbegin(); it != particulars.cend(); ++it)
            row.insert(it.key(), it.value());
        price = discountedPrice(toMoney(unit->value(QStringLiteral("mablagh"))), takhfif);
        // The unit he held is free again unless another current holder has it.
        if (unitChanges && heldBefore && oldUnit > 0) {
            const QString noOtherHolder = QStringLiteral("id=? and not exists (select 1 from customers where vahed_id=? and id<>? and ") +
                                          currentHolder() + QStringLiteral(")");
            history::changedWhere(QStringLiteral("vahedha"), QStringLiteral("status"), items::freeStatus(), noOtherHolder,
                                  {oldUnit, oldUnit, id}, history::Owner::eachProject(), QStringLiteral("prj_id"));
            dm().exec(QStringLiteral("update vahedha set status=? where ") + noOtherHolder, {items::freeStatus(), oldUnit, oldUnit, id});
        }
    } else {
        // He keeps his unit: its particulars stay as stored (the window only
        // shows them), and the price is the stored one with its discount given
        // back, less the new discount.
        for (const QString& col : unitColumns())
            if (col != QLatin1String("vahed_id"))
                row.remove(col);
        price = discountedPrice(toMoney(stored.value(QStringLiteral("mablagh"))) +
                                    toMoney(stored.value(QStringLiteral("takhfif"))),
                                takhfif);
    }
    row.insert(QStringLiteral("mablagh"), price);
    QString sql = QStringLiteral("update customers set ");
    QVariantList bound;
    bool first = true;
    for (auto it = row.cbegin(); it != row.cend(); ++it) {
        sql += (first ? QString() : QStringLiteral(",")) + it.key() + QStringLiteral("=?");
        bound << it.value();
        first = false;
    }
    sql += QStringLiteral(" where id=?");
    bound << id;
    dm().exec(sql, bound);
    history::edited(QStringLiteral("customers"), id, history::Owner::applicant(id), stored, row);
    writeLog(logComment(logtext::kEditCustomer, values));
    if (prereg > 0)
        movePrereg(prereg, id).noteTo(r);
    tx.commit();
    values[QStringLiteral("mablagh")] = QString::number(price);
    r.done = true;
    return r;
}

Outcome deleteCustomer(qint64 id)
{
    Outcome r;
    r.id = id;
    Transaction tx(dm());
    // His unit's row, then his own, are locked before his child rows are read:
    // a payment, storage room or parking space another user is adding for him
    // is then committed first and deleted with him, instead of being left
    // behind without its applicant.
    if (!lockUnitsThenCustomer(id, 0))
        return r.refuse(custext::kCustomerGone);
    const auto row = customerRow(id);
    if (!row)
        return r.refuse(custext::kCustomerGone);
    writeLog(QString::fromUtf8(logtext::kDeleteCustomer) + text(row->value(QStringLiteral("fname"))) + QLatin1Char(' ') +
             text(row->value(QStringLiteral("lname"))));
    historyDelete(id, *row);
    Database& db = dm();
    db.exec(QStringLiteral("delete from savabegh where cust_id=?"), {id});
    db.exec(QStringLiteral("delete from customers_pic where customer_id=?"), {id});
    db.exec(QStringLiteral("delete from takafol where customer_id=? or shoraka_id in (select id from shoraka where customer_id=?)"),
            {id, id});
    db.exec(QStringLiteral("delete from pardakht where customer_id=?"), {id});
    // The storage rooms and parking spaces he held are free again, unless a
    // row of another applicant holds them: his rows name their space by its
    // id, or (rows written before they carried it: none or 0) by project,
    // block, number and position, as the unassign action finds them.
    for (const auto& [spaces, rows, spaceId] : {std::array<const char*, 3> {"anbariha", "anbari", "anbari_id"},
                                               std::array<const char*, 3> {"parkingha", "parking", "parking_id"}}) {
        // A row holds a space by its id, or, written before rows carried the
        // id, by the space's project, block, number and position.
        const QString byId = QStringLiteral("r.%1=%2.id").arg(QString::fromLatin1(spaceId), QString::fromLatin1(spaces));
        const QString byPlace = QStringLiteral("(r.%1 is null or r.%1=0) and r.prj_id=%2.prj_id and r.bolok=%2.bolok and "
                                               "r.num=%2.num and r.pos=%2.pos")
                                    .arg(QString::fromLatin1(spaceId), QString::fromLatin1(spaces));
        const QString from = QStringLiteral("select 1 from %1 r where ").arg(QString::fromLatin1(rows));
        // (Rows without the id are looked for among the spaces of their own
        // projects: the project index keeps the update to a few rows.)
        const QString held = QStringLiteral("(id in (select r.%6 from %2 r where r.customer_id=?) or "
                                            "(prj_id in (select r.prj_id from %2 r where r.customer_id=? and (r.%6 is null or r.%6=0)) "
                                            "and exists (%3r.customer_id=? and %5))) and "
                                            "not exists (%3r.customer_id<>? and %4) and not exists (%3r.customer_id<>? and %5)")
                                 .arg(QString::fromLatin1(rows), from, byId, byPlace, QString::fromLatin1(spaceId));
        // Each space given back, in its project's history.
        history::changedWhere(QString::fromLatin1(spaces), QStringLiteral("status"), items::freeStatus(), held,
                              {id, id, id, id, id}, history::Owner::eachProject(), QStringLiteral("prj_id"));
        db.exec(QStringLiteral("update %1 set status=? where ").arg(QString::fromLatin1(spaces)) + held,
                {items::freeStatus(), id, id, id, id, id});
    }
    db.exec(QStringLiteral("delete from anbari where customer_id=?"), {id});
    db.exec(QStringLiteral("delete from parking where customer_id=?"), {id});
    db.exec(QStringLiteral("delete from shoraka where customer_id=?"), {id});
    db.exec(QStringLiteral("delete from customers where id=?"), {id});
    // The unit he still held is free again unless another applicant holds it
    // now; a unit he no longer held (his transfer date is set) keeps its status.
    const QVariant unit = row->value(QStringLiteral("vahed_id"));
    if (!unit.isNull() && isEmptyDate(text(row->value(QStringLiteral("transport_dat"))))) {
        const QString noHolder = QStringLiteral("id=? and not exists (select 1 from customers where vahed_id=? and ") +
                                 currentHolder() + QStringLiteral(")");
        history::changedWhere(QStringLiteral("vahedha"), QStringLiteral("status"), items::freeStatus(), noHolder, {unit, unit},
                              history::Owner::eachProject(), QStringLiteral("prj_id"));
        db.exec(QStringLiteral("update vahedha set status=? where ") + noHolder, {items::freeStatus(), unit, unit});
    }
    tx.commit();
    r.done = true;
    r.notes.append({MsgKind::Information, custext::kDeleted});
    return r;
}

// ---------------------------------------------------------------- pre-registration

QList<QSqlRecord> preregByNation(const QString& nation)
{
    ListQuery q(QStringLiteral("select *"), QStringLiteral("from pishsabt"));
    q.countyScope(QStringLiteral("shahrestan"), CountyScope::ProvincialAndCounty);
    q.equals(QStringLiteral("nation"), toAsciiDigits(nation));
    q.orderBy(QStringLiteral("id"));
    QList<QSqlRecord> out;
    QSqlQuery query = dm().exec(q.listSql(), q.values());
    while (query.next())
        out << query.record();
    return out;
}

QList<QSqlRecord> preregByName(const QString& fname, const QString& lname)
{
    ListQuery q(QStringLiteral("select *"), QStringLiteral("from pishsabt"));
    q.countyScope(QStringLiteral("shahrestan"), CountyScope::ProvincialAndCounty);
    q.like(QStringLiteral("fname"), fname).like(QStringLiteral("lname"), lname);
    q.orderBy(QStringLiteral("id"));
    // A short name may match many people; the choice shows the first hundred.
    const Dialect& d = dm().dialect();
    QVariantList values = q.values();
    if (d.pageBindsOffsetFirst())
        values << 0 << 100;
    else
        values << 100 << 0;
    QList<QSqlRecord> out;
    QSqlQuery query = dm().exec(q.listSql() + d.pageClause(), values);
    while (query.next())
        out << query.record();
    return out;
}

CustomerValues preregValues(const QSqlRecord& p)
{
    static const char* columns[] = {"fname",   "lname",  "father", "nation", "sh_no",  "birthday", "sodor",
                                    "tavalod_loc", "mobile", "phone", "taahol", "gender", "sabeghe", "adr",
                                    "job",     "job_adr", "moaref", "reg_dat", "reg_no", "cmt",     "sana"};
    CustomerValues out;
    for (const char* c : columns) {
        const QString col = QString::fromLatin1(c);
        QString t = text(p.value(col));
        if (isDateColumn(QStringLiteral("customers"), col) && t.isEmpty())
            t = mask();
        out.insert(col, t);
    }
    return out;
}

PreregMove movePrereg(qint64 pishsabtId, qint64 customerId)
{
    PreregMove out;
    Database& db = dm();
    // Deleting the row first holds it: a second conversion of the same person
    // waits here and then finds nothing left to move.
    if (db.execAffected(QStringLiteral("delete from pishsabt where id=?"), {pishsabtId}) == 0)
        return out;
    QList<QSqlRecord> deposits;
    {
        QSqlQuery q = db.exec(QStringLiteral("select * from pishpardakht where pishsabt_id=? order by id"), {pishsabtId});
        while (q.next())
            deposits << q.record();
    }
    const int bankLength = columnLength(QStringLiteral("pardakht"), QStringLiteral("bank"));
    for (const QSqlRecord& d : deposits) {
        // A deposit already among his payments (the payments window's import
        // copied it before) is not copied again.
        const QString bank = cutToLength(text(d.value(QStringLiteral("cmt"))) + custext::kPreregBankSuffix, bankLength);
        if (payments::copyDeposit(customerId, d, bank))
            ++out.copied;
        else
            ++out.skipped;
    }
    db.exec(QStringLiteral("delete from pishpardakht where pishsabt_id=?"), {pishsabtId});
    payments::recomputeCollected(customerId);
    return out;
}

void PreregMove::noteTo(Outcome& r) const
{
    if (copied + skipped > 0)
        r.notes.append({MsgKind::Information, childtext::importedMessage(copied, skipped)});
}

} // namespace tavrin::applicants
