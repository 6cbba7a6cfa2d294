#pragma once
// SQLite statements of the data module, run on the driver's connection with
// SQLite's own UTF-8 calls rather than the driver's.  The driver hands texts
// to SQLite as UTF-16 and reads them back as UTF-16, and SQLite's conversion
// between the two changes some texts: a leading U+FEFF is taken for a
// byte-order mark and dropped (a leading U+FFFE turns the whole text around),
// U+FFFE and U+FFFF come back as U+FFFD.  The data file is UTF-8, so a text
// bound and read as UTF-8 arrives exactly as it was bound.  Values come back
// with the types the driver gives them (whole numbers as qlonglong, reals as
// double, blobs as QByteArray, NULL as a null QString), and records carry the
// driver's field types, so nothing above notices the difference.
#include <QSqlQuery>
#include <QVariantList>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace tavrin {

class SqliteResult;

// The statements of one connection still open (a QSqlQuery a caller keeps):
// they are ended before the connection closes, which SQLite would otherwise
// refuse to close.
class SqliteStatements {
public:
    void add(SqliteResult* r);
    void remove(SqliteResult* r);
    void finishAll();

private:
    QList<SqliteResult*> m_open;
};

// One write prepared once and run for many rows (BulkInsert): each run binds
// the values as runSqlite does, runs the statement and resets it.
class SqlitePrepared {
public:
    // On failure *error says why (and run must not be called).
    SqlitePrepared(sqlite3* db, const QString& sql, QString* error);
    ~SqlitePrepared();
    SqlitePrepared(const SqlitePrepared&) = delete;
    SqlitePrepared& operator=(const SqlitePrepared&) = delete;
    bool run(const QVariantList& values, QString* error);

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

// Prepares sql on the connection, binds values (a null text or byte array
// as NULL) and runs it to its first row.  On failure returns false with
// SQLite's message in *error, and q is left inactive.
bool runSqlite(QSqlQuery& q, const QSqlDriver* driver, sqlite3* db, const std::shared_ptr<SqliteStatements>& open,
               const QString& sql, const QVariantList& values, QString* error);

} // namespace tavrin
