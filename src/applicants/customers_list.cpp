// The applicant list: its search statement, the project names its criterion
// offers, and the values of its Excel export, printed list and mobile numbers.
#include "applicants/customers_detail.h"

#include "applicants/applicant_texts.h"

#include "common/nationcode.h"
#include "db/database.h"

namespace tavrin::applicants {

using customers_detail::mask;
using customers_detail::nn;
using customers_detail::totalColumns;

// ---------------------------------------------------------------- the list

ListQuery searchQuery(const Criteria& c)
{
    ListQuery q(QStringLiteral("select *"), QStringLiteral("from customers"));
    q.countyScope(QStringLiteral("shahrestan"), CountyScope::AllButAdmin);
    const Dialect& d = dm().dialect();
    if (c.ostan)
        q.where(d.fold(QStringLiteral("ostan")) + QStringLiteral("=?"), {foldText(*c.ostan)});
    if (c.shahrestan)
        q.like(QStringLiteral("shahrestan"), *c.shahrestan);
    if (c.nation) {
        // A whole code is found by the index of the codes; a part of one by the search key.
        const QString digits = toAsciiDigits(c.nation->trimmed());
        if (digits.size() == 10)
            q.equals(QStringLiteral("nation"), digits);
        else
            q.contains(QStringLiteral("customers"), QStringLiteral("nation"), digits);
    }
    if (c.lname)
        q.contains(QStringLiteral("customers"), QStringLiteral("lname"), *c.lname);
    if (c.prjName)
        q.like(QStringLiteral("prj_name"), *c.prjName);
    if (c.bolok)
        q.like(QStringLiteral("bolok"), *c.bolok);
    if (c.tabaghe)
        q.like(QStringLiteral("tabaghe"), *c.tabaghe);
    if (c.karbari)
        q.like(QStringLiteral("karbari"), *c.karbari);
    if (c.shenase)
        q.like(QStringLiteral("shenase"), *c.shenase);
    if (c.status)
        q.like(QStringLiteral("status"), *c.status);
    const auto numberCriterion = [&q](const QString& column, const std::pair<QString, QString>& op) {
        if (op.first == QLatin1String("<>"))
            q.where(column + QStringLiteral("<>?"), {nn(op.second)});
        else if (op.second.isEmpty())
            q.equals(column, QStringLiteral(""));
        else
            q.like(column, op.second);
    };
    if (c.protNo)
        numberCriterion(QStringLiteral("prot_no"), *c.protNo);
    if (c.sanadNo)
        numberCriterion(QStringLiteral("sanad_no"), *c.sanadNo);
    if (c.gender)
        q.like(QStringLiteral("gender"), *c.gender);
    if (c.transport) {
        if (*c.transport == QLatin1String("<>"))
            q.where(QStringLiteral("transport_dat<>?"), {mask()});
        else
            q.where(d.likely(QStringLiteral("transport_dat=?")), {mask()});
    }
    if (c.typ)
        q.like(QStringLiteral("typ"), *c.typ);
    if (c.regUser)
        q.like(QStringLiteral("reg_user"), *c.regUser);
    return q;
}

ListQuery projectQuery(qint64 prjId)
{
    ListQuery q(QStringLiteral("select *"), QStringLiteral("from customers"));
    q.equals(QStringLiteral("prj_id"), prjId);
    q.countyScope(QStringLiteral("shahrestan"), CountyScope::ProvincialAndCounty);
    return q;
}

QStringList projectNames(const std::optional<QString>& ostan, const std::optional<QString>& shahrestan)
{
    ListQuery q(QStringLiteral("select distinct prj_name"), QStringLiteral("from projects"));
    q.where(QStringLiteral("ostan<>?"), {QStringLiteral("")});
    // Once a province is chosen every level but the administrator's sees his counties only.
    q.countyScope(QStringLiteral("shahrestan"), ostan ? CountyScope::AllButAdmin : CountyScope::ProvincialAndCounty);
    if (ostan)
        q.like(QStringLiteral("ostan"), *ostan);
    if (shahrestan)
        q.like(QStringLiteral("shahrestan"), *shahrestan);
    return dm().textColumn(q.listSql() + QStringLiteral(" order by prj_name"), q.values());
}

HeaderMap excelHeaders()
{
    HeaderMap h;
    for (const auto& [field, title] : custext::kExcelHeaders)
        h.insert(QString::fromLatin1(field), QString::fromUtf8(title));
    return h;
}

QVariantMap printRow(const QSqlRecord& c)
{
    const auto amount = [&c](const char* f) {
        const QVariant x = c.value(QString::fromLatin1(f));
        return x.isNull() ? QString() : QString::number(toMoney(x));
    };
    return {{QStringLiteral("prj_name"), text(c.value(QStringLiteral("prj_name"))).trimmed()},
            {QStringLiteral("lname"), text(c.value(QStringLiteral("lname"))).trimmed()},
            {QStringLiteral("fname"), text(c.value(QStringLiteral("fname"))).trimmed()},
            {QStringLiteral("mobile"), text(c.value(QStringLiteral("mobile"))).trimmed()},
            {QStringLiteral("shenase"), text(c.value(QStringLiteral("shenase"))).trimmed()},
            {QStringLiteral("mablagh"), amount("mablagh")},
            {QStringLiteral("pardakht_sum"), amount("pardakht_sum")}};
}

QString mobilesText(const RecordSource& rows)
{
    QString out;
    rows([&out](const QSqlRecord& r) {
        const QString mobile = text(r.value(QStringLiteral("mobile")));
        if (mobile.size() == 11)
            out += QLatin1Char(',') + mobile;
    });
    return out;
}

} // namespace tavrin::applicants
