#pragma once
// The data module: the one owner of the database connection.  Every statement
// of the program runs through it with bound values ("?" placeholders).
#include "dialect.h"

#include <QHash>
#include <QLoggingCategory>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>

Q_DECLARE_LOGGING_CATEGORY(lcDb)

struct sqlite3;

namespace tavrin {

class SqliteStatements;
class BulkInsert;

struct ConnectionParams {
    Backend backend = Backend::SQLite;
    QString server;      // SQLite: the data file; servers: "host" or "host,port"
    QString database;
    QString user;
    QString password;
    bool createIfMissing = true;  // SQLite: create the data file when absent
    QString describe() const;     // for messages and the log file (never the password)
};

// A failed statement.  what() carries the driver's text, which belongs in the
// program's log file; users are shown the action's own fixed message instead.
class DbError : public std::runtime_error {
public:
    DbError(const QString& driverText, const QString& sql);
    QString driverText;
    QString sql;
};

class Database {
public:
    explicit Database(ConnectionParams params);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens the connection; on failure returns false and gives the driver's text.
    // SQLite files get a page cache for the working set of large lists and keep
    // temporary sorts in memory (see open()).
    bool open(QString* driverError = nullptr);
    bool isOpen() const;
    void close();
    // Times a lost connection was opened again (with the same settings) before
    // a statement: after a server restart or a dropped network, the next action
    // goes on with a new connection instead of failing until a restart.
    int reconnectCount() const { return m_reconnects; }

    const ConnectionParams& params() const { return m_params; }
    Backend backend() const { return m_params.backend; }
    const Dialect& dialect() const { return *m_dialect; }
    // The connection, for code that runs statements of its own on it; inside a
    // transaction, whatever waits to be sent (see execLater) is sent first.
    QSqlDatabase qdb() const;

    // Runs one statement with its bound values; throws DbError on failure.
    // On PostgreSQL the values are bound on the client (see bindInline) so
    // that a statement costs one round trip to the server, not three.
    // Outside a transaction, a connection found lost is opened again first;
    // a read that fails because the connection was lost under it is sent once
    // more on the new connection.  Inside a transaction a lost connection fails
    // the statement (the server has rolled the transaction back).
    QSqlQuery exec(const QString& sql, const QVariantList& values = {}) const;
    // A write whose result nobody reads (a log row, a copy kept in step):
    // inside a transaction on PostgreSQL it waits and travels with the next
    // statement or the COMMIT, costing no round trip of its own; elsewhere it
    // runs at once.  A failure then fails that later statement or the commit,
    // and the transaction rolls back as for any failed step.
    void execLater(const QString& sql, const QVariantList& values = {}) const;
    // Runs a write and returns the number of rows it changed.
    int execAffected(const QString& sql, const QVariantList& values = {}) const;
    // First column of the first row, or an invalid QVariant when no row came back.
    QVariant scalar(const QString& sql, const QVariantList& values = {}) const;
    std::optional<QSqlRecord> firstRow(const QString& sql, const QVariantList& values = {}) const;
    // The first column of the first row as text, or an invalid QVariant when
    // no row came back or the value is null.  On PostgreSQL inside a
    // transaction it travels with what waits (the BEGIN, execLater writes):
    // one round trip for the writes and the read.
    QVariant scalarText(const QString& sql, const QVariantList& values = {}) const;
    // First column of every row, as text (choice lists).
    QStringList textColumn(const QString& sql, const QVariantList& values = {}) const;
    // Inserts one row and returns its new id.
    qint64 insert(const QString& table, const QStringList& columns, const QVariantList& values) const;

    // Reads a long result once, in order, handing each row to visit: forward
    // only on SQLite and SQL Server, through a server-side cursor fetched
    // `batch` rows at a time on PostgreSQL (which would otherwise send the
    // whole result at once).  Never page by page with OFFSET, which sorts the
    // whole result again for every page.  fields (when given) is told the
    // result's fields once before the first row, even of an empty result.
    // visit may run statements of its own.  Throws DbError; an exception
    // thrown by visit ends the read and passes through.
    void forEachRow(const QString& sql, const QVariantList& values,
                    const std::function<void(const QSqlRecord&)>& visit,
                    const std::function<void(const QSqlRecord&)>& fields = {}, int batch = 2000);
    // The same read pulled a row at a time by its caller (below).
    class RowReader;

