#include "common/history.h"

#include "common/jalali.h"
#include "common/session.h"

#include "db/database.h"
#include "db/dialect.h"
#include "db/schema.h"

#include <QRandomGenerator>
#include <QSqlField>
#include <QTime>

namespace tavrin::history {

namespace {

// What the writer keeps about the transaction under way: whether its log row
// was already written (later history rows take its id at once) or history
// rows wait for it (they carry a negative mark of this transaction, which the
// log row's update replaces by its id).
struct Pending {
    const Database* db = nullptr;
    quint64 serial = 0;
    bool logWritten = false;
    bool waiting = false;
    qint64 mark = 0;
};
Pending g_pending;

Pending& pendingOf(const Database& db)
{
    if (g_pending.db != &db || g_pending.serial != db.transactionSerial() || db.transactionDepth() == 0) {
        g_pending = Pending {};
        g_pending.db = &db;
        g_pending.serial = db.transactionSerial();
        // Negative, so that it is never a log row's id; wide, so that two
        // actions never share it.
        g_pending.mark = -qint64(QRandomGenerator::global()->generate64() >> 2) - 1;
    }
    return g_pending;
}

const QString kColumns = QStringLiteral("tbl,rec_id,cust_id,prj_id,field,old_val,new_val,amal,user_id,karbar,tarikh,saat,log_id");
constexpr int kValueLength = 4000;

const ColumnDef* columnDef(const QString& table, const QString& column)
{
    const TableDef* t = schema().table(table);
    return t ? t->column(column) : nullptr;
}

// Columns whose values the history never holds.
bool skipped(const ColumnDef* c, const QString& column)
{
    if (column == QLatin1String("id"))
        return true;
    return c && (c->type == ColType::Blob || c->type == ColType::Identity || c->type == ColType::BigIdentity ||
                 c->type == ColType::Now || c->type == ColType::Today || c->type == ColType::TimeNow);
}

bool secret(const QString& table, const QString& column)
{
    return table == QLatin1String("users") && column == QLatin1String("ps");
}

// A value an insert or a delete records: one that says something.
bool meaningful(const std::optional<QString>& v)
{
    return v && !v->isEmpty() && *v != QLatin1String(kEmptyDateMask);
}

QString trimmedAmount(QString t)
{
    if (t.contains(QLatin1Char('.')) && !t.contains(QLatin1Char('e'), Qt::CaseInsensitive)) {
        while (t.endsWith(QLatin1Char('0')))
            t.chop(1);
        if (t.endsWith(QLatin1Char('.')))
            t.chop(1);
    }
    return t;
}

std::optional<QString> textOf(const QString& table, const QString& column, const QVariant& value)
{
    if (isNullValue(value))
        return std::nullopt;
    const ColumnDef* c = columnDef(table, column);
    const ColType type = c ? c->type : ColType::Text;
    const auto type_id = value.metaType().id();
    switch (type) {
    case ColType::Money:
        if (type_id == QMetaType::Double || type_id == QMetaType::Float)
            return trimmedAmount(QString::number(value.toDouble(), 'f', 4));
        return trimmedAmount(value.toString().trimmed());
    case ColType::Int:
    case ColType::BigInt: {
        bool ok = false;
        const qlonglong n = value.toLongLong(&ok);
        return ok ? QString::number(n) : value.toString();
    }
    case ColType::Bit:
        if (type_id == QMetaType::QString) {
            const QString t = value.toString().trimmed().toLower();
            return (t.isEmpty() || t == QLatin1String("0") || t == QLatin1String("f") || t == QLatin1String("false"))
                       ? QStringLiteral("0") : QStringLiteral("1");
        }
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case ColType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    default:
        return value.toString();
    }
}

// A stored text as bound: empty stays '' (a null QString would bind NULL).
QVariant bound(const std::optional<QString>& v)
{
    if (!v)
        return QVariant(QMetaType::fromType<QString>());
    if (v->isEmpty())
        return QStringLiteral("");
    return cutToLength(*v, kValueLength);
}

// A column's value (or an expression of its type) as the history's text, in SQL.
QString textExpr(const Dialect& d, const ColumnDef& c, const QString& expr)
{
    switch (c.type) {
    case ColType::Text: return expr;
    case ColType::Money: return d.moneyText(expr);
    case ColType::Bit: return QStringLiteral("cast(cast(%1 as int) as varchar(1))").arg(expr);
    case ColType::Float:
        // A whole number without the ".0" SQLite writes, as storedText gives it.
        return QStringLiteral("case when %1=cast(%1 as bigint) then cast(cast(%1 as bigint) as varchar(40)) "
                              "else cast(%1 as varchar(40)) end")
            .arg(expr);
    default: return QStringLiteral("cast(%1 as varchar(40))").arg(expr);
    }
}

QString userName()
{
    return cutToLength(session().karbar, 150);
}

} // namespace

QString storedText(const QString& table, const QString& column, const QVariant& value)
{
    const auto t = textOf(table, column, value);
    return t ? (t->isEmpty() ? QStringLiteral("") : *t) : QString();
}

void write(const QString& table, qint64 id, Owner owner, const QString& action,
           const std::optional<QSqlRecord>& before, const QVariantMap& after)
{
    write(dm(), table, id, owner, action, before, after);
}

void write(Database& db, const QString& table, qint64 id, Owner owner, const QString& action,
           const std::optional<QSqlRecord>& before, const QVariantMap& after)
{
    const bool inserting = action == QLatin1String(kInsert);
    const bool deleting = action == QLatin1String(kDelete);
    QStringList columns;
    if (deleting) {
        if (before)
            for (int i = 0; i < before->count(); ++i)
                columns << before->fieldName(i);
    } else {
        columns = after.keys();
    }
    struct Change {
        QString field;
        std::optional<QString> was, now;
    };
    QList<Change> changes;
    for (const QString& column : columns) {
        if (skipped(columnDef(table, column), column))
            continue;
        std::optional<QString> was, now;
        if (before && !inserting) {
            const int at = before->indexOf(column);
            if (at >= 0)
                was = textOf(table, column, before->value(at));
        }
        if (!deleting)
            now = textOf(table, column, after.value(column));
        // An edit between two empty values (NULL, '' or the empty date) is
        // none: a window saves '' where NULL was stored without the user
        // changing anything he can see.
        if (inserting ? !meaningful(now) : deleting ? !meaningful(was) : was == now || (!meaningful(was) && !meaningful(now)))
            continue;
        if (secret(table, column)) {
            // Only that it changed.
            changes.append({column, std::nullopt, std::nullopt});
            continue;
        }
        changes.append({column, was, now});
    }
    if (changes.isEmpty())
        return;

    Pending& p = pendingOf(db);
    const QString logId = p.logWritten ? db.dialect().lastOwnId(QStringLiteral("log")) : QStringLiteral("?");
    const QString tuple = QStringLiteral("(?,?,?,?,?,?,?,?,?,?,?,?,%1)").arg(logId);
    QStringList tuples;
    QVariantList values;
    const QString today = jalali::today();
    const QString now = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    for (const Change& c : changes) {
        tuples << tuple;
        values << table << id << owner.customer << owner.project << c.field << bound(c.was) << bound(c.now) << action
               << session().prsId << userName() << today << now;
        if (!p.logWritten)
            values << p.mark;
    }
    if (!p.logWritten && db.transactionDepth() > 0)
        p.waiting = true;
    db.execLater(QStringLiteral("insert into %1 (%2) values %3")
                     .arg(QString::fromLatin1(kTable), kColumns, tuples.join(QLatin1Char(','))),
                 values);
}

void fieldChanged(const QString& table, qint64 id, Owner owner, const QString& column, const QVariant& was,
                  const QVariant& now)
{
    QSqlRecord before;
    before.append(QSqlField(column, was.metaType()));
    before.setValue(0, was);
    write(table, id, owner, QString::fromLatin1(kEdit), before, {{column, now}});
}

void deletedWhere(const QString& table, const QString& where, const QVariantList& values, Owner owner,
                  const QString& ownerColumn)
{
    const TableDef* t = schema().table(table);
    if (!t)
        return;
    Database& db = dm();
    const Dialect& d = db.dialect();
    Pending& p = pendingOf(db);
    const QString logId = p.logWritten ? d.lastOwnId(QStringLiteral("log")) : QStringLiteral("cast(? as bigint)");
    const QString today = jalali::today();
    const QString now = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    const bool perRow = !ownerColumn.isEmpty();
    const QString custExpr = perRow && owner.customer != 0 ? QStringLiteral("cast(%1 as integer)").arg(ownerColumn)
                                                           : QStringLiteral("cast(? as integer)");
    const QString prjExpr = perRow && owner.project != 0 ? QStringLiteral("cast(%1 as integer)").arg(ownerColumn)
                                                         : QStringLiteral("cast(? as integer)");
    QStringList parts;
    QVariantList bound;
    for (const ColumnDef& c : t->columns) {
        if (skipped(&c, c.name) || secret(table, c.name))
            continue;
        const QString expr = textExpr(d, c, c.name);
        parts << QStringLiteral("select ?,id,%5,%6,?,%1,null,?,cast(? as integer),?,?,?,%2 "
                                "from %3 where (%4) and %1 is not null and %1<>? and %1<>?")
                     .arg(expr, logId, table, where, custExpr, prjExpr);
        bound << table;
        if (custExpr.contains(QLatin1Char('?')))
            bound << owner.customer;
        if (prjExpr.contains(QLatin1Char('?')))
            bound << owner.project;
        bound << c.name << QString::fromLatin1(kDelete) << session().prsId << userName() << today << now;
        if (!p.logWritten)
            bound << p.mark;
        bound << values << QStringLiteral("") << QString::fromLatin1(kEmptyDateMask);
    }
    if (parts.isEmpty())
        return;
    if (!p.logWritten && db.transactionDepth() > 0)
        p.waiting = true;
    db.execLater(QStringLiteral("insert into %1 (%2) ").arg(QString::fromLatin1(kTable), kColumns) +
                     parts.join(QStringLiteral(" union all ")),
                 bound);
}

namespace {

// Whether the text `expr` is empty: NULL, '' or the empty date (bound once,
// after the expression's own values, which it names three times).
QString blankSql(const QString& expr)
{
    return QStringLiteral("(%1 is null or %1='' or %1=?)").arg(expr);
}

// The insert ... select behind changedWhere and changedToWhere: `newExpr` is
// the new value's text in SQL with its bound values, `differs` the condition
// that it differs from the old text (with its bound values).
void queueChanged(const QString& table, const QString& column, const QString& newExpr, const QVariantList& newValues,
                  const QString& differs, const QVariantList& differsValues, const QString& where,
                  const QVariantList& values, Owner owner, const QString& ownerColumn)
{
    const ColumnDef* c = columnDef(table, column);
    Database& db = dm();
    const Dialect& d = db.dialect();
    Pending& p = pendingOf(db);
    const QString logId = p.logWritten ? d.lastOwnId(QStringLiteral("log")) : QStringLiteral("cast(? as bigint)");
    const bool perRow = !ownerColumn.isEmpty();
    const QString custExpr = perRow && owner.customer != 0 ? QStringLiteral("cast(%1 as integer)").arg(ownerColumn)
                                                           : QStringLiteral("cast(? as integer)");
    const QString prjExpr = perRow && owner.project != 0 ? QStringLiteral("cast(%1 as integer)").arg(ownerColumn)
                                                         : QStringLiteral("cast(? as integer)");
    QVariantList args {table};
    if (custExpr.contains(QLatin1Char('?')))
        args << owner.customer;
    if (prjExpr.contains(QLatin1Char('?')))
        args << owner.project;
    args << column << newValues << QString::fromLatin1(kEdit) << session().prsId << userName() << jalali::today()
         << QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    if (!p.logWritten)
        args << p.mark;
    args << values << differsValues;
    if (!p.logWritten && db.transactionDepth() > 0)
        p.waiting = true;
    db.execLater(QStringLiteral("insert into %1 (%2) select ?,id,%3,%4,?,%5,%6,?,cast(? as integer),?,?,?,%7 from %8 ")
                         .arg(QString::fromLatin1(kTable), kColumns, custExpr, prjExpr, textExpr(d, *c, column), newExpr, logId,
                              table) +
                     QStringLiteral("where (") + where + QStringLiteral(") and ") + differs,
                 args);
}

} // namespace

void changedWhere(const QString& table, const QString& column, const QVariant& now, const QString& where,
                  const QVariantList& values, Owner owner, const QString& ownerColumn)
{
    const ColumnDef* c = columnDef(table, column);
    if (!c || skipped(c, column) || secret(table, column))
        return;
    const QString old = textExpr(dm().dialect(), *c, column);
    // A row changes when its stored text differs from the new one; between
    // two empty values (NULL, '' or the empty date) nothing changes.
    const std::optional<QString> newText = textOf(table, column, now);
    if (meaningful(newText))
        queueChanged(table, column, QStringLiteral("?"), {bound(newText)}, QStringLiteral("(%1 is null or %1<>?)").arg(old),
                     {*newText}, where, values, owner, ownerColumn);
    else
        queueChanged(table, column, newText ? QStringLiteral("?") : QStringLiteral("null"),
                     newText ? QVariantList {bound(newText)} : QVariantList {},
                     QStringLiteral("not %1").arg(blankSql(old)), {QString::fromLatin1(kEmptyDateMask)}, where, values,
                     owner, ownerColumn);
}

void changedToWhere(const QString& table, const QString& column, const QString& nowSql, const QVariantList& nowValues,
                    const QString& where, const QVariantList& values, Owner owner, const QString& ownerColumn)
{
    const ColumnDef* c = columnDef(table, column);
    if (!c || skipped(c, column) || secret(table, column))
        return;
    const Dialect& d = dm().dialect();
    const QString old = textExpr(d, *c, column);
    const QString now = textExpr(d, *c, QStringLiteral("(%1)").arg(nowSql));
    // An empty value (NULL, '' or the empty date) apart from any other, on
    // both backends; two empty values are no change.
    const QVariantList mask {QString::fromLatin1(kEmptyDateMask)};
    const QVariantList nowBlank = nowValues + nowValues + nowValues + mask;
    queueChanged(table, column, now, nowValues,
                 QStringLiteral("(case when %1 then not %2 when %2 then 1=1 else %3<>%4 end)")
                     .arg(blankSql(old), blankSql(now), old, now),
                 mask + nowBlank + nowBlank + nowValues, where, values, owner, ownerColumn);
}

void listChanged(const QString& table, qint64 id, Owner owner, const QString& field, const QString& listTable,
                 const QString& keyColumn, const QString& valueColumn, const QStringList& now)
{
    Database& db = dm();
    Pending& p = pendingOf(db);
    const QString logId = p.logWritten ? db.dialect().lastOwnId(QStringLiteral("log")) : QStringLiteral("cast(? as bigint)");
    const QVariantList head {table, id, owner.customer, owner.project, field};
    QVariantList tail {QString::fromLatin1(kEdit), session().prsId, userName(), jalali::today(),
                       QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))};
    if (!p.logWritten)
        tail << p.mark;
    const QString select = QStringLiteral("select ?,cast(? as integer),cast(? as integer),cast(? as integer),?,%1,%2,?,"
                                          "cast(? as integer),?,?,?,") + logId;
    const QString insert = QStringLiteral("insert into %1 (%2) ").arg(QString::fromLatin1(kTable), kColumns);
    // Dropped: the stored values the new list does not hold.
    QString where = keyColumn + QStringLiteral("=?");
    QVariantList values = head + tail;
    values << id;
    if (!now.isEmpty()) {
        where += QStringLiteral(" and %1 not in (%2)").arg(valueColumn, QStringList(now.size(), QStringLiteral("?")).join(','));
        for (const QString& v : now)
            values << v;
    }
    db.execLater(insert + select.arg(valueColumn, QStringLiteral("null")) + QStringLiteral(" from ") + listTable +
                     QStringLiteral(" where ") + where,
                 values);
    // Added: each new value not stored yet.
    for (const QString& v : now)
        db.execLater(insert + select.arg(QStringLiteral("null"), QStringLiteral("?")) +
                         QStringLiteral(" where not exists (select 1 from %1 where %2=? and %3=?)").arg(listTable, keyColumn, valueColumn),
                     QVariantList(head) << v << tail << id << v);
    if (!p.logWritten && db.transactionDepth() > 0)
        p.waiting = true;
}

