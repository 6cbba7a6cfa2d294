// The applicant record: its fields, their conversion to stored values and
// back, the pick lists of its cascade and the checks on leaving a field.
#include "applicants/customers_detail.h"

#include "applicants/applicant_texts.h"

#include "common/fieldcheck.h"
#include "common/jalali.h"
#include "common/monedit.h"
#include "common/nationcode.h"
#include "db/database.h"
#include "db/schema.h"

#include <QSet>

namespace tavrin::applicants {


// ---------------------------------------------------------------- helpers of the three files

namespace customers_detail {

QString mask()
{
    return QString::fromLatin1(kEmptyDateMask);
}

// A text bound as a text, never as NULL.
QString nn(const QString& t)
{
    return t.isNull() ? QStringLiteral("") : t;
}

// The totals other windows keep: an edit never writes them.
const QSet<QString>& totalColumns()
{
    static const QSet<QString> c {QStringLiteral("pardakht_sum"), QStringLiteral("parking"), QStringLiteral("anbari")};
    return c;
}

} // namespace customers_detail

using customers_detail::mask;
using customers_detail::nn;
using customers_detail::totalColumns;

namespace {

const QString kOtaghNotNumber = QStringLiteral("خطا! تعداد اتاق بايد عدد صحيح باشد");

// The columns the program sets itself; the record window does not show them.
const QSet<QString>& programColumns()
{
    static const QSet<QString> c {QStringLiteral("id"), QStringLiteral("reg_user"), QStringLiteral("sabt_cod"),
                                  QStringLiteral("anbari_mablagh"), QStringLiteral("parking_mablagh")};
    return c;
}

QString valueText(const QSqlRecord& r, const Field& f)
{
    const QVariant v = r.value(f.column);
    switch (f.kind) {
    case FieldKind::Money:
        return QString::number(toMoney(v));
    case FieldKind::Real:
        return items::numberText(v);
    case FieldKind::Int:
        return v.isNull() ? QString() : QString::number(v.toLongLong());
    case FieldKind::Date: {
        const QString t = text(v);
        return t.isEmpty() ? mask() : t;
    }
    case FieldKind::Text:
        break;
    }
    return text(v);
}

} // namespace

// ---------------------------------------------------------------- the record

const QList<Field>& recordFields()
{
    static const QList<Field> fields = [] {
        QList<Field> out;
        for (const ColumnDef& c : schema().table(QStringLiteral("customers"))->columns) {
            if (programColumns().contains(c.name))
                continue;
            FieldKind k = FieldKind::Text;
            switch (c.type) {
            case ColType::Money: k = FieldKind::Money; break;
            case ColType::Float: k = FieldKind::Real; break;
            case ColType::Int: k = FieldKind::Int; break;
            default: k = c.date ? FieldKind::Date : FieldKind::Text;
            }
            out << Field {c.name, k};
        }
        return out;
    }();
    return fields;
}

std::optional<Field> recordField(const QString& column)
{
    for (const Field& f : recordFields())
        if (f.column == column)
            return f;
    return std::nullopt;
}

QString captionOf(const QString& column)
{
    for (const auto& [c, caption] : custext::kFieldCaptions)
        if (column == QLatin1String(c))
            return QString::fromUtf8(caption);
    return column;
}

CustomerValues newValues()
{
    CustomerValues out;
    for (const Field& f : recordFields()) {
        switch (f.kind) {
        case FieldKind::Money:
        case FieldKind::Real: out.insert(f.column, QStringLiteral("0")); break;
        case FieldKind::Date: out.insert(f.column, mask()); break;
        case FieldKind::Int:
        case FieldKind::Text: out.insert(f.column, QString()); break;
        }
    }
    out[QStringLiteral("sahm")] = QStringLiteral("6");
    out[QStringLiteral("status")] = custext::kActive;
    out[QStringLiteral("reg_dat")] = jalali::today();
    out[QStringLiteral("typ")] = custext::kPerson;
    return out;
}

CustomerValues valuesOf(const QSqlRecord& customer)
{
    CustomerValues out;
    for (const Field& f : recordFields())
        out.insert(f.column, valueText(customer, f));
    // Anything but exactly "حقيقي" is shown as a company.
    if (out.value(QStringLiteral("typ")) != custext::kPerson)
        out[QStringLiteral("typ")] = custext::kCompany;
    return out;
}

const QStringList& projectColumns()
{
    static const QStringList c {QStringLiteral("ostan"),    QStringLiteral("shahrestan"), QStringLiteral("prj_cod"),
                                QStringLiteral("shahr"),    QStringLiteral("rosta"),      QStringLiteral("prj_name"),
                                QStringLiteral("prj_typ"),  QStringLiteral("zamin_pelak"), QStringLiteral("zamin_adr"),
                                QStringLiteral("prj_id")};
    return c;
}

const QStringList& unitColumns()
{
    static const QStringList c {
        QStringLiteral("shenase"),   QStringLiteral("karbari"),  QStringLiteral("bolok"),     QStringLiteral("tabaghe"),
        QStringLiteral("vahed_no"),  QStringLiteral("jahat"),    QStringLiteral("metraj"),    QStringLiteral("metraj_z"),
        QStringLiteral("teras"),     QStringLiteral("teras1"),   QStringLiteral("mablagh1"),  QStringLiteral("vam"),
        QStringLiteral("ekhtesasi"), QStringLiteral("moshtarak"), QStringLiteral("otagh"),    QStringLiteral("mablagh"),
        QStringLiteral("vahed_typ"), QStringLiteral("hayat"),    QStringLiteral("hayat1"),    QStringLiteral("vahed_id")};
    return c;
}

CustomerValues projectValues(const QSqlRecord& project)
{
    CustomerValues out;
    for (const QString& c : projectColumns())
        out.insert(c, c == QLatin1String("prj_id") ? QString::number(project.value(QStringLiteral("id")).toLongLong())
                                                   : text(project.value(c)));
    return out;
}

CustomerValues unitValues(const QSqlRecord& unit, qint64 takhfif)
{
    CustomerValues out;
    for (const QString& c : unitColumns()) {
        if (c == QLatin1String("vahed_id")) {
            out.insert(c, QString::number(unit.value(QStringLiteral("id")).toLongLong()));
            continue;
        }
        const auto f = recordField(c);
        out.insert(c, f ? valueText(unit, *f) : text(unit.value(c)));
    }
    out[QStringLiteral("mablagh")] =
        QString::number(discountedPrice(toMoney(unit.value(QStringLiteral("mablagh"))), takhfif));
    return out;
}

qint64 discountedPrice(qint64 undiscounted, qint64 takhfif)
{
    return undiscounted - takhfif;
}

// ---------------------------------------------------------------- the cascade

int activeProvinces(ListBatch& b)
{
    ListQuery q(QStringLiteral("select distinct ostan"), QStringLiteral("from projects"));
    q.equals(QStringLiteral("status"), items::freeStatus());
    q.countyScope(QStringLiteral("shahrestan"), CountyScope::ProvincialAndCounty);
    return b.distinct(QStringLiteral("ostan"), q.from() + q.whereSql(), q.values());
}

int activeCounties(ListBatch& b, const QString& ostan)
{
    // A county or provincial user is offered only his granted counties, as in
    // the province list: he could not see the applicant of another county.
    ListQuery q(QStringLiteral("select distinct shahrestan"), QStringLiteral("from projects"));
    q.equals(QStringLiteral("ostan"), nn(ostan)).equals(QStringLiteral("status"), items::freeStatus());
    q.countyScope(QStringLiteral("shahrestan"), CountyScope::ProvincialAndCounty);
    return b.distinct(QStringLiteral("shahrestan"), q.from() + q.whereSql(), q.values());
}

int activeProjectCodes(ListBatch& b, const QString& ostan, const QString& shahrestan)
{
    return b.distinct(QStringLiteral("prj_cod"), QStringLiteral("from projects where ostan=? and shahrestan=? and status=?"),
                      {nn(ostan), nn(shahrestan), items::freeStatus()});
}

int freeUnits(ListBatch& b, qint64 prjId)
{
    return b.byId(QStringLiteral("shenase"), QStringLiteral("from vahedha where prj_id=? and status=?"),
                  {prjId, items::freeStatus()});
}

QStringList activeProvinces()
{
    return ListBatch::alone([](ListBatch& b) { return activeProvinces(b); });
}

QStringList activeCounties(const QString& ostan)
{
    return ListBatch::alone([&](ListBatch& b) { return activeCounties(b, ostan); });
}

QStringList activeProjectCodes(const QString& ostan, const QString& shahrestan)
{
    return ListBatch::alone([&](ListBatch& b) { return activeProjectCodes(b, ostan, shahrestan); });
}

std::optional<QSqlRecord> activeProject(const QString& ostan, const QString& shahrestan, const QString& prjCod)
{
    return dm().firstRow(QStringLiteral("select * from projects where ostan=? and shahrestan=? and prj_cod=? and status=? "
                                        "order by id"),
                         {nn(ostan), nn(shahrestan), nn(prjCod), items::freeStatus()});
}

QStringList freeUnits(qint64 prjId)
{
    return ListBatch::alone([&](ListBatch& b) { return freeUnits(b, prjId); });
}

std::optional<QSqlRecord> freeUnit(qint64 prjId, const QString& shenase)
{
    return dm().firstRow(QStringLiteral("select * from vahedha where prj_id=? and shenase=? and status=? order by id"),
                         {prjId, nn(shenase), items::freeStatus()});
}

// ---------------------------------------------------------------- field checks

QString mobileMessage(const QString& mobile)
{
    return !mobile.isEmpty() && mobile.size() != 11 ? custext::kMobileLength : QString();
}

QString sahmMessage(const QString& sahm)
{
    const auto value = tryParseReal(sahm.trimmed());
    if (!value)
        return {};
    return *value > 6 || *value < 1 ? custext::kSahmRange : QString();
}

// ---------------------------------------------------------------- conversion

Converted convert(const CustomerValues& values, bool editing)
{
    Converted c;
    const auto fail = [&c](const QString& field, const QString& message) {
        c.failedField = field;
        c.message = message;
        return c;
    };
    // The numbers in the order their messages have always been reported.  The
    // price and the loan come from the unit; an edit leaves the totals alone.
    for (const auto& [column, message] : custext::kConversionMessages) {
        const QString col = QString::fromLatin1(column);
        if (col == QLatin1String("mablagh") || col == QLatin1String("vam"))
            continue;
        if (editing && totalColumns().contains(col))
            continue;
        const auto f = recordField(col);
        const QString t = values.value(col).trimmed();
        if (f && f->kind == FieldKind::Money) {
            // Beyond the money columns' fifteen digits an amount does not convert either.
            const auto amount = tryParseAmount(t);
            if (!amount)
                return fail(col, QString::fromUtf8(message));
            c.values.insert(col, *amount);
        } else {
            const auto real = tryParseReal(t);
            if (!real)
                return fail(col, QString::fromUtf8(message));
            c.values.insert(col, *real);
        }
    }
    for (const Field& f : recordFields()) {
        if (c.values.contains(f.column) || f.column == QLatin1String("mablagh") || f.column == QLatin1String("vam") ||
            (editing && totalColumns().contains(f.column)))
            continue;
        const QString t = values.value(f.column);
        switch (f.kind) {
        case FieldKind::Int: {
            const QString digits = toAsciiDigits(t.trimmed());
            if (digits.isEmpty()) {
                c.values.insert(f.column, QVariant(QMetaType::fromType<int>()));
                break;
            }
            bool ok = false;
            const int n = digits.toInt(&ok);
            if (!ok || n < 0) {
                if (f.column == QLatin1String("prj_id"))
                    return fail(QStringLiteral("prj_cod"), custext::kNoProject);
                if (f.column == QLatin1String("vahed_id"))
                    return fail(QStringLiteral("shenase"), custext::kNoUnit);
                return fail(f.column, kOtaghNotNumber);
            }
            c.values.insert(f.column, n);
            break;
        }
        case FieldKind::Date: {
            const auto date = jalali::fieldDate(t);
            if (!date)
                return fail(f.column, jalali::invalidDateMessage(captionOf(f.column)));
            c.values.insert(f.column, *date);
            break;
        }
        case FieldKind::Text: {
            if (const auto r = checkTextLengths(QStringLiteral("customers"), {{f.column, t, captionOf(f.column)}}))
                return fail(r->field, r->message);
            c.values.insert(f.column, nn(t));
            break;
        }
        case FieldKind::Money:
        case FieldKind::Real:
            break;
        }
    }
    return c;
}

std::optional<QSqlRecord> customerRow(qint64 id)
{
    return dm().firstRow(QStringLiteral("select * from customers where id=?"), {id});
}

} // namespace tavrin::applicants
