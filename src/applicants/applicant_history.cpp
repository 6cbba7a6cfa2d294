#include "applicants/applicant_history.h"

#include "common/history.h"

namespace tavrin::applicants {

void historySale(qint64 id, const QVariantMap& row, qint64 unitId, qint64 prjId, const QVariant& freeStatus,
                 const QVariant& soldStatus)
{
    history::inserted(QStringLiteral("customers"), id, history::Owner::applicant(id), row);
    history::fieldChanged(QStringLiteral("vahedha"), unitId, history::Owner::ofProject(prjId), QStringLiteral("status"),
                          freeStatus, soldStatus);
}

void historyDelete(qint64 id, const QSqlRecord& row)
{
    history::deleted(QStringLiteral("customers"), id, history::Owner::applicant(id), row);
    const auto owner = history::Owner::applicant(id);
    for (const char* child : {"pardakht", "shoraka", "anbari", "parking"})
        history::deletedWhere(QString::fromLatin1(child), QStringLiteral("customer_id=?"), {id}, owner);
    // Dependants of his partners are his too.
    history::deletedWhere(QStringLiteral("takafol"),
                          QStringLiteral("customer_id=? or shoraka_id in (select id from shoraka where customer_id=?)"),
                          {id, id}, owner);
}

} // namespace tavrin::applicants
