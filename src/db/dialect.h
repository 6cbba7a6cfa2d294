#pragma once
// Everything that differs between the three database servers lives here:
// column types, DDL, paging, catalogue queries and text folding.
#include "schema.h"

#include <QVariant>

#include <memory>
#include <optional>

namespace tavrin {

enum class Backend { SQLite, PostgreSQL, SqlServer };

// A statement with its bound values.
struct BoundStatement {
    QString sql;
    QVariantList values;
};

class Dialect {
public:
    virtual ~Dialect() = default;
    static std::unique_ptr<Dialect> create(Backend b);

    virtual Backend backend() const = 0;
    virtual QString qtDriver() const = 0;

    // The type part of a column definition ("nvarchar(50)", "numeric(19,4)" ...).
    virtual QString columnType(const ColumnDef& c) const = 0;
    QString columnDefinition(const ColumnDef& c) const { return c.name + ' ' + columnType(c); }

    QString createTable(const TableDef& t) const;
    virtual QString addColumn(const QString& table, const ColumnDef& c) const;
    virtual QString dropColumn(const QString& table, const QString& column) const;
    // Empty when the backend cannot change a column's type in place.
    virtual QString alterColumnType(const QString& table, const ColumnDef& c) const = 0;
    virtual QString createIndex(const IndexDef& ix) const;
    // A statement returning one row when the index exists (bound: index name).
    virtual QString indexExistsQuery() const = 0;
    // A statement returning the declared length of a text column (bound: table, column),
    // or empty when the backend does not enforce lengths.
    virtual QString textLengthQuery() const = 0;

    // Paging: appended after ORDER BY; binds limit then offset.
    virtual QString pageClause() const { return QStringLiteral(" limit ? offset ?"); }
    virtual bool pageBindsOffsetFirst() const { return false; }

    // An expression that folds Arabic yeh/kaf forms into the Persian ones, so that
    // searches match either spelling.  Apply to the column; fold the value in C++.
    virtual QString fold(const QString& expr) const;
    // A pattern search of expr with one bound pattern, byte-wise on every
    // backend, where only "%" and "_" are wildcards: everything else typed
    // matches itself (PostgreSQL's LIKE would take a backslash as an escape;
    // SQLite's LIKE is made case-sensitive on every connection by Database).
    virtual QString likeCondition(const QString& expr) const { return expr + QStringLiteral(" like ?"); }
    // The typed text as the pattern's literal part, with the backend's other
    // pattern characters made literal (SQL Server's "[").
    virtual QString likeText(const QString& typed) const { return typed; }
    // A text literal in a statement (only for fixed texts of the program, never values).
    virtual QString literal(const QString& fixedText) const;
    // An exact, case- and accent-sensitive comparison of a column with a bound value.
    virtual QString exactEquals(const QString& column) const { return column + QStringLiteral("=?"); }

    // Substring search keys (the schema's "search" lines).  An index cannot serve
    // "column like '%text%'" as such; a key can narrow it to a few candidate rows,
    // which the exact condition then checks.  SQLite keeps a trigram full-text
    // table <table>_srch of the folded columns, filled by triggers; PostgreSQL a
    // trigram index per column over its text with the Persian letters written as
    // ASCII ones (the trigram index reads only ASCII letters and digits in a
    // database of character type C); SQL Server has none.
    // The statements that create the key of a table and fill it.
    virtual QStringList createSearchKey(const SearchDef&) const { return {}; }
    // The name of the object holding a column's key, and a statement returning a
    // row when it exists (bound: that name); empty without keys.
    virtual QString searchKeyName(const QString&, const QString&) const { return {}; }
    virtual QString searchKeyExistsQuery() const { return {}; }
    struct Prefilter {
        QString sql;     // a condition with one "?"
        QVariant value;
    };
    // A condition, served by the key, that keeps every row whose column contains
    // the text (already folded) and few others; nothing when the key cannot help
    // (fewer than three letters, LIKE wildcards in the text).
    virtual std::optional<Prefilter> searchPrefilter(const QString&, const QString&, const QString&) const
    {
        return std::nullopt;
    }

    // The keyword that makes a common table expression be computed once and
    // kept ("as materialized"); where it is not empty (PostgreSQL), the list
    // finds the rows of a search a key narrows once, with their row address
    // (ctid), for its count and first page (ListModel); elsewhere such a
    // search is read as any other.
    virtual QString materializedAs() const { return {}; }

    // A condition almost every row meets (applicants who still hold their
    // unit).  SQLite would otherwise seek it through an index and then sort the
    // whole result by the list's order; told it is likely, it walks the order.
    virtual QString likely(const QString& condition) const { return condition; }

    // Where NULLs come in an ascending order (first on SQLite and SQL Server,
    // last on PostgreSQL); a descending order puts them at the other end.
    virtual bool nullsFirstAscending() const { return true; }

    // How a transaction starts; SQLite takes the write lock at once so that checks
    // made inside the transaction cannot be raced by another writer.
    virtual QString beginStatement() const { return {}; }
    // A statement that holds off other writers of a table until the transaction
    // ends (empty where the transaction already holds the write lock).
    virtual QString lockTableStatement(const QString&) const { return {}; }

    // Copying rows between databases with their ids kept.
    // Starts a read-only transaction whose reads all see the database as it was at
    // one moment, while other users go on writing; "COMMIT" ends it.
    virtual QString readSnapshotBegin() const = 0;
    // The last id a table's identity column handed out, or NULL (bound: table name).
    virtual QString identityLastQuery() const = 0;
    // An expression for the id this connection's transaction last gave a row
    // of `table` (the writer of the transaction, or the session's own sequence).
    virtual QString lastOwnId(const QString& table) const { return QStringLiteral("(select max(id) from %1)").arg(table); }
    // A money column's value as text without the scale's trailing zeros
    // ("1500000", "12.5"), as the program writes an amount.
    virtual QString moneyText(const QString& expr) const { return QStringLiteral("cast(%1 as varchar(40))").arg(expr); }
    // Makes the table's identity column hand out ids above `last` from now on.
    virtual QList<BoundStatement> advanceIdentity(const QString& table, qint64 last) const = 0;
    // Lets inserts give the identity column its value (empty where they always may).
    virtual QString explicitIdentity(const QString&, bool /*on*/) const { return {}; }
};

} // namespace tavrin
