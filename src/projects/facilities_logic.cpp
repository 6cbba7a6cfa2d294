#include "facilities_logic.h"

#include "facility_texts.h"

#include "common/history.h"
#include "common/jalali.h"
#include "common/monedit.h"
#include "common/nationcode.h"
#include "common/stale.h"
#include "common/windows.h"
#include "db/database.h"
#include "db/locks.h"
#include "db/schema.h"

#include <cmath>

namespace tavrin::facilities {

namespace {

// The largest amount a money column holds in whole rials (19 digits, 4 of them decimals).
constexpr qint64 kMaxAmount = 999'999'999'999'999LL;

QString nn(const QString& s)
{
    return s.isNull() ? QStringLiteral("") : s;
}

// An amount as typed: "," removed, Persian digits read; nothing when it is not
// a whole, non-negative amount a money column can hold.
std::optional<qint64> amountOf(const QString& text)
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    const auto v = tryParseAmount(text);
    if (!v || *v < 0 || *v > kMaxAmount)
        return std::nullopt;
    return v;
}

QString digitsOf(const QVariant& money)
{
    return QString::number(toMoney(money));
}

// The converted values of a facility form.
struct Values {
    qint64 mablagh = 0, daryafti = 0;
    double darsad = 0;
    int vahedCnt = 0;
    QString takhsis_dat, dat1, dat2, tamdid_dat;   // whole dates or the empty date mask
};

// Required fields, conversions, the total against the received amount and the
// column lengths, in this order; the first failure is the refusal.
std::optional<Values> checkForm(const FacilityForm& f, Outcome& r)
{
    if (f.bank.trimmed().isEmpty()) {
        r.refuse(factext::kBankRequired, QStringLiteral("bank"));
        return std::nullopt;
    }
    if (f.prot_typ.trimmed().isEmpty()) {
        r.refuse(factext::kProtTypRequired, QStringLiteral("prot_typ"));
        return std::nullopt;
    }
    if (f.etebar_loc.trimmed().isEmpty()) {
        r.refuse(factext::kEtebarLocRequired, QStringLiteral("etebar_loc"));
        return std::nullopt;
    }
    Values v;
    const auto mablagh = amountOf(f.mablagh);
    if (!mablagh) {
        r.refuse(factext::kMablaghNotNumber, QStringLiteral("mablagh"));
        return std::nullopt;
    }
    // An empty received amount is 0: the facility is granted but nothing has come in yet.
    const auto daryafti = f.daryafti.trimmed().isEmpty() ? std::optional<qint64>(0) : amountOf(f.daryafti);
    if (!daryafti) {
        r.refuse(factext::kDaryaftiNotNumber, QStringLiteral("daryafti"));
        return std::nullopt;
    }
    const auto darsad = tryParseReal(f.darsad);
    if (!darsad || !std::isfinite(*darsad)) {
        r.refuse(factext::kDarsadNotNumber, QStringLiteral("darsad"));
        return std::nullopt;
    }
    bool ok = true;
    const QString cnt = toAsciiDigits(f.vahed_cnt.trimmed());
    const int vahedCnt = cnt.isEmpty() ? 0 : cnt.toInt(&ok);
    if (!ok || vahedCnt < 0) {
        r.refuse(factext::kVahedCntNotNumber, QStringLiteral("vahed_cnt"));
        return std::nullopt;
    }
    if (*daryafti > *mablagh) {
        r.refuse(factext::kReceivedAboveTotal, QStringLiteral("daryafti"));
        return std::nullopt;
    }
    // Dates: a whole valid date or none, in the order of the form.
    const struct {
        const char* column;
        const QString& typed;
        const QString& caption;
        QString& stored;
    } dates[] = {{"takhsis_dat", f.takhsis_dat, factext::kTakhsisDatCaption, v.takhsis_dat},
                 {"dat1", f.dat1, factext::kDat1Caption, v.dat1},
                 {"dat2", f.dat2, factext::kDat2Caption, v.dat2},
                 {"tamdid_dat", f.tamdid_dat, factext::kTamdidDatCaption, v.tamdid_dat}};
    for (const auto& d : dates) {
        const auto date = jalali::fieldDate(d.typed);
        if (!date) {
            r.refuse(jalali::invalidDateMessage(d.caption), QString::fromLatin1(d.column));
            return std::nullopt;
        }
        d.stored = *date;
    }
    const struct {
        const char* column;
        const QString* value;
        const QString& caption;
    } texts[] = {{"bank", &f.bank, factext::kBankCaption},
                 {"prot_typ", &f.prot_typ, factext::kProtTypCaption},
                 {"etebar_loc", &f.etebar_loc, factext::kEtebarLocCaption},
                 {"cmt", &f.cmt, factext::kCmtCaption}};
    for (const auto& t : texts) {
        const int max = columnLength(QStringLiteral("tashilat"), QString::fromLatin1(t.column));
        if (max > 0 && t.value->size() > max) {
            r.refuse(factext::tooLong(t.caption.trimmed(), max), QString::fromLatin1(t.column));
            return std::nullopt;
        }
    }
    v.mablagh = *mablagh;
    v.daryafti = *daryafti;
    v.darsad = *darsad;
    v.vahedCnt = vahedCnt;
    return v;
}

// The twelve columns a save writes, in the order of the form.
const QStringList& formColumns()
{
    static const QStringList c {
        QStringLiteral("bank"),     QStringLiteral("mablagh"),    QStringLiteral("daryafti"),  QStringLiteral("takhsis_dat"),
        QStringLiteral("etebar_loc"), QStringLiteral("darsad"),   QStringLiteral("dat1"),      QStringLiteral("dat2"),
        QStringLiteral("tamdid_dat"), QStringLiteral("prot_typ"), QStringLiteral("vahed_cnt"), QStringLiteral("cmt")};
    return c;
}

QVariantList formValues(const FacilityForm& f, const Values& v)
{
    return {nn(f.bank),     v.mablagh,      v.daryafti,    v.takhsis_dat, nn(f.etebar_loc), v.darsad,
            v.dat1,         v.dat2,         v.tamdid_dat,  nn(f.prot_typ), v.vahedCnt,       nn(f.cmt)};
}

// Takes the facility row's write lock for the rest of the transaction (an
// update that changes nothing locks the row on the servers; SQLite's
// transaction already holds the database).  False when the facility is gone.
bool lockFacility(qint64 facilityId)
{
    return locks::lock(locks::Row::Facility, facilityId);
}

qint64 usedBy(qint64 facilityId)
{
    return toMoney(dm().scalar(QStringLiteral("select coalesce(sum(mablagh),0) as m from vahed_vam where tashilat_id=?"),
                               {facilityId}));
}

// The unit's vam and its current holder's vam become the sum of its loans.
void setUnitTotals(qint64 unitId)
{
    const QString sum = QStringLiteral("(select coalesce(sum(mablagh),0) from vahed_vam where vahed_id=?)");
    dm().exec(QStringLiteral("update vahedha set vam=") + sum + QStringLiteral(" where id=?"), {unitId, unitId});
    dm().exec(QStringLiteral("update customers set vam=") + sum + QStringLiteral(" where vahed_id=? and not (") +
                  jalali::dateIsSet(QStringLiteral("transport_dat")) + ')',
              {unitId, unitId});
}

} // namespace

