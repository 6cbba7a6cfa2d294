#include "db/locks.h"

#include "db/database.h"

namespace tavrin::locks {

namespace {

struct Target {
    const char* table;
    const char* column;   // set to itself: a neutral column of the table
};

Target targetOf(Row row)
{
    switch (row) {
    case Row::Project: return {"projects", "vahed_kol"};
    case Row::Unit: return {"vahedha", "vam"};
    case Row::StorageRoom: return {"anbariha", "status"};
    case Row::ParkingSpace: return {"parkingha", "status"};
    case Row::Customer: return {"customers", "pardakht_sum"};
    case Row::Facility: return {"tashilat", "daryafti"};
    case Row::User: return {"users", "lev"};
    }
    return {"", ""};
}

QString updateOf(Row row)
{
    const Target t = targetOf(row);
    return QStringLiteral("update %1 set %2=%2 where id=?").arg(QLatin1String(t.table), QLatin1String(t.column));
}

} // namespace

QString tableOf(Row row)
{
    return QLatin1String(targetOf(row).table);
}

QString statement(Row row)
{
    return updateOf(row);
}

bool lock(Row row, qint64 id)
{
    return dm().execAffected(updateOf(row), {id}) == 1;
}

std::optional<QSqlRecord> lockAndRead(Row row, qint64 id)
{
    if (!lock(row, id))
        return std::nullopt;
    return dm().firstRow(QStringLiteral("select * from ") + tableOf(row) + QStringLiteral(" where id=?"), {id});
}

bool lockInProject(Row row, qint64 id, qint64 projectId)
{
    return dm().execAffected(updateOf(row) + QStringLiteral(" and prj_id=?"), {id, projectId}) == 1;
}

} // namespace tavrin::locks
