#pragma once
// Reads one worksheet of an Excel file, every cell as text.
//
// Both workbook formats are read: .xlsx (unzipped with minizip, the XML parts
// read with QXmlStreamReader) and the old binary .xls (through FreeXL).  The
// format is told by the file's first bytes, not by its name.  The sheet named
// "Sheet1" is read when there is one (in any letter case), else the first
// worksheet.
//
// Cells come back as text: shared and inline strings as written, numbers
// without exponent and without a trailing ".0" (1234567890, 12.5), booleans as
// TRUE/FALSE, dates as the number Excel keeps for them (.xlsx) or as FreeXL's
// date text (.xls).  Missing cells inside a row are empty strings, columns are
// in sheet order (A, B, C ...) and missing rows between two rows are empty rows.
// Rows after the last one holding a value are dropped.
//
// A formula cell reads as the result the workbook stored with it.  A cell
// holding an error value (#N/A, #REF! ...) reads as that text, and a formula
// saved without its result reads as empty; both are also reported as
// unreadable, so that an import can refuse them instead of taking the text.
// (FreeXL reports neither for .xls files.)
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace tavrin {

// A cell by its 1-based row number in the sheet and 0-based column (A = 0).
struct SheetCell {
    int row = 0;
    int column = 0;
    QString name() const;   // "B7"
};

struct SheetData {
    QString sheetName;
    // Every row padded with empty strings to columnCount.
    QList<QStringList> rows;
    // The number of columns up to the last one holding a value in any row.
    int columnCount = 0;
    // Cells whose value cannot be read (an error value, a formula without its
    // stored result), in sheet order.
    QList<SheetCell> unreadable;
};

// Receives one row: its cells up to the last non-empty one, and its 1-based row
// number in the sheet.  Return false to stop reading (the read then succeeds).
using SheetRowHandler = std::function<bool(const QStringList& cells, int rowNumber)>;
// Told the progress of a read, 0 to 100, each time it changes.
using SheetProgress = std::function<void(int percent)>;
// Told of each cell whose value cannot be read, before its row is handed over.
using UnreadableCellHandler = std::function<void(const SheetCell& cell)>;

// The most cells (rows x columns, empty ones included) readSpreadsheet keeps.
inline constexpr qint64 kMaxSheetCells = 10'000'000;

// Reads the whole sheet; nothing (and the reason in error) when the file
// cannot be read or the sheet holds more than kMaxSheetCells cells.
std::optional<SheetData> readSpreadsheet(const QString& path, QString* error = nullptr);

// Streams the rows of the sheet to onRow without keeping them.  sheetName,
// when given, receives the name of the sheet that was read.
bool readSpreadsheetRows(const QString& path, const SheetRowHandler& onRow, QString* error = nullptr,
                         const SheetProgress& progress = {}, QString* sheetName = nullptr,
                         const UnreadableCellHandler& onUnreadable = {});

// The text a number cell reads as: at most 15 significant digits (as Excel
// shows them), no exponent, no trailing zeros ("1234567890", "12.5", "0.0015").
QString spreadsheetNumberText(double value);

} // namespace tavrin