// ---------------------------------------------------------------- facilities

FacilityForm formOf(const QSqlRecord& row)
{
    const auto t = [&row](const char* name) { return text(row.value(QString::fromLatin1(name))); };
    FacilityForm f;
    f.prot_typ = t("prot_typ");
    f.bank = t("bank");
    f.etebar_loc = t("etebar_loc");
    f.mablagh = digitsOf(row.value(QStringLiteral("mablagh")));
    f.daryafti = digitsOf(row.value(QStringLiteral("daryafti")));
    f.takhsis_dat = t("takhsis_dat");
    f.dat1 = t("dat1");
    f.dat2 = t("dat2");
    f.tamdid_dat = t("tamdid_dat");
    f.darsad = items::numberValue(row, "darsad");
    f.vahed_cnt = items::numberValue(row, "vahed_cnt");
    f.cmt = t("cmt");
    return f;
}

ListQuery facilityListQuery(qint64 prjId)
{
    ListQuery q(QStringLiteral("select *"), QStringLiteral("from tashilat"));
    q.equals(QStringLiteral("prj_id"), prjId);
    return q;
}

Outcome insertFacility(qint64 prjId, const FacilityForm& f)
{
    Outcome r;
    const auto v = checkForm(f, r);
    if (!v)
        return r;
    Transaction tx(dm());
    // The project's lock makes the duplicate check and the insert one step for
    // every user adding to this project.
    if (!items::lockProject(prjId))
        return r.refuse(factext::kProjectGone);
    if (dm().firstRow(QStringLiteral("select id from tashilat where prj_id=? and etebar_loc=? and prot_typ=? and dat1=?"),
                      {prjId, nn(f.etebar_loc), nn(f.prot_typ), v->dat1}))
        return r.refuse(factext::kDuplicate);
    QStringList columns {QStringLiteral("prj_id")};
    columns << formColumns();
    QVariantList values {prjId};
    values << formValues(f, *v);
    r.id = dm().insert(QStringLiteral("tashilat"), columns, values);
    history::inserted(QStringLiteral("tashilat"), r.id, history::Owner::ofProject(prjId), history::rowOf(columns, values));
    tx.commit();
    r.done = true;
    return r;
}

