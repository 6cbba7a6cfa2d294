#include "applicants/form_data.h"

#include "applicants/form_texts.h"

#include "common/dialogs.h"
#include "common/lookups.h"
#include "common/numberwords.h"
#include "common/session.h"
#include "db/database.h"
#include "db/schema.h"
#include "documents/document.h"

#include <QSqlField>
#include <QSqlQuery>

#include <algorithm>
#include <cmath>

namespace tavrin::forms {

namespace ft = formtext;

QList<QSqlRecord> rowsOf(const QString& sql, const QVariantList& values)
{
    QList<QSqlRecord> rows;
    QSqlQuery q = dm().exec(sql, values);
    while (q.next())
        rows << q.record();
    return rows;
}

qint64 ApplicantFile::id() const
{
    return customer.value(QStringLiteral("id")).toLongLong();
}

QString ApplicantFile::text(const QString& column) const
{
    const QVariant v = customer.value(column);
    return v.isNull() ? QString() : v.toString();
}

QString ApplicantFile::fullName() const
{
    return text(QStringLiteral("fname")) + QLatin1Char(' ') + text(QStringLiteral("lname"));
}

bool ApplicantFile::soleOwner() const
{
    bool ok = false;
    const double sahm = customer.value(QStringLiteral("sahm")).toString().trimmed().toDouble(&ok);
    return ok && sahm == 6.0;
}

bool ApplicantFile::landUnit() const
{
    const QString bana = unit ? unit->value(QStringLiteral("bana")).toString() : QString();
    return bana == ft::kVilla || bana == ft::kLand;
}

QString ApplicantFile::area() const
{
    if (landUnit())
        return decimalText(unit->value(QStringLiteral("metraj_z")));
    return decimalText(customer.value(QStringLiteral("metraj")));
}

ApplicantFile loadApplicant(const QSqlRecord& customer)
{
    ApplicantFile f;
    f.customer = customer;
    const QVariant id = customer.value(QStringLiteral("id"));
    if (const QVariant vahed = customer.value(QStringLiteral("vahed_id")); !vahed.isNull())
        f.unit = dm().firstRow(QStringLiteral("select * from vahedha where id=?"), {vahed});
    f.storage = rowsOf(QStringLiteral("select * from anbari where customer_id=? order by id"), {id});
    f.parking = rowsOf(QStringLiteral("select * from parking where customer_id=? order by id"), {id});
    f.partners = rowsOf(QStringLiteral("select * from shoraka where customer_id=? order by id"), {id});
    f.payments = rowsOf(QStringLiteral("select * from pardakht where customer_id=? order by id"), {id});
    return f;
}

std::optional<qint64> wholeRials(const QVariant& value)
{
    const auto exact = exactAmount(value);
    return exact ? std::optional<qint64>(rialsOf(*exact)) : std::nullopt;
}

QString moneyText(qint64 rials)
{
    const QString digits = doc::groupThousands(QString::number(rials < 0 ? -rials : rials));
    return rials < 0 ? QLatin1Char('-') + digits : digits;
}

QString decimalText(const QVariant& value)
{
    if (value.isNull() || value.toString().trimmed().isEmpty())
        return {};
    bool ok = false;
    const double d = value.toString().toDouble(&ok);
    return ok ? QString::number(d, 'g', 15) : value.toString();
}

QString moneyWords(qint64 rials)
{
    return words::amountInWords(QString::number(rials));
}

std::optional<Exact> exactAmount(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    QString s;
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        const double d = value.toDouble();
        if (!std::isfinite(d) || std::fabs(d) > 9e17)
            return std::nullopt;
        // The decimal the column stored, not the binary fraction nearest to it.
        s = QString::number(d, 'f', 4);
    } else {
        s = value.toString().trimmed().remove(QLatin1Char(','));
    }
    const bool negative = s.startsWith(QLatin1Char('-'));
    if (negative || s.startsWith(QLatin1Char('+')))
        s.remove(0, 1);
    const qsizetype dot = s.indexOf(QLatin1Char('.'));
    const QString whole = dot < 0 ? s : s.left(dot);
    const QString fraction = dot < 0 ? QString() : s.mid(dot + 1);
    const auto digitsOnly = [](const QString& t) {
        return std::all_of(t.cbegin(), t.cend(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
    };
    if (whole.size() + fraction.size() == 0 || whole.size() > 18 || !digitsOnly(whole) || !digitsOnly(fraction)) {
        // Another spelling of a number ("1e+15"): through a double.
        bool ok = false;
        const double d = value.toString().trimmed().toDouble(&ok);
        return ok ? exactAmount(QVariant(d)) : std::nullopt;
    }
    Exact n = whole.isEmpty() ? 0 : Exact(whole.toLongLong());
    for (int i = 0; i < 4; ++i)
        n = n * 10 + (i < fraction.size() ? fraction.at(i).unicode() - '0' : 0);
    // Beyond the columns' four decimals: the fifth rounds.
    if (fraction.size() > 4 && fraction.at(4) >= QLatin1Char('5'))
        ++n;
    return negative ? -n : n;
}

qint64 rialsOf(Exact amount)
{
    const Exact half = kExactScale / 2;
    return qint64(amount < 0 ? -((-amount + half) / kExactScale) : (amount + half) / kExactScale);
}

Exact exactSum(const QList<QSqlRecord>& rows, const QString& column)
{
    Exact sum = 0;
    for (const QSqlRecord& r : rows)
        sum += exactAmount(r.value(column)).value_or(0);
    return sum;
}

qint64 sumOf(const QList<QSqlRecord>& rows, const QString& column)
{
    return rialsOf(exactSum(rows, column));
}

std::optional<qint64> Account::total() const
{
    if (!unitPrice)
        return std::nullopt;
    return rialsOf(*unitPrice + storage + parking);
}

std::optional<qint64> Account::totalLessLoan() const
{
    if (!unitPrice)
        return std::nullopt;
    return rialsOf(*unitPrice + storage + parking - loan);
}

std::optional<qint64> Account::balance() const
{
    if (!unitPrice)
        return std::nullopt;
    return rialsOf(*unitPrice + storage + parking - loan - collected);
}

Account accountOf(const ApplicantFile& f)
{
    Account a;
    a.unitPrice = exactAmount(f.customer.value(QStringLiteral("mablagh")));
    a.storage = exactSum(f.storage, QStringLiteral("mablagh"));
    a.parking = exactSum(f.parking, QStringLiteral("mablagh"));
    a.loan = exactAmount(f.customer.value(QStringLiteral("vam"))).value_or(0);
    a.collected = exactSum(f.payments, QStringLiteral("vosol"));
    a.payments = exactSum(f.payments, QStringLiteral("mablagh"));
    return a;
}

void warnMissingPrice()
{
    dialogs().warning(ft::kNoPrice);
}

QVariantMap customerValues(const QSqlRecord& customer)
{
    QVariantMap v;
    const TableDef* table = schema().table(QStringLiteral("customers"));
    for (int i = 0; i < customer.count(); ++i) {
        const QString name = customer.fieldName(i);
        const QVariant value = customer.value(i);
        ColType type = ColType::Text;
        if (table)
            if (const ColumnDef* c = table->column(name))
                type = c->type;
        if (value.isNull())
            v.insert(name, QString());
        else if (type == ColType::Money)
            v.insert(name, wholeRials(value) ? moneyText(*wholeRials(value)) : value.toString());
        else if (type == ColType::Float)
            v.insert(name, decimalText(value));
        else
            v.insert(name, value.toString());
    }
    return v;
}

FormTable partnerTable(const ApplicantFile& f, bool withShare, bool full)
{
    using doc::Column;
    FormTable t;
    const auto c = [](const char* caption, const char* field, double w) {
        return Column(QString::fromUtf8(caption), QString::fromLatin1(field), w);
    };
    t.columns << Column(QStringLiteral("رديف"), Column::kRowNumber, 9) << c("نام و نام خانوادگي", "sharik_name", 34).wrapped()
              << c("نام پدر", "father", 18);
    if (full)
        t.columns << c("شماره شناسنامه", "sh_no", 18) << c("محل صدور", "sodor", 16) << c("تاريخ تولد", "birthday", 17);
    t.columns << c("کد ملي", "nation", 20);
    if (full)
        t.columns << c("آدرس", "adr", 30).wrapped() << c("موبايل", "mobile", 22);
    if (withShare)
        t.columns << c("سهم", "sahm", 10);
    for (const QSqlRecord& p : f.partners) {
        QVariantMap row;
        for (int i = 0; i < p.count(); ++i)
            row.insert(p.fieldName(i), p.value(i).isNull() ? QString() : p.value(i).toString());
        row.insert(QStringLiteral("sharik_name"),
                   QString(row.value(QStringLiteral("fname")).toString() + QLatin1Char(' ') +
                           row.value(QStringLiteral("lname")).toString()));
        row.insert(QStringLiteral("sahm"), decimalText(p.value(QStringLiteral("sahm"))));
        t.rows << row;
    }
    return t;
}

FormTable paymentTable(const ApplicantFile& f)
{
    using doc::Column;
    FormTable t;
    const auto c = [](const char* caption, const char* field, double w) {
        return Column(QString::fromUtf8(caption), QString::fromLatin1(field), w);
    };
    t.columns << Column(QStringLiteral("رديف"), Column::kRowNumber, 9) << c("مبلغ", "mablagh", 26).grouped()
              << c("تاريخ", "dat", 19) << c("شماره", "num", 20) << c("نوع پرداخت", "pardakht_typ", 24).wrapped()
              << c("بانک", "bank", 24).wrapped() << c("وصول", "vosol", 26).grouped() << c("شماره رسيد", "resid_no", 22);
    for (const QSqlRecord& p : f.payments) {
        QVariantMap row;
        for (const char* col : {"dat", "num", "pardakht_typ", "bank", "resid_no"})
            row.insert(QString::fromLatin1(col), p.value(QString::fromLatin1(col)).toString());
        for (const char* col : {"mablagh", "vosol"}) {
            const auto v = wholeRials(p.value(QString::fromLatin1(col)));
            row.insert(QString::fromLatin1(col), v ? moneyText(*v) : QString());
        }
        t.rows << row;
    }
    return t;
}

QString officeSetting(const ApplicantFile& f, Seat seat, const QString& key)
{
    const QString ostan = f.text(QStringLiteral("ostan"));
    return seat == Seat::Province ? settingValueOst(ostan, key)
                                  : settingValueCity(ostan, f.text(QStringLiteral("shahrestan")), key);
}

QVariantMap sellerValues(const ApplicantFile& f, Seat seat)
{
    const bool county = seat == Seat::County;
    QVariantMap v;
    v.insert(QStringLiteral("eghtesadi_cod"), officeSetting(f, seat, ft::kEghtesadi));
    v.insert(QStringLiteral("shenase_meli"), officeSetting(f, seat, ft::kShenaseMeli));
    v.insert(QStringLiteral("norvad_adr"), officeSetting(f, seat, ft::kNorvadAdr));
    v.insert(QStringLiteral("norvad_phone"), officeSetting(f, seat, ft::kNorvadPhone));
    v.insert(QStringLiteral("modirkol"), officeSetting(f, seat, county ? ft::kModirCity : ft::kModirKol));
    v.insert(QStringLiteral("os_city"), county ? ft::kCityWord : ft::kOstanWord);
    v.insert(QStringLiteral("semat"), county ? ft::kModirCity : ft::kModirKol);
    v.insert(QStringLiteral("ostan"), f.text(county ? QStringLiteral("shahrestan") : QStringLiteral("ostan")));
    return v;
}

Seat userSeat()
{
    return session().level == QLatin1String("city") ? Seat::County : Seat::Province;
}

} // namespace tavrin::forms
