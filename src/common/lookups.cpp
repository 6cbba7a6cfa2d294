#include "lookups.h"

#include "session.h"

#include "db/database.h"

#include <QComboBox>

namespace tavrin {

QStringList settingList(const QString& component)
{
    return dm().textColumn(QStringLiteral("select cmt from setting where component=? order by id"), {component});
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
