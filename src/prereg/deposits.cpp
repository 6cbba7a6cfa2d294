#include "prereg/deposits.h"

#include "prereg/fieldchecks.h"
#include "prereg/pishsabt_logic.h"
#include "prereg/prereg_texts.h"

#include "common/fieldcheck.h"
#include "common/history.h"
#include "common/jalali.h"
#include "common/monedit.h"
#include "common/nationcode.h"
#include "db/database.h"

namespace tavrin::prereg {

using namespace preregtext;

const QString kDepositSaveFailed = QStringLiteral("خطا! ثبت وديعه انجام نشد");
const QString kDepositDeleteFailed = QStringLiteral("خطا! حذف وديعه انجام نشد");

namespace {

const QString kDepositsTable = QStringLiteral("pishpardakht");

QString col(const char* name)
{
    return QString::fromLatin1(name);
}

QString eq(const char* column)
{
    return dm().dialect().exactEquals(QString::fromLatin1(column));
}


QString captionOf(const QString& column)
{
    for (const Field& f : kDepositFields)
        if (f.column == column)
            return f.caption;
    return column;
}

std::optional<qint64> moneyOf(const QVariant& v)
{
    if (v.isNull() || !v.isValid())
        return std::nullopt;
    return toMoney(v);
}

QString moneyText(const QVariant& v)
{
    const auto m = moneyOf(v);
    return m ? QString::number(*m) : QString();
}

Deposit depositOf(const QSqlRecord& r)
{
    Deposit d;
    d.id = r.value(QStringLiteral("id")).toLongLong();
    d.pishsabtId = r.value(QStringLiteral("pishsabt_id")).toLongLong();
    d.pardakhtTyp = text(r.value(QStringLiteral("pardakht_typ")));
    d.mablagh = moneyOf(r.value(QStringLiteral("mablagh")));
    d.num = text(r.value(QStringLiteral("num")));
    d.vosol = moneyOf(r.value(QStringLiteral("vosol")));
    d.dat = text(r.value(QStringLiteral("dat")));
    d.residNo = text(r.value(QStringLiteral("resid_no")));
    d.hesabNo = text(r.value(QStringLiteral("hesab_no")));
    d.norvadBank = text(r.value(QStringLiteral("norvad_bank")));
    d.cmt = text(r.value(QStringLiteral("cmt")));
    return d;
}

QList<Deposit> depositsFrom(QSqlQuery q)
{
    QList<Deposit> out;
    while (q.next())
        out << depositOf(q.record());
    return out;
}

HeaderMap headersOf(const QList<QPair<QString, QString>>& headings)
{
    HeaderMap h;
    for (const auto& [field, heading] : headings)
        h.insert(field, heading);
    return h;
}

} // namespace

const QStringList& depositColumns()
{
    static const QStringList c {col("pardakht_typ"), col("mablagh"),  col("num"),
                                col("vosol"),        col("dat"),      col("resid_no"),
                                col("hesab_no"),     col("norvad_bank"), col("cmt")};
    return c;
}

std::optional<qint64> amountOf(const QString& typed)
{
    if (typed.trimmed().isEmpty())
        return std::nullopt;
    // Nothing as well for an amount beyond the money columns' digits.
    return tryParseAmount(typed);
}

QString echoAmount(const QString& typed)
{
    QString t = typed;
    t.remove(QLatin1Char(','));
    QString sign;
    if (t.startsWith(QLatin1Char('-'))) {
        sign = QStringLiteral("-");
        t.remove(0, 1);
    }
    if (t.size() <= 3)
        return sign + t;
    const qsizetype head = t.size() % 3;
    QStringList groups;
    if (head)
        groups << t.left(head);
    for (qsizetype i = head; i < t.size(); i += 3)
        groups << t.mid(i, 3);
    return sign + groups.join(QLatin1Char(','));
}

Outcome insertDeposit(qint64 pishsabtId, DepositValues& v)
{
    const auto mablagh = amountOf(v.value(col("mablagh")));
    if (!mablagh)
        return Outcome::refusal(kBadAmount, col("mablagh"));
    const auto vosol = amountOf(v.value(col("vosol")));
    if (!vosol)
        return Outcome::refusal(kBadVosol, col("vosol"));
    const auto dat = jalali::fieldDate(v.value(col("dat")));
    if (!dat)
        return Outcome::refusal(jalali::invalidDateMessage(captionOf(col("dat"))), col("dat"));
    v[col("dat")] = *dat;
    QList<ColumnText> texts;
    for (const QString& c : depositColumns())
        if (c != QLatin1String("mablagh") && c != QLatin1String("vosol"))
            texts.append({c, v.value(c), captionOf(c)});
    if (auto tooLong = checkTextLengths(kDepositsTable, texts))
        return Outcome::refusal(tooLong->message, tooLong->field);

    // Under the persons' lock, so that the person cannot be deleted between
    // the check and the insert.
    Transaction tx(dm());
    lockPersons();
    if (!dm().firstRow(QStringLiteral("select id from pishsabt where id=?"), {pishsabtId}))
        return Outcome().refuseGone(kPersonGone, col("pardakht_typ"));
    if (dm().firstRow(QStringLiteral("select id from pishpardakht where pishsabt_id=? and ") + eq("pardakht_typ") +
                          QStringLiteral(" and mablagh=? and ") + eq("num") + QStringLiteral(" and ") + eq("dat"),
                      {pishsabtId, textValue(v.value(col("pardakht_typ"))), *mablagh, textValue(v.value(col("num"))),
                       *dat}))
        return Outcome::refusal(kDuplicateDeposit, col("mablagh"));
    QStringList columns {col("pishsabt_id")};
    QVariantList values {pishsabtId};
    for (const QString& c : depositColumns()) {
        columns << c;
        if (c == QLatin1String("mablagh"))
            values << *mablagh;
        else if (c == QLatin1String("vosol"))
            values << *vosol;
        else
            values << textValue(v.value(c));
    }
    Outcome r;
    r.id = dm().insert(kDepositsTable, columns, values);
    history::inserted(kDepositsTable, r.id, {}, history::rowOf(columns, values));
    tx.commit();
    r.done = true;
    return r;
}

DepositValues depositValuesOf(const QSqlRecord& deposit)
{
    DepositValues v;
    for (const QString& c : depositColumns()) {
        if (c == QLatin1String("mablagh") || c == QLatin1String("vosol"))
            v.insert(c, moneyText(deposit.value(c)));
        else
            v.insert(c, text(deposit.value(c)));
    }
    return v;
}

std::optional<DepositValues> deleteDeposit(qint64 id)
{
    Transaction tx(dm());
    const auto row = dm().firstRow(QStringLiteral("select * from pishpardakht where id=?"), {id});
    if (!row || dm().execAffected(QStringLiteral("delete from pishpardakht where id=?"), {id}) != 1)
        return std::nullopt;
    history::deleted(kDepositsTable, id, {}, *row);
    tx.commit();
    return depositValuesOf(*row);
}

DepositTotals depositTotals(qint64 pishsabtId)
{
    const auto row = dm().firstRow(
        QStringLiteral("select sum(vosol) as v,sum(mablagh) as m from pishpardakht where pishsabt_id=?"), {pishsabtId});
    DepositTotals t;
    const auto v = row ? moneyOf(row->value(0)) : std::nullopt;
    const auto m = row ? moneyOf(row->value(1)) : std::nullopt;
    if (v)
        t.vosolSum = formatAmount(*v);
    if (m)
        t.mablaghSum = formatAmount(*m);
    if (v && m)
        t.mande = formatAmount(*m - *v);
    return t;
}

ListQuery depositsQuery(qint64 pishsabtId)
{
    ListQuery q(QStringLiteral("select *"), QStringLiteral("from pishpardakht"));
    q.where(QStringLiteral("pishsabt_id=?"), {pishsabtId});
    return q;
}

ListQuery allDepositsQuery(const AllDepositsFilter& f)
{
    ListQuery q(QStringLiteral("select pishpardakht.*,pishsabt.fname as fname_asli,pishsabt.lname as lname_asli,"
                               "pishsabt.nation as nation_asli,pishsabt.ostan as ostan_asli,"
                               "pishsabt.shahrestan as shahrestan_asli"),
                QStringLiteral("from pishpardakht left join pishsabt on pishpardakht.pishsabt_id=pishsabt.id"),
                QStringLiteral("pishpardakht.id"));
    q.countyScope(QStringLiteral("pishsabt.shahrestan"), CountyScope::ProvincialAndCounty);
    if (f.shahrestan)
        q.like(QStringLiteral("pishsabt.shahrestan"), *f.shahrestan);
    if (f.lname)
        q.like(QStringLiteral("pishsabt.lname"), *f.lname);
    return q;
}

HeaderMap depositExcelHeaders()
{
    return headersOf(kDepositExcelHeadings);
}

HeaderMap allDepositsExcelHeaders()
{
    return headersOf(kAllDepositExcelHeadings);
}

QList<Deposit> depositsOf(qint64 pishsabtId)
{
    return depositsFrom(dm().exec(QStringLiteral("select * from pishpardakht where pishsabt_id=? order by id"), {pishsabtId}));
}

QList<Deposit> depositsByNationCode(const QString& nation)
{
    return depositsFrom(dm().exec(
        QStringLiteral("select pishpardakht.* from pishpardakht join pishsabt on pishpardakht.pishsabt_id=pishsabt.id "
                       "where ") + dm().dialect().exactEquals(QStringLiteral("pishsabt.nation")) +
            QStringLiteral(" order by pishpardakht.id"),
        {toAsciiDigits(nation).trimmed()}));
}

} // namespace tavrin::prereg
