#pragma once
// The country divisions (table abadiha): one row per settlement with its
// province, county, city, district, rural district, village and settlement
// code.  Searching, saving, renaming, deleting, the replacement of the whole
// table from a spreadsheet, and the starter set of a new database.
#include "common/fieldcheck.h"
#include "common/listquery.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace tavrin {

class Database;
struct SheetData;

struct Division {
    qint64 id = 0;
    QString ostan, shahrestan, shahr, bakhsh, dehestan, rosta, cod;

    // The seven values in the table's column order.
    QStringList values() const;
    static Division fromValues(const QStringList& v);
};

// ostan, shahrestan, shahr, bakhsh, dehestan, rosta, cod: the table's columns
// after id, which is also the column order of an imported spreadsheet.
const QStringList& divisionColumns();

// The ticked criteria of the list window (nothing = not ticked).
struct DivisionCriteria {
    std::optional<QString> ostan, shahrestan, bakhsh, dehestan, rosta, cod;
};
// "select * from abadiha where id<>-1" with one folded "like" per ticked
// criterion, ordered by county, district, rural district and village.
ListQuery divisionsQuery(const DivisionCriteria& c);

enum class DivisionSave { Saved, DuplicatePlace, DuplicateCode, Vanished, TooLong };

// Saves a new settlement and its log row in one transaction, unless a row with
// the same county, village, province and code, or any row with the same code,
// exists, or a name is longer than its column (the refusal then goes to
// *tooLong).  Throws DbError.
DivisionSave insertDivision(const Division& d, FieldRefusal* tooLong = nullptr);
// Changes the row d.id; refuses a changed code that another row holds, and a
// name longer than its column.  Logs.
DivisionSave updateDivision(const Division& d, const QString& oldCod, FieldRefusal* tooLong = nullptr);
// Deletes the row and logs it; false when the row was already gone.
bool deleteDivision(qint64 id, const QString& cod);

// Sets column (one of ostan, shahrestan, shahr, bakhsh, dehestan, rosta) to
// newName on exactly the rows with the given ids, in one transaction; returns
// the number of rows changed.  A name longer than the column changes nothing:
// -1 comes back and the refusal goes to *tooLong.  Throws DbError (and
// changes nothing then).
int renameDivisions(const QString& column, const QString& newName, const QList<qint64>& ids,
                    FieldRefusal* tooLong = nullptr);
// A usable new name: not empty and not the input box's preset "?".
bool isUsableNewName(const QString& name);

// ---- Replacing the table from a spreadsheet ------------------------------
//
// The sheet must have exactly seven columns, in the table's order: province,
// county, city, district, rural district, village, settlement code.  The
// first row holding a value is a header, and is skipped, when its first cell
// is the title of the province column ("استان" in any yeh or kaf form, or
// "ostan" in any letter case).  Every cell is taken without leading and
// trailing blanks; wholly empty rows are skipped; every other row needs its
// province and its county, and no cell may be longer than its column.  A cell
// of the seven columns whose value cannot be read (an error value such as
// #N/A, a formula saved without its result) refuses the sheet, naming the
// cell.  The whole sheet is checked before anything is written, so a bad row
// leaves the table as it was.

enum class SheetProblem { None, ColumnCount, EmptyPlace, TooLong, NoRows, UnreadableCell };

struct DivisionSheet {
    SheetProblem problem = SheetProblem::None;
    int badRow = 0;              // 1-based row number in the sheet
    QString badColumn;           // for TooLong
    QString badCell;             // for UnreadableCell: "B7"
    bool headerSkipped = false;
    int headerRow = 0;           // 1-based row number of the skipped header, 0 for none
    QList<Division> rows;
    QList<int> rowNumbers;       // the sheet's row number of each of rows
};

DivisionSheet checkDivisionSheet(const SheetData& sheet);
// The rows of the sheet the import takes as settlements, by index into
// sheet.rows: every row holding a value but the header (what the window's
// preview lists and counts).
QList<int> divisionDataRows(const SheetData& sheet);
// The Persian message for a problem of the sheet.
QString sheetProblemMessage(const DivisionSheet& s);
// The same in English (the command-line tool).
QString sheetProblemText(const DivisionSheet& s);

// Told the number of rows written so far.
using ImportProgress = std::function<void(int done, int total)>;

// Replaces every row of abadiha with rows, in one transaction (deleted and
// inserted together, or nothing changes).  Returns the number of rows written.
// Throws DbError.
int replaceDivisions(Database& db, const QList<Division>& rows, const ImportProgress& progress = {});

// Reads a spreadsheet (.xlsx or .xls), checks it and replaces the table with
// it: the import of the command-line tool, and the same steps as the window's.
struct DivisionImport {
    bool ok = false;
    int rows = 0;
    bool headerSkipped = false;
    QString error;   // English: why nothing was imported
};
DivisionImport importDivisionsFile(Database& db, const QString& path, const ImportProgress& progress = {});

// ---- A new database -------------------------------------------------------

// Writes the starter set of a new database: each of the 31 provinces with its
// centre county and city (district, rural district, village and code empty),
// so that projects can be registered before the full list is imported, which
// replaces it.  Does nothing when abadiha already has rows.  Returns the
// number of rows written.  Throws DbError.
int seedStarterDivisions(Database& db);

} // namespace tavrin
