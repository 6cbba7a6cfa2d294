#pragma once
// Row locks, the one place they are written.  A write that other users can
// race takes the rows it decides on inside its Transaction, before reading
// what it decides on, in this order (every writer keeps it, so that none waits
// for another in a circle):
//
//   project, then unit or space (units in ascending id), then applicant;
//   loans: unit, then facility.
//
// A lock is one statement, an update that changes nothing: on PostgreSQL it
// holds the row until the commit and says whether the row exists, in the
// round trip a `select ... for update` would take; on SQLite the transaction
// already holds the database's write lock (BEGIN IMMEDIATE) and the statement
// only says whether the row exists.  Its neutral column is one no search key
// or trigger watches.
#include <QSqlRecord>
#include <QString>

#include <optional>

namespace tavrin::locks {

enum class Row { Project, Unit, StorageRoom, ParkingSpace, Customer, Facility, User };

// The statement locking one row by its id ("?" its one value), for a batch of
// statements built as data.
QString statement(Row row);

// Locks the row with this id until the commit; false when there is none.
bool lock(Row row, qint64 id);
// Locks the row of this project (a unit, storage room or parking space)
// until the commit; false when there is none.
bool lockInProject(Row row, qint64 id, qint64 projectId);

// Locks the row, then reads it whole; nothing when there is none.
std::optional<QSqlRecord> lockAndRead(Row row, qint64 id);

// The table of a row kind.
QString tableOf(Row row);

} // namespace tavrin::locks