    bool tableExists(const QString& table) const;
    // Whether the database has the search key of a column (schema "search" lines),
    // asked once per connection.
    bool hasSearchKey(const QString& table, const QString& column) const;
    // The table's column names in their order (empty when the table is absent).
    QStringList columns(const QString& table) const;

    // Transactions nest: only the outermost begins and commits; a rollback inside
    // makes the outermost roll back too.  Use Transaction rather than these.
    // On PostgreSQL the BEGIN waits and travels with the transaction's first
    // statement (one round trip for both); a transaction that sent nothing
    // costs none, and its commit or rollback sends nothing.
    void begin();
    void commit();
    void rollback();
    int transactionDepth() const { return m_depth; }
    // A number of the outermost transaction under way (or last ended), never
    // given to another transaction of any connection: code that keeps state
    // for "the current transaction" (the history writer) tells one from the
    // next by it.
    quint64 transactionSerial() const { return m_txSerial; }

    // Holds off other writers of the table until the current transaction ends,
    // so that a check made after it (a duplicate name or code) stays true until
    // the row is written: the dialect's table lock on the servers, nothing on
    // SQLite, whose transaction holds the write lock from its start.  Call it
    // inside a Transaction, before the check.
    void lockTable(const QString& table) const;

    // Statements sent through exec() on this connection so far; tests prove with
    // it that an action's statement count does not grow with the data.
    qint64 statementCount() const { return m_statementCount; }
    // Called with each statement before exec() sends it (tests inject failures
    // by throwing DbError from it).  An empty function removes it.
    void setStatementHook(std::function<void(const QString& sql)> hook) { m_statementHook = std::move(hook); }

private:
    friend class BulkInsert;
    QSqlDatabase conn() const;
    // PostgreSQL inside a transaction: sends what waits (the BEGIN, writes of
    // execLater) followed by `last` (already bound; may be empty) as one
    // message and returns the answer to the last statement; on failure throws
    // DbError naming `sql`.  A transaction whose BEGIN had not reached the
    // server is sent again, once, on a connection opened again.
    struct BatchAnswer {
        int affected = -1;
        QString status;              // the command tag ("COMMIT", "ROLLBACK" ...)
        QVariant firstValue;         // the first column of the first row, as text
    };
    BatchAnswer sendPending(const QString& last, const QString* sql) const;
    bool runBatch(const QString& text, BatchAnswer* answer, QString* error) const;
    // Before a statement: the connection check, the statement count and hook,
    // and opening a lost connection again where that is safe.
    void announce(const QString& sql) const;
    bool deferring() const;
    // One attempt at a statement; false with the driver's text on failure.
    bool run(QSqlQuery& q, const QString& sql, const QVariantList& values, QString* error) const;
    // Whether the connection was lost: the driver says so, or (PostgreSQL) the
    // server closed it while idle.  Costs no round trip.
    bool connectionLost() const;
    // Outside a transaction: opens a lost connection again (once); throws
    // DbError when that fails.
    void healConnection() const;
    bool reopen(QString* error) const;
    void rollbackOutermost();

