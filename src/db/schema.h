#pragma once
// The database schema, written once as data (schema.inc) and shared by the
// installer and every dialect.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace tavrin {

enum class ColType { Identity, BigIdentity, Int, BigInt, Text, Money, Float, Bit, Blob, Now, Today, TimeNow };

// How rows that already exist get a value when a column is added to them.
enum class InitKind { None, Value, NullsTo, FromColumn };

struct ColumnDef {
    QString name;
    ColType type = ColType::Text;
    int length = 0;          // for Text
    bool addedLater = false; // appended to older databases by the installer
    InitKind init = InitKind::None;
    QVariant initValue;      // Value / NullsTo
    QString initColumn;      // FromColumn
    QString references;      // the table whose id this column holds ("" when none)
    bool date = false;       // a Jalali date held as text (the empty date mask when none)
};

struct SeedRow {
    QStringList columns;
    QVariantList values;     // a value "@ADMINHASH" is replaced by the installer
};

struct TableDef {
    QString name;
    QList<ColumnDef> columns;
    QList<SeedRow> seeds;
    QStringList obsolete;    // columns older databases still carry
    const ColumnDef* column(const QString& name) const;
    // The columns marked as dates, in the table's order.
    QStringList dateColumns() const;
};

struct IndexDef {
    QString table;
    QStringList columns;
    bool unique = false;
    QString name() const;    // ix_<table>_<col>_<col>
};

// Columns searched for any part of their text ("%text%"): the dialect gives
// them a key that an index can serve (see Dialect::createSearchKey).
struct SearchDef {
    QString table;
    QStringList columns;
};

struct Schema {
    QList<TableDef> tables;
    QList<IndexDef> indexes;
    QList<SearchDef> searches;
    const TableDef* table(const QString& name) const;
    // The search key of a table, or nullptr.
    const SearchDef* search(const QString& table) const;
};

// The schema of this version of the program (parsed once).
const Schema& schema();

// Whether the schema marks the column as a Jalali date: the one list of date
// columns, which the saves' conversions and the consistency check read.
bool isDateColumn(const QString& table, const QString& column);

// The text stored in a date column that the user left empty.
inline constexpr auto kEmptyDateMask = "    /  /  ";

} // namespace tavrin
