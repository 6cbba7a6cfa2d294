#include "lookups.h"

#include "session.h"

#include "db/database.h"

#include <QComboBox>

namespace tavrin {

QStringList settingList(const QString& component)
{
    return dm().textColumn(QStringLiteral("select cmt from setting where component=? order by id"), {component});
}

QMap<QString, QStringList> settingLists(const QStringList& components)
{
    QMap<QString, QStringList> out;
    if (components.isEmpty())
        return out;
    QStringList marks;
    QVariantList values;
    for (const QString& c : components) {
        marks << QStringLiteral("?");
        values << c;
        out.insert(c, {});
    }
    QSqlQuery q = dm().exec(QStringLiteral("select component, cmt from setting where component in (%1) order by id")
                                .arg(marks.join(',')),
                            values);
    while (q.next())
        out[q.value(0).toString()] << q.value(1).toString();
    return out;
}

QString settingValue(const QString& component)
{
    const QStringList l = settingList(component);
    return l.isEmpty() ? QString() : l.first();
}

QStringList settingListOst(const QString& ostan, const QString& component)
{
    return dm().textColumn(QStringLiteral("select cmt from setting_ost where ostan=? and component=? order by id"),
                           {ostan, component});
}

QString settingValueOst(const QString& ostan, const QString& component)
{
    const QStringList l = settingListOst(ostan, component);
    return l.isEmpty() ? QString() : l.first();
}

QStringList settingListCity(const QString& ostan, const QString& shahrestan, const QString& component)
{
    return dm().textColumn(
        QStringLiteral("select cmt from setting_city where ostan=? and shahrestan=? and component=? order by id"),
        {ostan, shahrestan, component});
}

QString settingValueCity(const QString& ostan, const QString& shahrestan, const QString& component)
{
    const QStringList l = settingListCity(ostan, shahrestan, component);
    return l.isEmpty() ? QString() : l.first();
}

QStringList provinces(bool ordered)
{
    return dm().textColumn(ordered ? QStringLiteral("select distinct ostan from abadiha order by ostan")
                                   : QStringLiteral("select distinct ostan from abadiha"));
}

QStringList counties(const QString& ostan, bool ordered)
{
    return dm().textColumn(ordered ? QStringLiteral("select distinct shahrestan from abadiha where ostan=? order by shahrestan")
                                   : QStringLiteral("select distinct shahrestan from abadiha where ostan=?"),
                           {ostan});
}

QStringList grantedCounties(const QString& ostan, bool ordered)
{
    if (session().isAdminLevel())
        return counties(ostan, ordered);
    return dm().textColumn(QStringLiteral("select distinct shahrestan from abadiha where ostan=? and shahrestan in "
                                          "(select cmt from dastrasi2 where user_id=?)") +
                               (ordered ? QStringLiteral(" order by shahrestan") : QString()),
                           {ostan, session().prsId});
}

bool isGrantedCounty(const QString& shahrestan)
{
    if (session().isAdminLevel())
        return true;
    return dm().firstRow(QStringLiteral("select user_id from dastrasi2 where user_id=? and cmt=?"),
                         {session().prsId, shahrestan})
        .has_value();
}

QStringList cities(const QString& ostan, const QString& shahrestan, bool ordered)
{
    return dm().textColumn(
        ordered ? QStringLiteral("select distinct shahr from abadiha where ostan=? and shahrestan=? order by shahr")
                : QStringLiteral("select distinct shahr from abadiha where ostan=? and shahrestan=?"),
        {ostan, shahrestan});
}

int ListBatch::add(const QString& part, const QVariantList& values)
{
    m_parts << part;
    m_values += values;
    m_lists.append(QStringList());
    return int(m_parts.size()) - 1;
}

int ListBatch::distinct(const QString& column, const QString& fromWhere, const QVariantList& values)
{
    // Each part is tagged with its number; the id column is 0, so its values sort by themselves.
    return add(QStringLiteral("select distinct %1 as tavrin_k,0 as tavrin_n,%2 as tavrin_v ")
                   .arg(m_parts.size())
                   .arg(column) + fromWhere,
               values);
}

int ListBatch::byId(const QString& column, const QString& fromWhere, const QVariantList& values)
{
    return add(QStringLiteral("select %1 as tavrin_k,id as tavrin_n,%2 as tavrin_v ").arg(m_parts.size()).arg(column) + fromWhere,
               values);
}

int ListBatch::provinces()
{
    return distinct(QStringLiteral("ostan"), QStringLiteral("from abadiha"));
}

int ListBatch::grantedCounties(const QString& ostan)
{
    if (session().isAdminLevel())
        return distinct(QStringLiteral("shahrestan"), QStringLiteral("from abadiha where ostan=?"), {ostan});
    return distinct(QStringLiteral("shahrestan"),
                    QStringLiteral("from abadiha where ostan=? and shahrestan in (select cmt from dastrasi2 where user_id=?)"),
                    {ostan, session().prsId});
}

int ListBatch::cities(const QString& ostan, const QString& shahrestan)
{
    return distinct(QStringLiteral("shahr"), QStringLiteral("from abadiha where ostan=? and shahrestan=?"), {ostan, shahrestan});
}

int ListBatch::setting(const QString& component)
{
    return byId(QStringLiteral("cmt"), QStringLiteral("from setting where component=?"), {component});
}

int ListBatch::settingOst(const QString& ostan, const QString& component)
{
    return byId(QStringLiteral("cmt"), QStringLiteral("from setting_ost where ostan=? and component=?"), {ostan, component});
}

void ListBatch::read()
{
    if (m_parts.isEmpty())
        return;
    QSqlQuery q = dm().exec(m_parts.join(QStringLiteral(" union all ")) + QStringLiteral(" order by 1,2,3"), m_values);
    while (q.next()) {
        const int n = q.value(0).toInt();
        if (n >= 0 && n < m_lists.size())
            m_lists[n] << q.value(2).toString();
    }
}

void fillCombo(QComboBox* combo, const QStringList& items)
{
    const QSignalBlocker block(combo);
    combo->clear();
    combo->addItems(items);
    if (combo->isEditable())
        combo->setEditText(QString());
    else
        combo->setCurrentIndex(-1);
}

} // namespace tavrin