Outcome updateFacility(qint64 facilityId, const FacilityForm& f, const QSqlRecord& read)
{
    Outcome r;
    const auto v = checkForm(f, r);
    if (!v)
        return r;
    Transaction tx(dm());
    if (!lockFacility(facilityId))
        return r.refuse(factext::kFacilityGone);
    // The row as stored now and what its loans use, in one statement under the lock.
    const auto now = dm().firstRow(QStringLiteral("select t.*,(select coalesce(sum(mablagh),0) from vahed_vam "
                                                  "where tashilat_id=t.id) as used_sum from tashilat t where t.id=?"),
                                   {facilityId});
    if (!now)
        return r.refuse(factext::kFacilityGone);
    if (!changedColumns(read, *now, formColumns()).isEmpty())
        return r.refuseChanged(changedByOtherMessage(factext::kRecordName));
    const qint64 used = toMoney(now->value(QStringLiteral("used_sum")));
    if (v->daryafti < used)
        return r.refuse(factext::kReceivedBelowUsed + QString::number(used), QStringLiteral("daryafti"));
    QString sql = QStringLiteral("update tashilat set ");
    const QStringList& columns = formColumns();
    for (int i = 0; i < columns.size(); ++i)
        sql += (i ? QStringLiteral(",") : QString()) + columns[i] + QStringLiteral("=?");
    sql += QStringLiteral(" where id=?");
    QVariantList values = formValues(f, *v);
    history::edited(QStringLiteral("tashilat"), facilityId,
                    history::Owner::ofProject(now->value(QStringLiteral("prj_id")).toLongLong()), *now,
                    history::rowOf(columns, values));
    values << facilityId;
    dm().exec(sql, values);
    tx.commit();
    r.done = true;
    r.id = facilityId;
    return r;
}

bool hasLoans(qint64 facilityId)
{
    return dm().firstRow(QStringLiteral("select id from vahed_vam where tashilat_id=?"), {facilityId}).has_value();
}

Outcome deleteFacility(qint64 facilityId)
{
    Outcome r;
    Transaction tx(dm());
    if (!lockFacility(facilityId))
        return r.refuse(factext::kFacilityGone);
    if (hasLoans(facilityId))
        return r.refuse(factext::kDeleteRefused);
    history::deletedWhere(QStringLiteral("tashilat"), QStringLiteral("id=?"), {facilityId}, history::Owner::eachProject(),
                          QStringLiteral("prj_id"));
    dm().exec(QStringLiteral("delete from tashilat where id=?"), {facilityId});
    tx.commit();
    r.done = true;
    r.id = facilityId;
    return r;
}

std::optional<Usage> usage(qint64 facilityId)
{
    const auto row = dm().firstRow(QStringLiteral("select daryafti from tashilat where id=?"), {facilityId});
    if (!row)
        return std::nullopt;
    Usage u;
    u.received = toMoney(row->value(0));
    u.used = usedBy(facilityId);
    return u;
}

QString totalExitMessage(const QString& mablagh, const QString& daryafti)
{
    const auto total = tryParseAmount(mablagh), received = tryParseAmount(daryafti);
    return total && received && *received > *total ? factext::kTotalBelowReceived : QString();
}

QString receivedExitMessage(const QString& mablagh, const QString& daryafti)
{
    const auto total = tryParseAmount(mablagh), received = tryParseAmount(daryafti);
    return total && received && *received > *total ? factext::kReceivedAboveTotal : QString();
}

HeaderMap facilityExcelHeaders()
{
    return {{QStringLiteral("id"), factext::kExcelId},
            {QStringLiteral("mablagh"), factext::kExcelMablagh},
            {QStringLiteral("cmt"), factext::kCmtCaption}};
}

// ---------------------------------------------------------------- unit loans

qint64 proposedLoan(qint64 daryafti, qint64 vahedCnt)
{
    if (vahedCnt <= 0 || daryafti <= 0)
        return 0;
    return daryafti / vahedCnt;
}

QStringList loanBanks(qint64 prjId)
{
    return dm().textColumn(
        QStringLiteral("select distinct bank from tashilat where prj_id=? and daryafti>0 order by bank"), {prjId});
}

QStringList creditSources(qint64 prjId, const QString& bank)
{
    return dm().textColumn(QStringLiteral("select distinct etebar_loc from tashilat where prj_id=? and bank=? "
                                          "and daryafti>0 order by etebar_loc"),
                           {prjId, nn(bank)});
}