void noteLogRow(Database& db)
{
    if (db.transactionDepth() == 0)
        return;
    Pending& p = pendingOf(db);
    if (p.waiting)
        db.execLater(QStringLiteral("update %1 set log_id=%2 where log_id=?")
                         .arg(QString::fromLatin1(kTable), db.dialect().lastOwnId(QStringLiteral("log"))),
                     {p.mark});
    p.waiting = false;
    p.logWritten = true;
}

QString recordCondition(const QString& table, qint64 id, QVariantList& values)
{
    if (table == QLatin1String("customers")) {
        values << id;
        return QStringLiteral("cust_id=?");
    }
    if (table == QLatin1String("projects")) {
        values << id;
        return QStringLiteral("prj_id=?");
    }
    values << table << id;
    return QStringLiteral("tbl=? and rec_id=?");
}

QList<Entry> ofRecord(Database& db, const QString& table, qint64 id)
{
    QVariantList values;
    const QString where = recordCondition(table, id, values);
    QList<Entry> out;
    db.forEachRow(QStringLiteral("select tbl,rec_id,field,old_val,new_val,amal,karbar,tarikh,saat,log_id from taghirat where ") +
                      where + QStringLiteral(" order by id desc"),
                  values, [&](const QSqlRecord& r) {
                      const auto text = [&r](int i) { return r.isNull(i) ? QString() : r.value(i).toString(); };
                      Entry e;
                      e.table = text(0);
                      e.record = r.value(1).toLongLong();
                      e.field = text(2);
                      e.before = text(3);
                      e.after = text(4);
                      e.action = text(5);
                      e.user = text(6);
                      e.date = text(7);
                      e.time = text(8);
                      e.logId = r.value(9).toLongLong();
                      out << e;
                  });
    return out;
}

} // namespace tavrin::history
