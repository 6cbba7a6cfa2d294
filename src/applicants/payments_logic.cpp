#include "applicants/payments_logic.h"

#include "applicants/child_texts.h"

#include "common/fieldcheck.h"
#include "common/history.h"
#include "common/jalali.h"
#include "common/lookups.h"
#include "common/windows.h"
#include "common/monedit.h"
#include "common/nationcode.h"
#include "db/database.h"
#include "db/locks.h"

#include <cmath>

namespace tavrin::payments {

using namespace childtext;

namespace {

QString nn(const QString& t)
{
    return t.isNull() ? QStringLiteral("") : t;
}

QString caption(const char* column)
{
    for (const auto& [c, title] : kPaymentFields)
        if (qstrcmp(c, column) == 0)
            return QString::fromUtf8(title);
    return QString::fromLatin1(column);
}

// An amount typed in a payment: a whole number of rials, not negative, within
// the money columns.  An empty field is not an amount.
std::optional<qint64> amountOf(const QString& typed)
{
    if (typed.trimmed().isEmpty())
        return std::nullopt;
    return tryParseAmount(typed.trimmed());
}

// A sum as the database returns it: NULL (no rows) is 0; a value beyond what
// an amount can hold is nothing.
std::optional<qint64> sumOf(const QVariant& v)
{
    if (v.isNull() || !v.isValid())
        return 0;
    bool ok = false;
    const double d = v.toString().toDouble(&ok);
    if (!ok || !std::isfinite(d) || std::fabs(d) > 9.0e18)
        return std::nullopt;
    return toMoney(v);
}

HeaderMap headersOf(const Pair* begin, const Pair* end)
{
    HeaderMap h;
    for (const Pair* p = begin; p != end; ++p)
        h.insert(QString::fromLatin1(p->first), QString::fromUtf8(p->second));
    return h;
}

// The conditions on the applicant (statement 1 of the totals uses only these).
void applicantCriteria(ListQuery& q, const SearchCriteria& c)
{
    q.countyScope(QStringLiteral("customers.shahrestan"), CountyScope::AllButAdmin);
    if (c.ostan)
        q.like(QStringLiteral("customers.ostan"), *c.ostan);
    if (c.shahrestan)
        q.like(QStringLiteral("customers.shahrestan"), *c.shahrestan);
    if (c.prjName)
        q.like(QStringLiteral("customers.prj_name"), *c.prjName);
    if (c.shenase)
        q.like(QStringLiteral("customers.shenase"), *c.shenase);
    if (c.nation)
        q.like(QStringLiteral("customers.nation"), toAsciiDigits(*c.nation));
    if (c.lname)
        q.like(QStringLiteral("customers.lname"), *c.lname);
}

void paymentCriteria(ListQuery& q, const SearchCriteria& c)
{
    if (c.pardakhtTyp)
        q.like(QStringLiteral("pardakht.pardakht_typ"), *c.pardakhtTyp);
    if (c.dat)
        q.where(QStringLiteral("pardakht.dat>=? and pardakht.dat<=?"), {nn(c.dat->first), nn(c.dat->second)});
    if (c.norvadBank)
        q.like(QStringLiteral("pardakht.norvad_bank"), *c.norvadBank);
    if (c.hesabNo)
        q.like(QStringLiteral("pardakht.hesab_no"), *c.hesabNo);
    if (c.num)
        q.like(QStringLiteral("pardakht.num"), *c.num);
}

const QString kPaymentsFrom =
    QStringLiteral("from pardakht left join customers on pardakht.customer_id=customers.id");

} // namespace

PaymentForm formOf(const QSqlRecord& p)
{
    const auto amount = [&p](const char* f) {
        const QVariant v = p.value(QString::fromLatin1(f));
        return v.isNull() ? QStringLiteral("0") : QString::number(toMoney(v));
    };
    PaymentForm f;
    f.pardakht_typ = items::fieldValue(p, "pardakht_typ");
    f.mablagh = amount("mablagh");
    f.num = items::fieldValue(p, "num");
    f.vosol = amount("vosol");
    f.dat = items::fieldValue(p, "dat");
    f.bank = items::fieldValue(p, "bank");
    f.resid_no = items::fieldValue(p, "resid_no");
    f.hesab_no = items::fieldValue(p, "hesab_no");
    f.norvad_bank = items::fieldValue(p, "norvad_bank");
    return f;
}

qint64 unitTotal(qint64 price, qint64 storage, qint64 parking, qint64 loan)
{
    return price + storage + parking - loan;
}

std::optional<Account> account(qint64 customerId)
{
    const auto row = dm().firstRow(
        QStringLiteral("select mablagh,takhfif,vam,"
                       "(select sum(mablagh) from anbari where customer_id=customers.id),"
                       "(select sum(mablagh) from parking where customer_id=customers.id),"
                       "(select sum(mablagh) from pardakht where customer_id=customers.id),"
                       "(select sum(vosol) from pardakht where customer_id=customers.id) "
                       "from customers where id=?"),
        {customerId});
    if (!row)
        return std::nullopt;
    Account a;
    a.mablaghVahed = toMoney(row->value(0));
    a.takhfif = toMoney(row->value(1));
    a.vam = toMoney(row->value(2));
    a.anbari = toMoney(row->value(3));
    a.parking = toMoney(row->value(4));
    a.mablaghSum = toMoney(row->value(5));
    a.vosolSum = toMoney(row->value(6));
    return a;
}

ListQuery paymentsQuery(qint64 customerId)
{
    ListQuery q(QStringLiteral("select *"), QStringLiteral("from pardakht"));
    q.equals(QStringLiteral("customer_id"), customerId);
    return q;
}

QStringList accountNumbers(const QString& ostan)
{
    return settingListOst(nn(ostan), kSetOstAccount);
}

void recomputeCollected(qint64 customerId)
{
    // Nobody reads its answer: inside the action's transaction it goes with the commit.
    dm().execLater(QStringLiteral("update customers set pardakht_sum=(select coalesce(sum(vosol),0) from pardakht where customer_id=?) "
                             "where id=?"),
              {customerId, customerId});
}

Outcome addPayment(qint64 customerId, const PaymentForm& f)
{
    Outcome r;
    const auto mablagh = amountOf(f.mablagh);
    if (!mablagh)
        return r.refuse(kMablaghNotNumber, QStringLiteral("mablagh"));
    if (*mablagh < 0)
        return r.refuse(kNegativeAmount, QStringLiteral("mablagh"));
    const auto vosol = amountOf(f.vosol);
    if (!vosol)
        return r.refuse(kVosolNotNumber, QStringLiteral("vosol"));
    if (*vosol < 0)
        return r.refuse(kNegativeAmount, QStringLiteral("vosol"));
    const auto dat = jalali::fieldDate(f.dat);
    if (!dat)
        return r.refuse(jalali::invalidDateMessage(caption("dat")), QStringLiteral("dat"));
    const QString table = QStringLiteral("pardakht");
    if (const auto tooLong = checkTextLengths(table, {{QStringLiteral("pardakht_typ"), f.pardakht_typ, caption("pardakht_typ")},
                                                      {QStringLiteral("num"), f.num, caption("num")},
                                                      {QStringLiteral("bank"), f.bank, caption("bank")},
                                                      {QStringLiteral("resid_no"), f.resid_no, caption("resid_no")},
                                                      {QStringLiteral("hesab_no"), f.hesab_no, caption("hesab_no")},
                                                      {QStringLiteral("norvad_bank"), f.norvad_bank, caption("norvad_bank")}}))
        return r.refuse(tooLong->message, tooLong->field);

    Transaction tx(dm());
    if (!locks::lock(locks::Row::Customer, customerId))
        return r.refuse(kCustomerGone);
    if (dm().firstRow(QStringLiteral("select id from pardakht where pardakht_typ=? and mablagh=? and num=? and dat=? "
                                     "and customer_id=?"),
                      {nn(f.pardakht_typ), *mablagh, nn(f.num), *dat, customerId}))
        return r.refuse(kDuplicatePayment, QStringLiteral("num"));
    r.id = dm().insert(table,
                       {QStringLiteral("customer_id"), QStringLiteral("pardakht_typ"), QStringLiteral("mablagh"),
                        QStringLiteral("num"), QStringLiteral("vosol"), QStringLiteral("dat"), QStringLiteral("bank"),
                        QStringLiteral("resid_no"), QStringLiteral("hesab_no"), QStringLiteral("norvad_bank")},
                       {customerId, nn(f.pardakht_typ), *mablagh, nn(f.num), *vosol, *dat, nn(f.bank),
                        nn(f.resid_no), nn(f.hesab_no), nn(f.norvad_bank)});
    history::inserted(table, r.id, history::Owner::applicant(customerId),
                      {{QStringLiteral("pardakht_typ"), f.pardakht_typ}, {QStringLiteral("mablagh"), *mablagh},
                       {QStringLiteral("num"), f.num}, {QStringLiteral("vosol"), *vosol}, {QStringLiteral("dat"), *dat},
                       {QStringLiteral("bank"), f.bank}, {QStringLiteral("resid_no"), f.resid_no},
                       {QStringLiteral("hesab_no"), f.hesab_no}, {QStringLiteral("norvad_bank"), f.norvad_bank}});
    recomputeCollected(customerId);
    tx.commit();
    r.done = true;
    return r;
}

Outcome deletePayment(qint64 customerId, qint64 paymentId)
{
    Outcome r;
    r.id = paymentId;
    Transaction tx(dm());
    if (!locks::lock(locks::Row::Customer, customerId))
        return r.refuse(kCustomerGone);
    history::deletedWhere(QStringLiteral("pardakht"), QStringLiteral("id=? and customer_id=?"), {paymentId, customerId},
                          history::Owner::applicant(customerId));
    const int n = dm().execAffected(QStringLiteral("delete from pardakht where id=? and customer_id=?"), {paymentId, customerId});
    recomputeCollected(customerId);
    tx.commit();
    if (n == 0)
        return r.refuse(kRowGone);
    r.done = true;
    return r;
}

bool copyDeposit(qint64 customerId, const QSqlRecord& d, const QString& bank)
{
    const auto money = [&d](const char* c) {
        const QVariant x = d.value(QString::fromLatin1(c));
        return x.isNull() ? QVariant(QMetaType::fromType<qint64>()) : QVariant(toMoney(x));
    };
    const QString kind = text(d.value(QStringLiteral("pardakht_typ")));
    const QString num = text(d.value(QStringLiteral("num")));
    const QString dat = text(d.value(QStringLiteral("dat")));
    // The row is written only when no payment of his holds the deposit yet; the
    // caller's transaction holds his row, so nobody adds the same one meanwhile.
    return dm().execAffected(
               QStringLiteral("insert into pardakht (customer_id,pardakht_typ,mablagh,num,vosol,dat,bank,resid_no,hesab_no,"
                              "norvad_bank) select ?,?,?,?,?,?,?,?,?,? where not exists (select 1 from pardakht where "
                              "customer_id=? and coalesce(pardakht_typ,'')=? and coalesce(mablagh,0)=? and "
                              "coalesce(num,'')=? and coalesce(dat,'')=?)"),
               {customerId, kind, money("mablagh"), num, money("vosol"), dat, nn(bank), text(d.value(QStringLiteral("resid_no"))),
                text(d.value(QStringLiteral("hesab_no"))), text(d.value(QStringLiteral("norvad_bank"))), customerId, kind,
                toMoney(d.value(QStringLiteral("mablagh"))), num, dat}) == 1;
}

ImportResult importDeposits(qint64 customerId)
{
    ImportResult out;
    Outcome& r = out.result;
    Transaction tx(dm());
    if (!locks::lock(locks::Row::Customer, customerId)) {
        r.refuse(kCustomerGone);
        return out;
    }
    const QString nation = text(dm().scalar(QStringLiteral("select nation from customers where id=?"), {customerId}));
    QList<QSqlRecord> deposits;
    if (!nation.trimmed().isEmpty()) {
        QSqlQuery q = dm().exec(
            QStringLiteral("select pishpardakht.pardakht_typ,pishpardakht.mablagh,pishpardakht.num,pishpardakht.vosol,"
                           "pishpardakht.dat,pishpardakht.cmt,pishpardakht.resid_no,pishpardakht.hesab_no,"
                           "pishpardakht.norvad_bank "
                           "from pishpardakht join pishsabt on pishpardakht.pishsabt_id=pishsabt.id "
                           "where pishsabt.nation=? order by pishpardakht.id"),
            {nation});
        while (q.next())
            deposits << q.record();
    }
    if (deposits.isEmpty()) {
        r.notes.append({MsgKind::Information, kNoDeposits});
        return out;
    }
    const int bankLength = columnLength(QStringLiteral("pardakht"), QStringLiteral("bank"));
    for (const QSqlRecord& d : deposits) {
        // The marker stays whole; the remark gives way to it.
        const QString bank = cutToLength(text(d.value(QStringLiteral("cmt"))), bankLength - kPreregMarker.size()) +
                             kPreregMarker;
        if (copyDeposit(customerId, d, bank.left(bankLength)))
            ++out.imported;
        else
            ++out.skipped;
    }
    recomputeCollected(customerId);
    tx.commit();
    r.done = true;
    r.notes.append({MsgKind::Information, importedMessage(out.imported, out.skipped)});
    return out;
}

// ---------------------------------------------------------------- the search

ListQuery searchQuery(const SearchCriteria& c)
{
    ListQuery q(QStringLiteral("select pardakht.*,customers.fname as fname_asli,customers.lname as lname_asli,"
                               "customers.nation as nation_asli,customers.ostan as ostan_asli,"
                               "customers.shahrestan as shahrestan_asli,customers.mablagh as mablagh_asli,customers.vam,"
                               "customers.anbari_mablagh,customers.parking_mablagh,customers.prj_name,customers.shenase"),
                kPaymentsFrom, QStringLiteral("pardakht.id"));
    applicantCriteria(q, c);
    paymentCriteria(q, c);
    return q;
}

std::optional<qint64> SearchTotals::mande() const
{
    if (!vahedMablagh || !anbari || !parking || !vam || !vosolSum)
        return std::nullopt;
    return unitTotal(*vahedMablagh, *anbari, *parking, *vam) - *vosolSum;
}

SearchTotals searchTotals(const SearchCriteria& c)
{
    SearchTotals t;
    ListQuery applicants(QStringLiteral("select count(*),sum(mablagh),sum(vam),sum(anbari_mablagh),sum(parking_mablagh)"),
                         QStringLiteral("from customers"), QStringLiteral("customers.id"));
    applicantCriteria(applicants, c);
    if (const auto row = dm().firstRow(applicants.select() + QLatin1Char(' ') + applicants.from() + applicants.whereSql(),
                                       applicants.values())) {
        t.applicants = row->value(0).toInt();
        t.vahedMablagh = sumOf(row->value(1));
        t.vam = sumOf(row->value(2));
        t.anbari = sumOf(row->value(3));
        t.parking = sumOf(row->value(4));
    }
    ListQuery payments(QStringLiteral("select count(*),sum(pardakht.mablagh),sum(pardakht.vosol)"), kPaymentsFrom,
                       QStringLiteral("pardakht.id"));
    applicantCriteria(payments, c);
    paymentCriteria(payments, c);
    if (const auto row = dm().firstRow(payments.select() + QLatin1Char(' ') + payments.from() + payments.whereSql(),
                                       payments.values())) {
        t.payments = row->value(0).toInt();
        t.mablaghSum = sumOf(row->value(1));
        t.vosolSum = sumOf(row->value(2));
    }
    return t;
}

HeaderMap searchExcelHeaders()
{
    return headersOf(std::begin(kPaymentSearchExcel), std::end(kPaymentSearchExcel));
}

HeaderMap paymentExcelHeaders()
{
    return headersOf(std::begin(kPaymentExcel), std::end(kPaymentExcel));
}

} // namespace tavrin::payments
