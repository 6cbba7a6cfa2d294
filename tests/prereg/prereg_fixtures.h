#pragma once
// Rows the pre-registration tests start from: two provinces with their
// counties, people and deposits.
#include "support/testsupport.h"

#include "prereg/deposits.h"
#include "prereg/pishsabt_logic.h"

#include "db/database.h"
#include "db/schema.h"

namespace tavrin::test {

inline const QString kTehran = QStringLiteral("تهران");
inline const QString kShemiranat = QStringLiteral("شميرانات");
inline const QString kRey = QStringLiteral("ري");
inline const QString kFars = QStringLiteral("فارس");
inline const QString kShiraz = QStringLiteral("شيراز");

inline void addPlaces()
{
    for (const auto& [ostan, shahrestan] : {std::pair {kTehran, kShemiranat}, {kTehran, kRey}, {kFars, kShiraz}})
        dm().exec(QStringLiteral("insert into abadiha (ostan,shahrestan,shahr,rosta,cod) values (?,?,?,?,?)"),
                  {ostan, shahrestan, shahrestan, QStringLiteral(""), QStringLiteral("1")});
}

inline prereg::PersonValues person(const QString& nation, const QString& lname = QStringLiteral("رضايي"),
                                   const QString& ostan = kTehran, const QString& shahrestan = kShemiranat)
{
    prereg::PersonValues v;
    for (const QString& c : prereg::formColumns())
        v.insert(c, QString());
    v[QStringLiteral("ostan")] = ostan;
    v[QStringLiteral("shahrestan")] = shahrestan;
    v[QStringLiteral("fname")] = QStringLiteral("علي");
    v[QStringLiteral("lname")] = lname;
    v[QStringLiteral("father")] = QStringLiteral("حسن");
    v[QStringLiteral("nation")] = nation;
    v[QStringLiteral("birthday")] = QString::fromLatin1(kEmptyDateMask);
    v[QStringLiteral("reg_dat")] = QStringLiteral("1403/02/10");
    return v;
}

// Saves a person; 0 when refused.
inline qint64 savedPerson(prereg::PersonValues v)
{
    const Outcome r = prereg::insertPerson(v, askWarning());
    if (!r.done)
        qWarning() << "refused:" << r.message();
    return r.done ? r.id : 0;
}

inline prereg::DepositValues deposit(const QString& mablagh, const QString& vosol, const QString& num = QStringLiteral("11"),
                                     const QString& dat = QStringLiteral("1403/01/15"))
{
    prereg::DepositValues v;
    for (const QString& c : prereg::depositColumns())
        v.insert(c, QString());
    v[QStringLiteral("pardakht_typ")] = QStringLiteral("نقدي");
    v[QStringLiteral("mablagh")] = mablagh;
    v[QStringLiteral("vosol")] = vosol;
    v[QStringLiteral("num")] = num;
    v[QStringLiteral("dat")] = dat;
    return v;
}

inline int countOf(const QString& sql, const QVariantList& values = {})
{
    return dm().scalar(sql, values).toInt();
}

inline QStringList logComments()
{
    return dm().textColumn(QStringLiteral("select cmt from log order by id"));
}

} // namespace tavrin::test
