#pragma once
// Copies a whole database into a new one of any server: every table of the
// schema with its ids kept and blobs intact, the identity columns advanced past
// the ids handed out, then a comparison of row counts and checksums per table.
// This is how an office working on the embedded database moves to the shared
// server ("tavrin-cli copy-database").
#include "progress.h"

#include "db/database.h"

namespace tavrin {

struct TableComparison {
    QString table;
    qint64 sourceRows = 0;
    qint64 targetRows = 0;
    QString sourceChecksum;
    QString targetChecksum;
    bool matches() const { return sourceRows == targetRows && sourceChecksum == targetChecksum; }
};

struct DatabaseCopy {
    enum class Outcome { Copied, SameDatabase, TargetNotInstalled, TargetHoldsData, Cancelled, Failed };
    Outcome outcome = Outcome::Failed;
    QString detail;                  // English: what was wrong (a driver's text included)
    QList<TableComparison> tables;   // in the schema's order
    QStringList notes;               // tables or columns the source lacks, tables left out
    bool allMatch() const;
};

// Copies `from` into `to`, which must hold the schema (installed by "install")
// and nothing beyond the rows a new database starts with.  The source is read
// as it was at one moment while others go on working; the target is written
// in one transaction, so a failure or a cancel leaves it as it was.
DatabaseCopy copyDatabase(Database& from, Database& to, const Progress& progress = {});

// True when both parameters name the same database.
bool sameDatabase(const ConnectionParams& a, const ConnectionParams& b);

// A read-only transaction that sees the database as it was when it began.
class ReadSnapshot {
public:
    explicit ReadSnapshot(Database& db);
    ~ReadSnapshot();
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;
    void end();

private:
    Database& m_db;
    bool m_open = false;
};

} // namespace tavrin
