#pragma once
// What the entry windows of a project's units, storage rooms and parking
// spaces share: the project row read under its lock, the delete password and
// the sold status (their actions' outcome is common/outcome.h).
#include "common/outcome.h"

#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QList>

#include <optional>

namespace tavrin::items {

// Reads the project row again inside the caller's transaction and locks it
// against other writers (an update that changes nothing takes the row's write
// lock on the servers; SQLite's transaction holds the database's), so that
// counts and duplicate checks made after it cannot be raced by another user
// adding to the same project.  Nothing when the project is gone.
std::optional<QSqlRecord> lockProject(qint64 projectId);

// Asks for the delete password with the unit and space lists' prompt.
bool askDeletePassword();

// The status a sold item carries: " فروخته شد " + the buyer's surname.
QString soldStatus(const QString& lname);
// The free status.
QString freeStatus();

// The columns among `columns` that another user changed since the window read
// `read` (changedColumns of common/stale.h), leaving out the sold status a
// sale gave a free item meanwhile: the save's rules for a held item decide
// that case as they would for a window opened after the sale (a unit keeps
// its sold status, a held storage room or parking space is not edited).
QStringList changedSinceRead(const QSqlRecord& read, const QSqlRecord& now, const QStringList& columns);

// Integer id of a record's "id" field.
qint64 recordId(const QSqlRecord& r);

// A text column of a row as an entry form shows it ("" for NULL).
QString fieldValue(const QSqlRecord& r, const char* name);
// A number column of a row as an entry form shows it: NULL as "0", no trailing zeros.
QString numberValue(const QSqlRecord& r, const char* name);
// The same for a value: "0" for NULL, a number without trailing zeros, other text as it is.
QString numberText(const QVariant& v);

} // namespace tavrin::items
