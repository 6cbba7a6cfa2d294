#pragma once
// Rows the applicant tests start from: an active project with free units, and
// the record's fields for a sale of one of them.
#include "projects/unit_fixtures.h"

#include "applicants/customers_logic.h"

namespace tavrin::test {

// A free unit of the project with its price and loan.
inline QSqlRecord addUnit(const QSqlRecord& project, const QString& shenase, qint64 mablagh, qint64 vam = 0)
{
    const QStringList parts = shenase.split('-');
    const qint64 id = dm().insert(
        QStringLiteral("vahedha"),
        {QStringLiteral("prj_id"), QStringLiteral("bolok"), QStringLiteral("tabaghe"), QStringLiteral("vahed_no"),
         QStringLiteral("shenase"), QStringLiteral("karbari"), QStringLiteral("metraj"), QStringLiteral("mablagh1"),
         QStringLiteral("mablagh"), QStringLiteral("vam"), QStringLiteral("status"), QStringLiteral("otagh")},
        {project.value(QStringLiteral("id")), parts.value(0), parts.value(1), parts.value(2), shenase,
         QStringLiteral("مسکوني"), 100.0, mablagh / 100, mablagh, vam, QStringLiteral("فعال"), 2});
    return rowOf(QStringLiteral("vahedha"), id);
}

// The record's fields of a sale of the unit to a buyer.
inline applicants::CustomerValues saleOf(const QSqlRecord& project, const QSqlRecord& unit, const QString& lname,
                                         const QString& nation)
{
    applicants::CustomerValues v = applicants::newValues();
    v.insert(applicants::projectValues(project));
    v.insert(applicants::unitValues(unit));
    v[QStringLiteral("fname")] = QStringLiteral("رضا");
    v[QStringLiteral("lname")] = lname;
    v[QStringLiteral("father")] = QStringLiteral("حسن");
    v[QStringLiteral("nation")] = nation;
    v[QStringLiteral("mobile")] = QStringLiteral("09121234567");
    return v;
}

inline QString unitStatus(const QSqlRecord& unit)
{
    return dm().scalar(QStringLiteral("select status from vahedha where id=?"), {unit.value(QStringLiteral("id"))}).toString();
}

// Every answer to a warning is the given one.
inline applicants::Ask answering(bool yes, QStringList* asked = nullptr)
{
    return [yes, asked](const QString& q) {
        if (asked)
            *asked << q;
        return yes;
    };
}

} // namespace tavrin::test
