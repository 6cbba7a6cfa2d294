#pragma once
// The record history: one row of the table "taghirat" per field an action
// changed, with the value before and after as text exactly as stored, who
// and when, and the id of the activity-log row the same action wrote.
//
// The action writes it itself, inside its transaction, from the row it read
// under its lock and the row it wrote: the rows are one execLater statement,
// which travels with the action's other deferred writes (log row, totals,
// COMMIT) and costs no round trip; a refused or rolled-back action leaves
// none.  Each row names its owner, the applicant (cust_id) or the project
// (prj_id) it belongs to, so that a record's children are shown with it and
// an applicant's history moves with him.
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

namespace tavrin {

class Database;

namespace history {

inline constexpr auto kTable = "taghirat";
// The stored action names.
inline constexpr auto kInsert = "insert";
inline constexpr auto kEdit = "edit";
inline constexpr auto kDelete = "delete";

struct Owner {
    qint64 customer = 0;   // the applicant the record belongs to (customers.id)
    qint64 project = 0;    // else the project (projects.id)
    static Owner applicant(qint64 id) { return {id, 0}; }
    static Owner ofProject(qint64 id) { return {0, id}; }
    // For the set-based writers: each row's applicant, read from the column
    // they name.
    static Owner eachApplicant() { return {-1, 0}; }
    static Owner eachProject() { return {0, -1}; }
};

// A column's value as the history keeps it: the text the column stores
// (amounts without the scale's trailing zeros, flags as 1 or 0), a null
// QString for NULL.  Columns outside the schema keep their text.
QString storedText(const QString& table, const QString& column, const QVariant& value);

// An insert's columns and values as the row the writer takes.
inline QVariantMap rowOf(const QStringList& columns, const QVariantList& values)
{
    QVariantMap row;
    for (qsizetype i = 0; i < columns.size() && i < values.size(); ++i)
        row.insert(columns.at(i), values.at(i));
    return row;
}

// Writes the history of one action on one record.  `before` is the row read
// under the action's lock (none for an insert), `after` the columns the
// action wrote (none for a delete).  An edit writes one row per column of
// `after` whose text differs from `before` (NULL, '' and the empty date are
// one empty value); an insert one per column written with a value, a delete
// one per column the row held with a value.  Pictures are never written, a password never: its change is
// one row without values.  Nothing when nothing changed.
void write(Database& db, const QString& table, qint64 id, Owner owner, const QString& action,
           const std::optional<QSqlRecord>& before, const QVariantMap& after);
void write(const QString& table, qint64 id, Owner owner, const QString& action,
           const std::optional<QSqlRecord>& before, const QVariantMap& after);
inline void inserted(const QString& table, qint64 id, Owner owner, const QVariantMap& row)
{
    write(table, id, owner, QString::fromLatin1(kInsert), std::nullopt, row);
}
inline void edited(const QString& table, qint64 id, Owner owner, const QSqlRecord& before, const QVariantMap& after)
{
    write(table, id, owner, QString::fromLatin1(kEdit), before, after);
}
inline void deleted(const QString& table, qint64 id, Owner owner, const QSqlRecord& before)
{
    write(table, id, owner, QString::fromLatin1(kDelete), before, {});
}

// One column of a record changed from `was` to `now` (a status an action sets
// by a conditional update, whose old value its condition names).
void fieldChanged(const QString& table, qint64 id, Owner owner, const QString& column, const QVariant& was,
                  const QVariant& now);

// The history of rows about to be deleted that the action has not read: one
// insert ... select over `where` (a condition on the table's columns with its
// bound values), queued before the delete, so it costs no round trip.
// `ownerColumn` as for changedWhere.
void deletedWhere(const QString& table, const QString& where, const QVariantList& values, Owner owner,
                  const QString& ownerColumn = {});

// The history of a column a set-based update is about to change in rows the
// action has not read: one insert ... select of the rows matching `where`
// whose value differs from `now`, the old value read by the same statement,
// queued before the update, so it costs no round trip.  `ownerColumn` (when
// given) names the column holding each row's owner (an applicant's or a
// project's id, as `owner` says), else every row has `owner`.
void changedWhere(const QString& table, const QString& column, const QVariant& now, const QString& where,
                  const QVariantList& values, Owner owner, const QString& ownerColumn = {});
// The same where the new value is an expression over each row (`nowSql` with
// its bound `nowValues`, the expression the update writes), compared with the
// old value as the column's stored text.
void changedToWhere(const QString& table, const QString& column, const QString& nowSql, const QVariantList& nowValues,
                    const QString& where, const QVariantList& values, Owner owner, const QString& ownerColumn = {});

// A record's list kept as rows of another table (a user's counties): the
// values of `listTable`.`valueColumn` under `keyColumn`=id that the new list
// drops (old value, no new) and the values it adds (no old, new value), as
// edits of `field` of the record; queued before the list's rows are replaced.
void listChanged(const QString& table, qint64 id, Owner owner, const QString& field, const QString& listTable,
                 const QString& keyColumn, const QString& valueColumn, const QStringList& now);

// Called by the activity-log writer after it queued its row: the history rows
// of the same transaction link to it.
void noteLogRow(Database& db);

// One stored history row.
struct Entry {
    QString table, field, before, after, action, user, date, time;   // before/after: a null QString for NULL
    qint64 record = 0, logId = 0;
};

// The history of a record, newest first: an applicant's (customers) with his
// payments, partners, dependants and spaces, a project's (projects) with its
// units, facilities, loans and spaces, any other record its own rows.
// Reads through the record's index, one statement.
QList<Entry> ofRecord(Database& db, const QString& table, qint64 id);

// The condition on taghirat's columns that ofRecord reads a record's history
// by (one of its indexes), with its bound values.
QString recordCondition(const QString& table, qint64 id, QVariantList& values);

} // namespace history
} // namespace tavrin
