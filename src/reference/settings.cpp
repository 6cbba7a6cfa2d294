#include "settings.h"

#include "common/deletepassword.h"

#include "reftexts.h"

#include "common/dialogs.h"
#include "common/lookups.h"
#include "common/session.h"
#include "db/database.h"

namespace tavrin {

const QString kMaskedValue = QStringLiteral("****");

namespace {
// " where <place conditions> and component=?" with its values.
QString placeWhere(const SettingPlace& p, const QString& component, QVariantList& values, bool withComponent = true)
{
    QStringList cond;
    if (p.table != SettingTable::General) {
        cond << QStringLiteral("ostan=?");
        values << p.ostan;
    }
    if (p.table == SettingTable::County) {
        cond << QStringLiteral("shahrestan=?");
        values << p.shahrestan;
    }
    if (withComponent) {
        cond << QStringLiteral("component=?");
        values << component;
    }
    return cond.isEmpty() ? QString() : QStringLiteral(" where ") + cond.join(QStringLiteral(" and "));
}
} // namespace

QString settingTableName(SettingTable t)
{
    switch (t) {
    case SettingTable::General: return QStringLiteral("setting");
    case SettingTable::Province: return QStringLiteral("setting_ost");
    case SettingTable::County: return QStringLiteral("setting_city");
    }
    return {};
}

QStringList settingKeys(SettingTable t)
{
    switch (t) {
    case SettingTable::General: return reftext::kGeneralKeys;
    case SettingTable::Province: return reftext::kProvinceKeys;
    case SettingTable::County: return reftext::kCountyKeys;
    }
    return {};
}

QList<SettingRow> settingRows(const SettingPlace& place, const QString& component)
{
    QVariantList values;
    const QString where = placeWhere(place, component, values, !component.isEmpty() || place.table == SettingTable::General);
    QSqlQuery q = dm().exec(QStringLiteral("select * from ") + settingTableName(place.table) + where +
                                QStringLiteral(" order by id"),
                            values);
    QList<SettingRow> rows;
    while (q.next()) {
        const QSqlRecord r = q.record();
        SettingRow row;
        row.id = r.value(QStringLiteral("id")).toLongLong();
        if (place.table != SettingTable::General)
            row.ostan = text(r.value(QStringLiteral("ostan")));
        if (place.table == SettingTable::County)
            row.shahrestan = text(r.value(QStringLiteral("shahrestan")));
        row.component = text(r.value(QStringLiteral("component")));
        row.cmt = text(r.value(QStringLiteral("cmt")));
        row.def = text(r.value(QStringLiteral("def")));
        rows << row;
    }
    return rows;
}

SettingInsert addSetting(const SettingPlace& place, const QString& component, const QString& value,
                         FieldRefusal* tooLong)
{
    QList<ColumnText> texts {{QStringLiteral("component"), component, reftext::kComponentCaption},
                             {QStringLiteral("cmt"), value, reftext::kCmtCaption}};
    if (place.table != SettingTable::General)
        texts.prepend({QStringLiteral("ostan"), place.ostan, reftext::kOstan});
    if (place.table == SettingTable::County)
        texts.insert(1, {QStringLiteral("shahrestan"), place.shahrestan, reftext::kShahrestan});
    if (const auto r = checkTextLengths(settingTableName(place.table), texts)) {
        if (tooLong)
            *tooLong = *r;
        return SettingInsert::TooLong;
    }
    Database& db = dm();
    Transaction tx(db);
    // Two users adding the same value: the second waits and sees the first's row.
    db.lockTable(settingTableName(place.table));
    QVariantList values;
    const QString where = placeWhere(place, component, values);
    values << value;
    if (db.firstRow(QStringLiteral("select id from ") + settingTableName(place.table) + where +
                        QStringLiteral(" and cmt=?"),
                    values))
        return SettingInsert::Duplicate;
    QStringList cols;
    QVariantList row;
    if (place.table != SettingTable::General) {
        cols << QStringLiteral("ostan");
        row << place.ostan;
    }
    if (place.table == SettingTable::County) {
        cols << QStringLiteral("shahrestan");
        row << place.shahrestan;
    }
    cols << QStringLiteral("component") << QStringLiteral("cmt") << QStringLiteral("def");
    row << component << value << QStringLiteral("");
    db.insert(settingTableName(place.table), cols, row);
    tx.commit();
    return SettingInsert::Inserted;
}

int markDefaultSetting(const SettingPlace& place, const QString& component, const QString& value)
{
    Database& db = dm();
    Transaction tx(db);
    QVariantList clearValues{QStringLiteral("")};
    const QString where = placeWhere(place, component, clearValues);
    db.exec(QStringLiteral("update ") + settingTableName(place.table) + QStringLiteral(" set def=?") + where, clearValues);
    QVariantList setValues{QStringLiteral("1")};
    placeWhere(place, component, setValues);
    setValues << value;
    const int n = db.execAffected(QStringLiteral("update ") + settingTableName(place.table) + QStringLiteral(" set def=?") +
                                      where + QStringLiteral(" and cmt=?"),
                                  setValues);
    tx.commit();
    return n;
}

int deleteSetting(const SettingPlace& place, const QString& component, const QString& value)
{
    QVariantList values;
    const QString where = placeWhere(place, component, values);
    values << value;
    return dm().execAffected(QStringLiteral("delete from ") + settingTableName(place.table) + where +
                                 QStringLiteral(" and cmt=?"),
                             values);
}

bool settingValueMasked(const QString& component)
{
    return component == reftext::kDeletePasswordKey && session().karbar != QLatin1String("admin");
}

QString settingDisplayValue(const SettingRow& row)
{
    return settingValueMasked(row.component) ? kMaskedValue : row.cmt;
}

QString storedDeletePassword()
{
    return settingValue(reftext::kDeletePasswordKey);
}

bool askDeletePassword()
{
    return askDeletePassword(reftext::kDeletePasswordKey);
}

QString refreshSabtCod()
{
    session().sabtCod = settingValue(reftext::kSabtCodKey);
    return session().sabtCod;
}

} // namespace tavrin
