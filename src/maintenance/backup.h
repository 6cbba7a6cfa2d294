#pragma once
// Backups of the database the program works on: a consistent copy of the
// embedded data file written while the program runs, a pg_dump archive of a
// PostgreSQL database, or the exact command to run where the program cannot
// make the backup itself.  Used by the backup window and "tavrin-cli backup".
#include "progress.h"

#include "db/database.h"

namespace tavrin {

struct BackupResult {
    enum class Status { Done, Manual, Cancelled, Failed, SameFile };
    Status status = Status::Failed;
    QString command;   // Manual: the command that makes the backup by hand
    QString detail;    // English: why it failed (a driver's or pg_dump's text)
    qint64 bytes = 0;  // Done: the size of the backup file
};

// pg_dump on this computer ("" when it is not installed).
QString findPgDump();

// The command that writes the backup into `file` by hand: pg_dump for
// PostgreSQL (asking for the password), sqlcmd for SQL Server; "" for SQLite.
QString backupCommand(const ConnectionParams& p, const QString& file, const QString& program = QStringLiteral("pg_dump"));

// Writes the backup of the database `p` names into `file`, replacing the file.
// SQLite: a copy made from one moment of the data file (other users go on
// writing meanwhile), checked before it replaces `file`.  PostgreSQL: pg_dump's
// custom format with `pgDump` (Manual when it is empty).  SQL Server: Manual.
// A failed or cancelled backup leaves `file` untouched.
BackupResult backupDatabase(const ConnectionParams& p, const QString& file, const QString& pgDump,
                            const Progress& progress = {});

} // namespace tavrin
