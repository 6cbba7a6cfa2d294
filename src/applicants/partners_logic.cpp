#include "applicants/partners_logic.h"

#include "applicants/applicant_texts.h"
#include "applicants/child_texts.h"

#include "common/fieldcheck.h"
#include "common/history.h"
#include "common/jalali.h"
#include "common/monedit.h"
#include "common/nationcode.h"
#include "db/database.h"
#include "db/locks.h"
#include "db/schema.h"

namespace tavrin::partners {

using namespace childtext;

namespace {

constexpr double kWholeShare = 6.0;
constexpr double kShareSlack = 1e-9;

QString nn(const QString& t)
{
    return t.isNull() ? QStringLiteral("") : t;
}

QString captionIn(const Pair* begin, const Pair* end, const QString& column)
{
    for (const Pair* p = begin; p != end; ++p)
        if (column == QLatin1String(p->first))
            return QString::fromUtf8(p->second);
    return column;
}

QStringList columnsOf(const Pair* begin, const Pair* end)
{
    QStringList out;
    for (const Pair* p = begin; p != end; ++p)
        out << QString::fromLatin1(p->first);
    return out;
}

// The value a column is written with: digits of a national code in ASCII,
// never NULL (dates are converted by checkValues first).
QString stored(const PersonValues& v, const QString& column)
{
    QString t = nn(v.value(column));
    if (column == QLatin1String("nation"))
        t = toAsciiDigits(t.trimmed());
    return t;
}

// Converts the dates (the schema's date columns) to what is stored, a whole
// valid date or the empty date mask, and checks every text against its
// column; the first refusal.
std::optional<FieldRefusal> checkValues(const QString& table, const QStringList& columns, PersonValues& v,
                                        QString (*captionOf)(const QString&))
{
    for (const QString& c : columns) {
        if (!isDateColumn(table, c))
            continue;
        const auto date = jalali::fieldDate(v.value(c));
        if (!date)
            return FieldRefusal {jalali::invalidDateMessage(captionOf(c)), c};
        v[c] = *date;
    }
    QList<ColumnText> texts;
    for (const QString& c : columns)
        if (c != QLatin1String("sahm"))
            texts.append({c, stored(v, c), captionOf(c)});
    return checkTextLengths(table, texts);
}

// The applicant a person was found with, as the questions name him.
QString unitOf(const QVariant& customerId)
{
    const auto c = dm().firstRow(QStringLiteral("select prot_no,shenase,prj_name from customers where id=?"), {customerId});
    if (!c)
        return QStringLiteral("  ");
    return text(c->value(0)) + QLatin1Char(' ') + text(c->value(1)) + QLatin1Char(' ') + text(c->value(2));
}

qint64 insertRow(const QString& table, const QStringList& columns, const QVariantList& values)
{
    return dm().insert(table, columns, values);
}

} // namespace

const QStringList& partnerColumns()
{
    static const QStringList c = columnsOf(std::begin(kPartnerFields), std::end(kPartnerFields));
    return c;
}

const QStringList& dependantColumns()
{
    static const QStringList c = columnsOf(std::begin(kDependantFields), std::end(kDependantFields));
    return c;
}

QString partnerCaption(const QString& column)
{
    return captionIn(std::begin(kPartnerFields), std::end(kPartnerFields), column);
}

QString dependantCaption(const QString& column)
{
    return captionIn(std::begin(kDependantFields), std::end(kDependantFields), column);
}

PersonValues valuesOf(const QSqlRecord& row, const QStringList& columns)
{
    PersonValues out;
    for (const QString& c : columns)
        out.insert(c, c == QLatin1String("sahm") ? items::numberValue(row, "sahm") : text(row.value(c)));
    return out;
}

// ---------------------------------------------------------------- partners

QString partnersRefusal(const QSqlRecord& customer)
{
    return customer.value(QStringLiteral("sahm")).toDouble() >= kWholeShare ? kShareSixNoPartner : QString();
}

QString shareMessage(const QString& sahm)
{
    const auto s = tryParseReal(sahm.trimmed());
    return s && *s > kWholeShare + kShareSlack ? kShareMaxSix : QString();
}

ListQuery partnersQuery(qint64 customerId)
{
    ListQuery q(QStringLiteral("select *"), QStringLiteral("from shoraka"));
    q.equals(QStringLiteral("customer_id"), customerId);
    return q;
}

Outcome addPartner(qint64 customerId, const PersonValues& typed, const applicants::Ask& ask)
{
    Outcome r;
    PersonValues v = typed;
    const auto sahm = tryParseReal(v.value(QStringLiteral("sahm")).trimmed());
    if (!sahm)
        return r.refuse(kNoShare, QStringLiteral("sahm"));
    if (*sahm > kWholeShare + kShareSlack)
        return r.refuse(kShareMaxSix, QStringLiteral("sahm"));
    if (v.value(QStringLiteral("lname")).trimmed().isEmpty())
        return r.refuse(kNoPartnerName, QStringLiteral("lname"));
    if (const auto bad = checkValues(QStringLiteral("shoraka"), partnerColumns(), v, &partnerCaption))
        return r.refuse(bad->message, bad->field);

    const auto shareTaken = [customerId](const QSqlRecord& customer) {
        return customer.value(QStringLiteral("sahm")).toDouble() +
               dm().scalar(QStringLiteral("select coalesce(sum(sahm),0) from shoraka where customer_id=?"), {customerId})
                   .toDouble();
    };
    // The share first, so that nobody is asked about a partner who cannot be added.
    const auto customer = applicants::customerRow(customerId);
    if (!customer)
        return r.refuse(kCustomerGone);
    if (*sahm + shareTaken(*customer) > kWholeShare + kShareSlack)
        return r.refuse(kShareOverSix, QStringLiteral("sahm"));

    // The questions are asked before the transaction: nobody waits on a user's answer.
    const QString fname = stored(v, QStringLiteral("fname")), lname = stored(v, QStringLiteral("lname")),
                  nation = stored(v, QStringLiteral("nation"));
    if (const auto p = dm().firstRow(QStringLiteral("select customer_id from shoraka where fname=? and lname=? and nation=? "
                                                    "order by id"),
                                     {fname, lname, nation})) {
        if (!ask(kPartnerElsewhere + unitOf(p->value(0))))
            return r;
    }
    if (const auto c = dm().firstRow(QStringLiteral("select id from customers where fname=? and lname=? and nation=? "
                                                    "order by id"),
                                     {fname, lname, nation})) {
        if (!ask(kApplicantElsewhere + unitOf(c->value(0))))
            return r;
    }

    Transaction tx(dm());
    const auto locked = locks::lockAndRead(locks::Row::Customer, customerId);
    if (!locked)
        return r.refuse(kCustomerGone);
    // Checked again under the lock: another user may have added a partner meanwhile.
    if (*sahm + shareTaken(*locked) > kWholeShare + kShareSlack)
        return r.refuse(kShareOverSix, QStringLiteral("sahm"));
    QStringList columns {QStringLiteral("customer_id")};
    QVariantList values {customerId};
    for (const QString& c : partnerColumns()) {
        columns << c;
        values << (c == QLatin1String("sahm") ? QVariant(*sahm) : QVariant(stored(v, c)));
    }
    r.id = insertRow(QStringLiteral("shoraka"), columns, values);
    history::inserted(QStringLiteral("shoraka"), r.id, history::Owner::applicant(customerId), history::rowOf(columns, values));
    tx.commit();
    r.done = true;
    return r;
}

Outcome deletePartner(qint64 customerId, qint64 partnerId)
{
    Outcome r;
    r.id = partnerId;
    Transaction tx(dm());
    // The applicant's row first, as every change of his child rows takes it: a
    // dependant another user is adding to this partner is then committed before
    // (and deleted with him), or waits and finds the partner gone.
    if (!locks::lock(locks::Row::Customer, customerId))
        return r.refuse(kCustomerGone);
    const auto owner = history::Owner::applicant(customerId);
    history::deletedWhere(QStringLiteral("takafol"), QStringLiteral("customer_id=? and shoraka_id=?"), {customerId, partnerId},
                          owner);
    history::deletedWhere(QStringLiteral("shoraka"), QStringLiteral("id=? and customer_id=?"), {partnerId, customerId}, owner);
    dm().exec(QStringLiteral("delete from takafol where customer_id=? and shoraka_id=?"), {customerId, partnerId});
    const int n = dm().execAffected(QStringLiteral("delete from shoraka where id=? and customer_id=?"), {partnerId, customerId});
    tx.commit();
    if (n == 0)
        return r.refuse(kRowGone);
    r.done = true;
    return r;
}

// ---------------------------------------------------------------- dependants

ListQuery dependantsQuery(qint64 customerId, qint64 partnerId)
{
    ListQuery q(QStringLiteral("select *"), QStringLiteral("from takafol"));
    q.equals(QStringLiteral("customer_id"), customerId).equals(QStringLiteral("shoraka_id"), partnerId);
    return q;
}

PersonValues childValues(qint64 customerId, qint64 partnerId)
{
    const auto row = partnerId > 0
                         ? dm().firstRow(QStringLiteral("select fname,lname from shoraka where id=? and customer_id=?"),
                                         {partnerId, customerId})
                         : dm().firstRow(QStringLiteral("select fname,lname from customers where id=?"), {customerId});
    if (!row)
        return {};
    return {{QStringLiteral("lname"), text(row->value(1))}, {QStringLiteral("father"), text(row->value(0))}};
}

Outcome addDependant(qint64 customerId, qint64 partnerId, const PersonValues& typed)
{
    Outcome r;
    PersonValues v = typed;
    if (v.value(QStringLiteral("lname")).trimmed().isEmpty())
        return r.refuse(kNoDependantName, QStringLiteral("lname"));
    if (const auto bad = checkValues(QStringLiteral("takafol"), dependantColumns(), v, &dependantCaption))
        return r.refuse(bad->message, bad->field);

    Transaction tx(dm());
    if (!locks::lock(locks::Row::Customer, customerId))
        return r.refuse(kCustomerGone);
    if (partnerId > 0 &&
        !dm().firstRow(QStringLiteral("select id from shoraka where id=? and customer_id=?"), {partnerId, customerId}))
        return r.refuse(kPartnerGone);
    if (dm().firstRow(QStringLiteral("select id from takafol where fname=? and lname=? and nesbat=? and customer_id=?"),
                      {stored(v, QStringLiteral("fname")), stored(v, QStringLiteral("lname")),
                       stored(v, QStringLiteral("nesbat")), customerId}))
        return r.refuse(kDuplicateDependant, QStringLiteral("fname"));
    QStringList columns {QStringLiteral("customer_id"), QStringLiteral("shoraka_id")};
    QVariantList values {customerId, partnerId};
    for (const QString& c : dependantColumns()) {
        columns << c;
        values << stored(v, c);
    }
    r.id = insertRow(QStringLiteral("takafol"), columns, values);
    history::inserted(QStringLiteral("takafol"), r.id, history::Owner::applicant(customerId), history::rowOf(columns, values));
    tx.commit();
    r.done = true;
    return r;
}

Outcome deleteDependant(qint64 customerId, qint64 dependantId)
{
    Outcome r;
    r.id = dependantId;
    // The history of the deleted values goes with the delete, one transaction.
    Transaction tx(dm());
    history::deletedWhere(QStringLiteral("takafol"), QStringLiteral("id=? and customer_id=?"), {dependantId, customerId},
                          history::Owner::applicant(customerId));
    if (dm().execAffected(QStringLiteral("delete from takafol where id=? and customer_id=?"), {dependantId, customerId}) == 0)
        return r.refuse(kRowGone);
    tx.commit();
    r.done = true;
    return r;
}

// ---------------------------------------------------------------- the searches

namespace {
ListQuery personSearch(const QString& table)
{
    ListQuery q(QStringLiteral("select %1.*,customers.fname as fname_asli,customers.lname as lname_asli,"
                               "customers.nation as nation_asli,customers.ostan as ostan_asli,"
                               "customers.shahrestan as shahrestan_asli")
                    .arg(table),
                QStringLiteral("from %1 left join customers on %1.customer_id=customers.id").arg(table),
                table + QStringLiteral(".id"));
    q.countyScope(QStringLiteral("customers.shahrestan"), CountyScope::ProvincialAndCounty);
    return q;
}
} // namespace

ListQuery partnerSearch(const PartnerCriteria& c)
{
    ListQuery q = personSearch(QStringLiteral("shoraka"));
    if (c.lname)
        q.like(QStringLiteral("shoraka.lname"), *c.lname);
    if (c.nation)
        q.like(QStringLiteral("shoraka.nation"), toAsciiDigits(*c.nation));
    return q;
}

ListQuery dependantSearch(const DependantCriteria& c)
{
    ListQuery q = personSearch(QStringLiteral("takafol"));
    if (c.lname)
        q.like(QStringLiteral("takafol.lname"), *c.lname);
    if (c.nesbat)
        q.like(QStringLiteral("takafol.nesbat"), *c.nesbat);
    if (c.nation)
        q.like(QStringLiteral("takafol.nation"), toAsciiDigits(*c.nation));
    return q;
}

HeaderMap searchExcelHeaders()
{
    HeaderMap h;
    for (const auto& [field, title] : custext::kExcelHeaders) {
        h.insert(QString::fromLatin1(field), QString::fromUtf8(title));
        if (qstrcmp(field, "sanad_dat") == 0)
            break;
    }
    h.insert(QStringLiteral("status"), kStatusTitle);
    return h;
}

} // namespace tavrin::partners
