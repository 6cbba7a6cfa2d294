#pragma once
// The rules of the storage rooms and parking spaces sold to an applicant (his
// anbari and parking rows), one implementation for both sides, without windows.
//
// A space is sold by its id: one transaction sets that space's status from
// "فعال" to the sold status with a conditional update checked for one row, so
// of two users selling it at once one succeeds and the other is told who holds
// it.  Only the chosen space changes; a space of the same block and number at
// another position stays free.  Every sale and every delete writes the
// applicant's amount and area totals again from his rows and its log row in
// the same transaction.
#include "common/listquery.h"
#include "common/xlsxexport.h"
#include "projects/item_rules.h"
#include "projects/spaces_logic.h"

#include <QSqlRecord>
#include <QString>
#include <QStringList>

#include <optional>

namespace tavrin::assignments {

// One side of the window: the project's spaces and the applicant's rows.
struct Side {
    const spaces::SpaceKind* kind = nullptr;
    QString amountColumn;   // customers.parking_mablagh / anbari_mablagh
    QString areaColumn;     // customers.parking / anbari
    QString notInProject, notActive, soldTo, duplicate, choose;
    QString logNew, logDelete;

    const QString& spaces() const { return kind->table; }        // parkingha / anbariha
    const QString& rows() const { return kind->assignTable; }    // parking / anbari
    const QString& spaceId() const { return kind->assignId; }    // parking_id / anbari_id
};
const Side& parkingSide();
const Side& storageSide();

// The selectors over the free spaces of a project: blocks, the numbers of a
// block, the positions of a number, and the space at a position.
QStringList freeBlocks(const Side& s, qint64 prjId);
QStringList freeNumbers(const Side& s, qint64 prjId, const QString& bolok);
QStringList freePositions(const Side& s, qint64 prjId, const QString& bolok, const QString& num);
std::optional<QSqlRecord> freeSpace(const Side& s, qint64 prjId, const QString& bolok, const QString& num,
                                    const QString& pos);

// The applicant's rows of a side.
ListQuery rowsQuery(const Side& s, qint64 customerId);

struct Totals {
    double metraj = 0;
    qint64 mablagh = 0;
};
Totals totals(const Side& s, qint64 customerId);

// Sells the space (by id) to the applicant.  Refusals, in order: no space
// chosen; the applicant gone or without a project; the space not in his
// project; not free (with its status); held by an applicant (with his
// surname); the same number, block and position already among the project's
// sold rows; sold meanwhile by another user.
Outcome assign(const Side& s, qint64 customerId, qint64 spaceId);
// Deletes one of the applicant's rows and frees its space (when no other row
// holds it).
Outcome unassign(const Side& s, qint64 customerId, qint64 rowId);

// Writes the applicant's area and amount totals of both sides from his rows
// (what the window does on closing).  False when the applicant is gone.
bool writeTotals(qint64 customerId);

// ---------------------------------------------------------------- the search

struct SearchCriteria {
    std::optional<QString> shahrestan, prjName;
    std::optional<QString> parkingNum, anbariNum;   // exact numbers
};
// The sold rows of a side with their applicants, within the counties granted
// to provincial and county users; the applicant's block arrives as bolok_1.
// The number criterion of the other side is not applied.
ListQuery searchQuery(const Side& s, const SearchCriteria& c);
// Grid and Excel titles of a side's search list.
HeaderMap searchHeaders(const Side& s);

} // namespace tavrin::assignments
