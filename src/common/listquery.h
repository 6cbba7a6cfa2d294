#pragma once
// The search statement of a list window: a fixed head whose condition on id is
// always true, then one " and ..." condition per ticked criterion, every value
// bound.  The same conditions give the count statement for the list's counter.
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace tavrin {

// Which users a list limits to their granted counties.
enum class CountyScope {
    None,
    AllButAdmin,         // every level but "admin"
    ProvincialAndCounty  // the levels "ostan" and "city"
};

class ListQuery {
public:
    // select: "select *" or "select shoraka.*, customers.fname as fname_asli";
    // from: "from shoraka left join customers on ..."; idColumn: "id" or "shoraka.id".
    ListQuery(QString select, QString from, QString idColumn = QStringLiteral("id"));
    ListQuery() = default;

    // " and <condition>" with its values.
    ListQuery& where(const QString& condition, const QVariantList& values = {});
    // A text criterion: matches "%text%" with Arabic and Persian yeh and kaf as
    // one letter.  The comparison is byte-wise; "%" and "_" typed in the text
    // are wildcards, every other character matches itself.
    ListQuery& like(const QString& column, const QString& text);
    // The same criterion on a column that has a search key (the schema's
    // "search" lines): the key first narrows the rows, the like() condition then
    // decides.  Without a key in the database it is like(table.column, text).
    ListQuery& contains(const QString& table, const QString& column, const QString& text);
    // The same on an expression, without folding (numbers compared as text).
    ListQuery& likeUnfolded(const QString& expr, const QString& text);
    // An exact comparison.
    ListQuery& equals(const QString& column, const QVariant& value);
    // " and <column> in (select cmt from dastrasi2 where user_id=<session user>)"
    // when the session's level falls under the rule.
    ListQuery& countyScope(const QString& column, CountyScope rule);
    ListQuery& orderBy(const QString& order) { m_order = order; return *this; }
    // A total over the whole result that the list reads in the same statement
    // as its count and first page (one round trip): name -> aggregate of the
    // select's tables, e.g. total("vk", "sum(vahed_kol)").  ListModel::totals()
    // gives the values after a search.
    ListQuery& total(const QString& name, const QString& aggregate);
    const QList<QPair<QString, QString>>& totals() const { return m_totals; }

    QString select() const { return m_select; }
    QString from() const { return m_from; }
    QString whereSql() const;        // " where id<>-1 and ..."
    QString order() const { return m_order; }
    QVariantList values() const { return m_values; }
    QString listSql() const;         // select + from + where + order by
    QString countSql() const;        // "select count(*) as c " + from + where
    bool isEmpty() const { return m_select.isEmpty(); }
    QString idColumn() const { return m_id; }
    // A search key narrows the result (contains() found a key that helps): the
    // rows kept are few, and on PostgreSQL the list finds them once for its
    // count and first page (ListModel).
    bool narrowedByKey() const { return m_narrowed; }

private:
    QString m_select, m_from, m_id, m_order;
    bool m_narrowed = false;
    QStringList m_conditions;
    QVariantList m_values;
    QList<QPair<QString, QString>> m_totals;
};

// Folds the yeh and kaf forms of a searched text the way Dialect::fold folds columns.
QString foldText(const QString& text);

} // namespace tavrin
