#include "portable.h"

#include <QDateTime>
#include <QtEndian>

#include <cmath>
#include <limits>
#include <optional>

namespace tavrin::portable {

namespace {

// The kinds of canonical value; a checksum feeds the kind before the bytes.
enum Kind : char { Null = 'N', Number = 'I', Decimal = 'D', Real = 'R', Flag = 'B', Text = 'T', Bytes = 'X', Stamp = 'S' };

struct Canonical {
    Kind kind = Null;
    QByteArray bytes;
    QVariant bind;      // what to bind on the other database
    QString bad;        // why the value cannot be written, "" when it can
};

bool isIntegral(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

bool isReal(const QVariant& v)
{
    return v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float;
}

// Text of a value that a number column holds; older databases kept some
// numbers as text ("12 ", "").
QString numberText(const QVariant& v)
{
    return v.toString().trimmed();
}

std::optional<qint64> integerOf(const QVariant& v)
{
    if (isIntegral(v))
        return v.toLongLong();
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? 1 : 0;
    if (isReal(v)) {
        const double d = v.toDouble();
        if (std::isfinite(d) && std::floor(d) == d && std::fabs(d) < 9.2e18)
            return qint64(d);
        return std::nullopt;
    }
    bool ok = false;
    const qint64 n = numberText(v).toLongLong(&ok);
    return ok ? std::optional<qint64>(n) : std::nullopt;
}

// Digits with an optional sign and an optional point: [+-]?\d+(\.\d*)?
bool isPlainDecimal(const QString& s)
{
    qsizetype i = 0;
    if (i < s.size() && (s.at(i) == '+' || s.at(i) == '-'))
        ++i;
    const qsizetype digitsFrom = i;
    while (i < s.size() && s.at(i).unicode() >= '0' && s.at(i).unicode() <= '9')
        ++i;
    if (i == digitsFrom)
        return false;
    if (i < s.size() && s.at(i) == '.')
        for (++i; i < s.size() && s.at(i).unicode() >= '0' && s.at(i).unicode() <= '9';)
            ++i;
    return i == s.size();
}

// A decimal amount as the shortest exact text: no exponent, no leading zeros,
// no trailing zeros after the point ("1500000", "12.5", "-0.25").
std::optional<QString> decimalOf(const QVariant& v)
{
    QString s;
    if (isIntegral(v)) {
        return QString::number(v.toLongLong());
    } else if (isReal(v)) {
        const double d = v.toDouble();
        if (!std::isfinite(d))
            return std::nullopt;
        s = QString::number(d, 'f', 4);
    } else {
        s = numberText(v);
        if (!isPlainDecimal(s)) {
            bool ok = false;
            const double d = s.toDouble(&ok);
            if (!ok || !std::isfinite(d))
                return std::nullopt;
            s = QString::number(d, 'f', 4);
        }
    }
    bool negative = false;
    if (s.startsWith('+') || s.startsWith('-')) {
        negative = s.startsWith('-');
        s.remove(0, 1);
    }
    // Leading zeros of the whole part and trailing zeros of the fraction go.
    const qsizetype point = s.indexOf('.');
    const qsizetype wholeEnd = point < 0 ? s.size() : point;
    qsizetype from = 0;
    while (from + 1 < wholeEnd && s.at(from) == '0')
        ++from;
    qsizetype to = s.size();
    if (point >= 0) {
        while (to > point + 1 && s.at(to - 1) == '0')
            --to;
        if (to == point + 1)
            to = point;
    }
    QString out = s.mid(from, to - from);
    if (negative && out != QLatin1String("0"))
        out.prepend('-');
    return out;
}

// Timestamps, dates and times filled by the server: the text every server
// accepts and SQLite's own defaults write.
std::optional<QString> stampOf(ColType type, const QVariant& v)
{
    const QString dateFormat = QStringLiteral("yyyy-MM-dd"), timeFormat = QStringLiteral("HH:mm:ss");
    const QString format = type == ColType::Today ? dateFormat
                           : type == ColType::TimeNow ? timeFormat
                                                      : dateFormat + ' ' + timeFormat;
    switch (v.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        return dt.isValid() ? std::optional<QString>(dt.toString(format)) : std::nullopt;
    }
    case QMetaType::QDate: {
        const QDate d = v.toDate();
        return d.isValid() ? std::optional<QString>(QDateTime(d, QTime(0, 0)).toString(format)) : std::nullopt;
    }
    case QMetaType::QTime: {
        const QTime t = v.toTime();
        return t.isValid() ? std::optional<QString>(t.toString(format)) : std::nullopt;
    }
    default:
        break;
    }
    QString s = v.toString().trimmed();
    if (type == ColType::TimeNow) {
        QTime t = QTime::fromString(s.left(8), timeFormat);
        return t.isValid() ? std::optional<QString>(t.toString(format)) : std::nullopt;
    }
    if (type == ColType::Today) {
        const QDate d = QDate::fromString(s.left(10), dateFormat);
        return d.isValid() ? std::optional<QString>(d.toString(format)) : std::nullopt;
    }
    s.replace('T', ' ');
    const QDateTime dt = QDateTime::fromString(s.left(19), dateFormat + ' ' + timeFormat);
    return dt.isValid() ? std::optional<QString>(dt.toString(format)) : std::nullopt;
}

int characters(const QString& s)
{
    int n = 0;
    for (qsizetype i = 0; i < s.size(); ++i)
        if (!s.at(i).isLowSurrogate())
            ++n;
    return n;
}

Canonical canonical(const ColumnDef& c, const QVariant& v, bool checkLength)
{
    Canonical out;
    const auto nullOf = [&](QMetaType type) {
        out.kind = Null;
        out.bind = QVariant(type);
        return out;
    };
    switch (c.type) {
    case ColType::Identity:
    case ColType::BigIdentity:
    case ColType::Int:
    case ColType::BigInt: {
        if (v.isNull() || (!isIntegral(v) && !isReal(v) && numberText(v).isEmpty()))
            return nullOf(QMetaType::fromType<qlonglong>());
        const auto n = integerOf(v);
        if (!n) {
            out.bad = QStringLiteral("not a whole number: \"%1\"").arg(v.toString());
            return out;
        }
        if ((c.type == ColType::Int || c.type == ColType::Identity) && (*n > 2147483647LL || *n < -2147483648LL)) {
            out.bad = QStringLiteral("number too large: %1").arg(*n);
            return out;
        }
        out.kind = Number;
        out.bytes = QByteArray::number(*n);
        out.bind = qlonglong(*n);
        return out;
    }
    case ColType::Money: {
        if (v.isNull() || (!isIntegral(v) && !isReal(v) && numberText(v).isEmpty()))
            return nullOf(QMetaType::fromType<QString>());
        const auto d = decimalOf(v);
        if (!d) {
            out.bad = QStringLiteral("not an amount: \"%1\"").arg(v.toString());
            return out;
        }
        // numeric(19,4): at most fifteen digits before the point.
        const qsizetype point = d->indexOf('.');
        if ((point < 0 ? d->size() : point) - (d->startsWith('-') ? 1 : 0) > 15) {
            out.bad = QStringLiteral("amount beyond the money precision: %1").arg(*d);
            return out;
        }
        out.kind = Decimal;
        out.bytes = d->toLatin1();
        out.bind = *d;   // exact on every server: numeric parses the text
        return out;
    }
    case ColType::Float: {
        if (v.isNull() || (!isIntegral(v) && !isReal(v) && numberText(v).isEmpty()))
            return nullOf(QMetaType::fromType<double>());
        bool ok = true;
        const double d = isIntegral(v) || isReal(v) ? v.toDouble() : numberText(v).toDouble(&ok);
        if (!ok || !std::isfinite(d)) {
            out.bad = QStringLiteral("not a number: \"%1\"").arg(v.toString());
            return out;
        }
        out.kind = Real;
        // Fifteen significant digits: what every server keeps of a double.
        out.bytes = QByteArray::number(d, 'g', 15);
        out.bind = d;
        return out;
    }
    case ColType::Bit: {
        if (v.isNull())
            return nullOf(QMetaType::fromType<bool>());
        out.kind = Flag;
        out.bytes = v.toBool() ? "1" : "0";
        out.bind = v.toBool();
        return out;
    }
    case ColType::Text: {
        if (v.isNull())
            return nullOf(QMetaType::fromType<QString>());
        const QString s = text(v);
        if (checkLength && c.length > 0 && characters(s) > c.length) {
            out.bad = QStringLiteral("text longer than %1 characters").arg(c.length);
            return out;
        }
        out.kind = Text;
        out.bytes = s.toUtf8();
        out.bind = s;
        return out;
    }
    case ColType::Blob: {
        if (v.isNull())
            return nullOf(QMetaType::fromType<QByteArray>());
        QByteArray b = v.toByteArray();
        if (b.isNull())
            b = QByteArray("");  // an empty file stays an empty value, not NULL
        out.kind = Bytes;
        out.bytes = b;
        out.bind = b;
        return out;
    }
    case ColType::Now:
    case ColType::Today:
    case ColType::TimeNow: {
        if (v.isNull() || v.toString().trimmed().isEmpty())
            return nullOf(QMetaType::fromType<QString>());
        const auto s = stampOf(c.type, v);
        if (!s) {
            out.bad = QStringLiteral("not a date or time: \"%1\"").arg(v.toString());
            return out;
        }
        out.kind = Stamp;
        out.bytes = s->toLatin1();
        out.bind = *s;
        return out;
    }
    }
    return out;
}

} // namespace

QVariant bindValue(const ColumnDef& c, const QVariant& v, bool checkLength)
{
    Canonical k = canonical(c, v, checkLength);
    if (!k.bad.isEmpty())
        throw BadValue {c.name, k.bad};
    return k.bind;
}

void Digest::addRow(const QList<const ColumnDef*>& columns, const QVariantList& row, QVariantList* binds,
                    bool checkLength)
{
    QCryptographicHash h(QCryptographicHash::Sha1);
    if (binds) {
        binds->clear();
        binds->reserve(columns.size());
    }
    for (int i = 0; i < columns.size(); ++i) {
        const QVariant& v = row.at(i);
        Canonical k = canonical(*columns[i], v, binds && checkLength);
        if (!k.bad.isEmpty()) {
            if (binds)
                throw BadValue {columns[i]->name, k.bad};
            // A value that cannot be written still counts, by its text.
            k.kind = Text;
            k.bytes = v.toString().toUtf8();
        }
        if (binds)
            *binds << std::move(k.bind);
        const char kind = char(k.kind);
        const quint32 size = qToBigEndian(quint32(k.bytes.size()));
        h.addData(QByteArrayView(&kind, 1));
        h.addData(QByteArrayView(reinterpret_cast<const char*>(&size), 4));
        h.addData(k.bytes);
    }
    m_sum += qFromBigEndian<quint64>(h.resultView().data());
    ++m_rows;
}

QString Digest::hex() const
{
    return QStringLiteral("%1").arg(m_sum, 16, 16, QLatin1Char('0'));
}

QList<const ColumnDef*> sharedColumns(const TableDef& t, const QStringList& a, const QStringList& b)
{
    QList<const ColumnDef*> out;
    for (const ColumnDef& c : t.columns)
        if (a.contains(c.name, Qt::CaseInsensitive) && b.contains(c.name, Qt::CaseInsensitive))
            out << &c;
    return out;
}

QString columnList(const QList<const ColumnDef*>& columns)
{
    QStringList names;
    for (const ColumnDef* c : columns)
        names << c->name;
    return names.join(',');
}

void readTable(Database& db, const TableDef& t, const QList<const ColumnDef*>& columns, int page,
               const std::function<void(const QVariantList&)>& row)
{
    const QString select = QStringLiteral("select %1 from %2").arg(columnList(columns), t.name);
    int idAt = -1;
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i]->type == ColType::Identity || columns[i]->type == ColType::BigIdentity)
            idAt = i;
    // One list of values refilled per row (a record's value(i) copies its
    // whole field, name included, for every value read).
    QVariantList values;
    const auto each = [&](QSqlQuery& q, const std::function<void(const QVariantList&)>& visit) {
        values.resize(columns.size());
        while (q.next()) {
            for (int i = 0; i < values.size(); ++i)
                values[i] = q.value(i);
            visit(values);
        }
    };
    if (idAt < 0) {
        QSqlQuery q = db.exec(select);
        each(q, row);
        return;
    }
    const Dialect& d = db.dialect();
    const QString id = columns[idAt]->name;
    const QString sql = select + QStringLiteral(" where %1>? order by %1").arg(id) + d.pageClause();
    qint64 last = std::numeric_limits<qint32>::min();  // bound as the id column's own type
    for (;;) {
        const QVariantList values = d.pageBindsOffsetFirst() ? QVariantList {last, 0, page} : QVariantList {last, page, 0};
        QSqlQuery q = db.exec(sql, values);
        int n = 0;
        each(q, [&](const QVariantList& r) {
            ++n;
            last = r.at(idAt).toLongLong();
            row(r);
        });
        if (n < page)
            return;
    }
}

Digest digestTable(Database& db, const TableDef& t, const QList<const ColumnDef*>& columns)
{
    Digest d;
    readTable(db, t, columns, 200, [&](const QVariantList& row) { d.addRow(columns, row); });
    return d;
}

} // namespace tavrin::portable