QList<FacilityChoice> facilityChoices(qint64 prjId, const QString& bank, const QString& source)
{
    QList<FacilityChoice> out;
    QList<QPair<QString, qint64>> details;  // contract type, received
    {
        QSqlQuery q = dm().exec(QStringLiteral("select id,dat1,prot_typ,daryafti,vahed_cnt from tashilat where prj_id=? "
                                               "and bank=? and etebar_loc=? and daryafti>0 order by dat1,id"),
                                {prjId, nn(bank), nn(source)});
        while (q.next()) {
            FacilityChoice c;
            c.id = q.value(0).toLongLong();
            c.dat1 = text(q.value(1));
            c.label = c.dat1;
            const qint64 received = toMoney(q.value(3));
            c.proposed = proposedLoan(received, q.value(4).toLongLong());
            out << c;
            details << qMakePair(text(q.value(2)), received);
        }
    }
    // Facilities that share a date are told apart by contract type and received amount.
    for (int i = 0; i < out.size(); ++i) {
        int same = 0;
        for (const FacilityChoice& c : out)
            same += c.dat1 == out[i].dat1;
        if (same > 1)
            out[i].label = out[i].dat1 + QStringLiteral(" - ") + details[i].first + QStringLiteral(" - ") +
                           formatAmount(details[i].second);
    }
    return out;
}

ListQuery loanListQuery(qint64 unitId)
{
    ListQuery q(QStringLiteral("select vahed_vam.*,vahedha.shenase,vahedha.bolok,tashilat.bank,tashilat.etebar_loc,"
                               "projects.prj_name"),
                QStringLiteral("from vahed_vam left join vahedha on vahed_vam.vahed_id=vahedha.id "
                               "left join tashilat on vahed_vam.tashilat_id=tashilat.id "
                               "left join projects on vahed_vam.prj_id=projects.id"),
                QStringLiteral("vahed_vam.id"));
    q.equals(QStringLiteral("vahed_vam.vahed_id"), unitId);
    return q;
}

qint64 unitLoanTotal(qint64 unitId)
{
    return toMoney(
        dm().scalar(QStringLiteral("select coalesce(sum(mablagh),0) as m from vahed_vam where vahed_id=?"), {unitId}));
}

Outcome addLoan(qint64 unitId, qint64 tashilatId, const QString& amountText)
{
    Outcome r;
    const auto amount = amountOf(amountText);
    if (!amount)
        return r.refuse(factext::kLoanNotNumber, QStringLiteral("vam"));
    Transaction tx(dm());
    // The unit first, then the facility: every loan action locks in this order.
    if (!locks::lock(locks::Row::Unit, unitId))
        return r.refuse(factext::kUnitGone);
    const qint64 prjId = dm().scalar(QStringLiteral("select prj_id from vahedha where id=?"), {unitId}).toLongLong();
    if (tashilatId != 0) {
        if (!lockFacility(tashilatId))
            return r.refuse(factext::kFacilityGone);
        const qint64 received = toMoney(dm().scalar(QStringLiteral("select daryafti from tashilat where id=?"), {tashilatId}));
        const qint64 used = usedBy(tashilatId);
        if (received <= used || used + *amount > received)
            return r.refuse(factext::kFacilityExhausted, QStringLiteral("vam"));
    }
    if (dm().firstRow(QStringLiteral("select id from vahed_vam where prj_id=? and tashilat_id=? and vahed_id=?"),
                      {prjId, tashilatId, unitId}))
        return r.refuse(factext::kAlreadyGiven);
    r.id = dm().insert(QStringLiteral("vahed_vam"),
                       {QStringLiteral("prj_id"), QStringLiteral("tashilat_id"), QStringLiteral("vahed_id"),
                        QStringLiteral("mablagh")},
                       {prjId, tashilatId, unitId, *amount});
    history::inserted(QStringLiteral("vahed_vam"), r.id, history::Owner::ofProject(prjId),
                      {{QStringLiteral("tashilat_id"), tashilatId}, {QStringLiteral("vahed_id"), unitId},
                       {QStringLiteral("mablagh"), *amount}});
    setUnitTotals(unitId);
    tx.commit();
    r.done = true;
    return r;
}

Outcome deleteLoan(qint64 loanId)
{
    Outcome r;
    Transaction tx(dm());
    const auto loan = dm().firstRow(QStringLiteral("select vahed_id from vahed_vam where id=?"), {loanId});
    if (!loan)
        return r.refuse(factext::kLoanGone);
    const qint64 unitId = loan->value(0).toLongLong();
    // The unit's lock keeps its total in step with a loan added meanwhile.
    locks::lock(locks::Row::Unit, unitId);
    history::deletedWhere(QStringLiteral("vahed_vam"), QStringLiteral("id=?"), {loanId}, history::Owner::eachProject(),
                          QStringLiteral("prj_id"));
    if (dm().execAffected(QStringLiteral("delete from vahed_vam where id=?"), {loanId}) != 1)
        return r.refuse(factext::kLoanGone);
    setUnitTotals(unitId);
    tx.commit();
    r.done = true;
    r.id = loanId;
    return r;
}

} // namespace tavrin::facilities
