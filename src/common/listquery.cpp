#include "listquery.h"

#include "session.h"

#include "db/database.h"

namespace tavrin {

QString foldText(const QString& text)
{
    QString t = text;
    t.replace(QChar(0x064A), QChar(0x06CC));  // ي -> ی
    t.replace(QChar(0x0649), QChar(0x06CC));  // ى -> ی
    t.replace(QChar(0x0643), QChar(0x06A9));  // ك -> ک
    return t;
}

ListQuery::ListQuery(QString select, QString from, QString idColumn)
    : m_select(std::move(select)), m_from(std::move(from)), m_id(std::move(idColumn))
{
}

ListQuery& ListQuery::where(const QString& condition, const QVariantList& values)
{
    m_conditions << condition;
    m_values << values;
    return *this;
}

ListQuery& ListQuery::total(const QString& name, const QString& aggregate)
{
    m_totals.append({name, aggregate});
    return *this;
}

ListQuery& ListQuery::like(const QString& column, const QString& text)
{
    return likeUnfolded(dm().dialect().fold(column), foldText(text));
}

ListQuery& ListQuery::likeUnfolded(const QString& expr, const QString& text)
{
    const Dialect& d = dm().dialect();
    return where(d.likeCondition(expr), {QString(QStringLiteral("%") + d.likeText(text) + QStringLiteral("%"))});
}

ListQuery& ListQuery::contains(const QString& table, const QString& column, const QString& text)
{
    const Database& db = dm();
    if (db.hasSearchKey(table, column))
        if (const auto p = db.dialect().searchPrefilter(table, column, foldText(text))) {
            where(p->sql, {p->value});
            m_narrowed = true;
        }
    return like(table + QLatin1Char('.') + column, text);
}

ListQuery& ListQuery::equals(const QString& column, const QVariant& value)
{
    return where(column + QStringLiteral("=?"), {value});
}

ListQuery& ListQuery::countyScope(const QString& column, CountyScope rule)
{
    const Session& s = session();
    const bool applies = (rule == CountyScope::AllButAdmin && !s.isAdminLevel()) ||
                         (rule == CountyScope::ProvincialAndCounty && s.isProvincialOrCounty());
    if (applies)
        where(column + QStringLiteral(" in ( select cmt from dastrasi2 where user_id=?)"), {s.prsId});
    return *this;
}

QString ListQuery::whereSql() const
{
    QString w = QStringLiteral(" where ") + m_id + QStringLiteral("<>-1");
    for (const QString& c : m_conditions)
        w += QStringLiteral(" and ") + c;
    return w;
}

QString ListQuery::listSql() const
{
    QString sql = m_select + ' ' + m_from + whereSql();
    if (!m_order.isEmpty())
        sql += QStringLiteral(" order by ") + m_order;
    return sql;
}

QString ListQuery::countSql() const
{
    return QStringLiteral("select count(*) as c ") + m_from + whereSql();
}

} // namespace tavrin
