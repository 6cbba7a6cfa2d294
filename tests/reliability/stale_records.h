#pragma once
// The records the race workers save from stale windows, shared by the worker
// program and the tests that read what it did.
#include "projects/unit_fixtures.h"

#include <QMap>
#include <QSqlQuery>

namespace tavrin::test {

// The records the workers edit from stale windows (the worker's "stale..."
// actions): the table, the column each edit writes a text of its own into,
// and the rows (the first two of the table, so that workers meet on them).
struct StaleRecords {
    QString action, table, column;
    QList<qint64> ids;
};

inline QList<StaleRecords> staleRecords()
{
    QList<StaleRecords> out {{QStringLiteral("staleunit"), QStringLiteral("vahedha"), QStringLiteral("jahat"), {}},
                             {QStringLiteral("stalestorage"), QStringLiteral("anbariha"), QStringLiteral("pos"), {}},
                             {QStringLiteral("staleparking"), QStringLiteral("parkingha"), QStringLiteral("pos"), {}},
                             {QStringLiteral("stalefacility"), QStringLiteral("tashilat"), QStringLiteral("cmt"), {}},
                             {QStringLiteral("staleproject"), QStringLiteral("projects"), QStringLiteral("cmt"), {}},
                             {QStringLiteral("staleprereg"), QStringLiteral("pishsabt"), QStringLiteral("cmt"), {}}};
    for (StaleRecords& r : out) {
        QSqlQuery q = dm().exec(QStringLiteral("select id from %1 order by id").arg(r.table));
        while (q.next() && r.ids.size() < 2)
            r.ids << q.value(0).toLongLong();
    }
    return out;
}

// The stale-window column of every such record as stored now, by "action id".
inline QMap<QString, QString> staleValues()
{
    QMap<QString, QString> out;
    for (const StaleRecords& r : staleRecords())
        for (qint64 id : r.ids)
            out.insert(r.action + QLatin1Char(' ') + QString::number(id),
                       text(dm().scalar(QStringLiteral("select %1 from %2 where id=?").arg(r.column, r.table), {id})));
    return out;
}

} // namespace tavrin::test
