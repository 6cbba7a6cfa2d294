#pragma once
// Rows travelling between databases of different servers.  The same value
// comes back from SQLite, PostgreSQL and SQL Server as different Qt types
// (money as an integer, a double or a decimal text; a timestamp as text or as
// a date-time); these helpers turn it into what is bound on the other side
// and into canonical bytes, so that a checksum of a table is the same
// whichever server holds it.
#include "db/database.h"

#include <QCryptographicHash>

namespace tavrin::portable {

// A value that cannot be written as its column's type (words in a number
// column, text longer than the column, an amount beyond the money precision).
struct BadValue {
    QString column;
    QString why;   // English, for the log and the command line
};

// What to bind for the column's value read from another database.  Throws
// BadValue.  checkLength: refuse text longer than the column's declared length.
QVariant bindValue(const ColumnDef& c, const QVariant& v, bool checkLength = true);

// An order-independent checksum of rows: the sum of a hash of every row's
// canonical bytes, with the row count.  Equal tables give equal digests on
// every server; a changed, missing or extra row changes it.
class Digest {
public:
    // Counts a row.  With `binds`, also gives each value as it is bound on the
    // other database (bindValue's, from the same one conversion) and throws
    // BadValue for a value that cannot be written.
    void addRow(const QList<const ColumnDef*>& columns, const QVariantList& row, QVariantList* binds = nullptr,
                bool checkLength = true);
    qint64 rows() const { return m_rows; }
    QString hex() const;
    bool operator==(const Digest& o) const { return m_rows == o.m_rows && m_sum == o.m_sum; }

private:
    qint64 m_rows = 0;
    quint64 m_sum = 0;
};

// The columns of a schema table that both databases have, in the schema's order.
QList<const ColumnDef*> sharedColumns(const TableDef& t, const QStringList& a, const QStringList& b);
QString columnList(const QList<const ColumnDef*>& columns);

// Reads a whole table of the schema in pages of `page` rows (by id where the
// table has one), calling `row` with each row's values in the columns' order.
// Memory stays bounded on servers whose driver loads a whole result at once.
void readTable(Database& db, const TableDef& t, const QList<const ColumnDef*>& columns, int page,
               const std::function<void(const QVariantList&)>& row);

// The digest of a whole table over the given columns.
Digest digestTable(Database& db, const TableDef& t, const QList<const ColumnDef*>& columns);

} // namespace tavrin::portable
