#pragma once
// Rows the tests of units, storage rooms and parking spaces start from.
#include "support/testsupport.h"

#include "db/database.h"
#include "db/schema.h"

#include <QSqlRecord>

namespace tavrin::test {

inline QSqlRecord addProject(const QString& name, int vahedKol, int anbariCnt = 0, int parkingCnt = 0)
{
    const qint64 id = dm().insert(
        QStringLiteral("projects"),
        {QStringLiteral("ostan"), QStringLiteral("shahrestan"), QStringLiteral("prj_name"), QStringLiteral("prj_cod"),
         QStringLiteral("prj_typ"), QStringLiteral("status"), QStringLiteral("vahed_kol"), QStringLiteral("vahed_cnt"),
         QStringLiteral("anbari_cnt"), QStringLiteral("parking_cnt"), QStringLiteral("vahed_f")},
        {QStringLiteral("فارس"), QStringLiteral("شيراز"), name, QString(name + QStringLiteral("-c")), QStringLiteral("حمايتي"),
         QStringLiteral("فعال"), vahedKol, vahedKol, anbariCnt, parkingCnt, 0});
    return *dm().firstRow(QStringLiteral("select * from projects where id=?"), {id});
}

inline QSqlRecord rowOf(const QString& table, qint64 id)
{
    const auto r = dm().firstRow(QStringLiteral("select * from %1 where id=?").arg(table), {id});
    return r ? *r : QSqlRecord();
}

inline int countOf(const QString& sql, const QVariantList& values = {})
{
    return dm().scalar(sql, values).toInt();
}

// An applicant of a unit; transport empty: he still holds it.
inline qint64 addBuyer(qint64 prjId, qint64 unitId, const QString& lname, const QString& nation,
                       const QVariant& takhfif = QVariant(), const QString& transport = QString::fromLatin1(kEmptyDateMask))
{
    return dm().insert(QStringLiteral("customers"),
                       {QStringLiteral("prj_id"), QStringLiteral("vahed_id"), QStringLiteral("fname"), QStringLiteral("lname"),
                        QStringLiteral("nation"), QStringLiteral("takhfif"), QStringLiteral("transport_dat"),
                        QStringLiteral("mablagh")},
                       {prjId, unitId, QStringLiteral("علي"), lname, nation, takhfif, transport, 0});
}

inline QStringList logComments()
{
    return dm().textColumn(QStringLiteral("select cmt from log order by id"));
}

} // namespace tavrin::test
