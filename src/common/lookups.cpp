#include "lookups.h"

#include "session.h"

#include "db/database.h"

#include <QComboBox>

namespace tavrin {

namespace {

// The rows each division list is read from, alone or in a batch.
const QString kProvincesFrom = QStringLiteral("from abadiha");
const QString kCountiesFrom = QStringLiteral("from abadiha where ostan=?");
const QString kGrantedCountiesFrom =
    QStringLiteral("from abadiha where ostan=? and shahrestan in (select cmt from dastrasi2 where user_id=?)");
const QString kCitiesFrom = QStringLiteral("from abadiha where ostan=? and shahrestan=?");

// A division list as "select distinct" gives it unordered.
QStringList unordered(const QString& column, const QString& from, const QVariantList& values = {})
{
    return dm().textColumn(QStringLiteral("select distinct ") + column + QLatin1Char(' ') + from, values);
}

} // namespace

QStringList settingList(const QString& component)
{
    return ListBatch::alone([&](ListBatch& b) { return b.setting(component); });
}

QString settingValue(const QString& component)
{
    const QStringList l = settingList(component);
    return l.isEmpty() ? QString() : l.first();
}

QStringList settingListOst(const QString& ostan, const QString& component)
{
    return ListBatch::alone([&](ListBatch& b) { return b.settingOst(ostan, component); });
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
    return ordered ? ListBatch::alone([](ListBatch& b) { return b.provinces(); })
                   : unordered(QStringLiteral("ostan"), kProvincesFrom);
}

QStringList counties(const QString& ostan, bool ordered)
{
    return ordered ? ListBatch::alone([&](ListBatch& b) { return b.counties(ostan); })
                   : unordered(QStringLiteral("shahrestan"), kCountiesFrom, {ostan});
}

QStringList grantedCounties(const QString& ostan, bool ordered)
{
    if (ordered)
        return ListBatch::alone([&](ListBatch& b) { return b.grantedCounties(ostan); });
    if (session().isAdminLevel())
        return counties(ostan, false);
    return unordered(QStringLiteral("shahrestan"), kGrantedCountiesFrom, {ostan, session().prsId});
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
    return ordered ? ListBatch::alone([&](ListBatch& b) { return b.cities(ostan, shahrestan); })
                   : unordered(QStringLiteral("shahr"), kCitiesFrom, {ostan, shahrestan});
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
    return distinct(QStringLiteral("ostan"), kProvincesFrom);
}

int ListBatch::counties(const QString& ostan)
{
    return distinct(QStringLiteral("shahrestan"), kCountiesFrom, {ostan});
}

int ListBatch::grantedCounties(const QString& ostan)
{
    if (session().isAdminLevel())
        return counties(ostan);
    return distinct(QStringLiteral("shahrestan"), kGrantedCountiesFrom, {ostan, session().prsId});
}

int ListBatch::cities(const QString& ostan, const QString& shahrestan)
{
    return distinct(QStringLiteral("shahr"), kCitiesFrom, {ostan, shahrestan});
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