    ConnectionParams m_params;
    std::unique_ptr<Dialect> m_dialect;
    QString m_name;
    int m_depth = 0;
    quint64 m_txSerial = 0;
    bool m_failed = false;
    bool m_opened = false;   // open() succeeded and close() was not called since
    mutable int m_reconnects = 0;
    int m_cursors = 0;
    // PostgreSQL: statements (bound) waiting to go with the transaction's next
    // one, and whether the transaction's BEGIN has reached the server.
    mutable QStringList m_pending;
    mutable bool m_begun = false;
    mutable QHash<QString, bool> m_searchKeys;
    // SQLite: the driver's connection, which statements use directly, and the
    // statements still open on it.
    sqlite3* m_sqlite = nullptr;
    std::shared_ptr<SqliteStatements> m_statements;
    mutable qint64 m_statementCount = 0;
    std::function<void(const QString&)> m_statementHook;
};

// Many rows inserted into one table, inside the current transaction (a copy
// of a whole database): on PostgreSQL through the server's bulk path (COPY
// ... FROM STDIN in the text format, the rows sent in large pieces, one round
// trip for the statement and one for its end), on SQLite through one statement
// prepared once and run for every row, elsewhere through one prepared query.
// Values are bound as exec binds them (NULL, numbers, flags, texts exactly,
// bytes) and arrive exactly; a text no database stores fails add().  A
// failure of the server (a value its column refuses) may only show in
// finish().  Destroyed before finish(), the rows already sent are abandoned
// and the transaction fails.  Throws DbError.
class BulkInsert {
public:
    BulkInsert(const Database& db, const QString& table, const QStringList& columns);
    ~BulkInsert();
    BulkInsert(const BulkInsert&) = delete;
    BulkInsert& operator=(const BulkInsert&) = delete;
    void add(const QVariantList& values);
    void finish();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// PostgreSQL's COPY text format: one field of a row as the server reads it
// back to the value exec would bind (\N for NULL; backslash, tab, newline and
// carriage return escaped; bytes as \\x and hex).  False with the reason when
// the value cannot be written (a text that is not storableText).
bool appendCopyField(QByteArray& line, const QVariant& value, QString* why);

// Begins on construction; commits with commit(); rolls back if destroyed first
// (an exception, an early return).
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Database& m_db;
    bool m_done = false;
};

// forEachRow's read, pulled: the caller asks for the next row when it wants
// it (a printed list's preview reads as it lays its pages out, between the
// events it handles).  The statement runs when the reader is made; on
// PostgreSQL its cursor lives in the reader's own transaction (or the
// caller's), held until the last row has been read or the reader goes, so
// statements run on the connection meanwhile join that transaction.  A
// reader dropped before the end closes its cursor (its own transaction rolls
// back: it wrote nothing).  Throws DbError.
class Database::RowReader {
public:
    RowReader(Database& db, const QString& sql, const QVariantList& values, int batch = 2000);
    ~RowReader();
    RowReader(const RowReader&) = delete;
    RowReader& operator=(const RowReader&) = delete;

    // The result's fields (also of an empty result).
    const QSqlRecord& fields() const { return m_record; }
    // The next row (one record refilled for every row: copy it to keep it),
    // or nullptr after the last, when the read has ended.
    const QSqlRecord* next();

private:
    void fetch();
    void end();

    Database& m_db;
    QSqlQuery m_query;
    QSqlRecord m_record;
    std::optional<Transaction> m_tx;
    QString m_cursor;           // PostgreSQL
    bool m_cursorOpen = false;
    int m_batch;
    int m_size = 0;             // rows asked of the current batch
    int m_got = 0;              // rows it gave so far
    bool m_ended = false;
};

// The program's current data module.  Throws DbError when none is connected.
Database& dm();
bool hasDm();
// Replaces the current data module (closing the previous one).
void setDm(std::unique_ptr<Database> db);

// PostgreSQL: the statement with every "?" placeholder (outside quoted texts,
// quoted names and comments) replaced by its value written as a literal: texts
// as E'...' with quotes and backslashes escaped, numbers, dates and flags as
// quoted texts that the server reads as the type the place calls for (as it
// does for a prepared statement's parameters), binary values in hex, NULL
// (isNullValue: a null QString or QByteArray too) as NULL.  Throws
// DbError when the count of placeholders and values differ or a value cannot
// be written (a text that is not storableText).
QString bindInline(const QString& sql, const QVariantList& values);

// Whether a bound value means SQL NULL: an empty QVariant, a null QString or
// QByteArray, an invalid date or time (as on every backend's driver).
bool isNullValue(const QVariant& v);
// Whether a text can be stored and read back exactly on every backend: it has
// no NUL character (the servers refuse it) and no lone surrogate (half of a
// character pair, which no UTF-8 text can carry).  A statement binding any
// other text fails with kUnstorableText rather than storing something else;
// saves refuse such a text in its field first (checkTextLengths).
bool storableText(QStringView t);
extern const QString kUnstorableText;
// UTF-8 bytes as text, exactly: unlike QString::fromUtf8, a leading U+FEFF
// is kept as a character of the text, not dropped as a byte-order mark, and
// no bytes are "" (not a null text).
QString utf8Exactly(QByteArrayView utf8);

// Convenience readers for values that come back as text, numbers or NULL.
qint64 toMoney(const QVariant& v);     // whole rials, rounded
QString text(const QVariant& v);       // NULL -> "" (an empty, non-null text)
// The text cut to at most n UTF-16 units (a column's length) without splitting
// a character pair, whose half no database stores.
QString cutToLength(const QString& s, qsizetype n);

} // namespace tavrin
