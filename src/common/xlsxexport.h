#pragma once
// Export of a list to a new Excel workbook (.xlsx): one worksheet "Sheet1",
// laid out right to left; row 1 holds the Persian header of every field (a
// field the header map does not know keeps its name), the rows below hold the
// field values without leading and trailing blanks.  Values of numeric
// columns (amounts, counts, areas: integer, money and real columns) are
// written as numbers, so that a user can add them up; every other value,
// codes included, as text (a national code keeps its leading zeros).  Every
// used column is 10 characters wide (a column of numbers wider, to show its
// longest number), A1:AA1 is bold, A1:M1 has slanted dash-dot borders and the
// data rows have thin borders in columns A to M.
//
// A text reads back exactly as it was: one that looks like the file format's
// escape of a character ("_x0041_") is itself escaped, and a text longer
// than a cell holds (32,767 characters) is cut between whole characters.
//
// The workbook is written as the rows come: the sheet's rows are compressed
// into a temporary file as they are written, and the workbook (zipwriter.h)
// is put together when it closes, so an export of a long list needs no more
// memory than a short one.
//
// Usage from a list window (ListModel::forEachRow has the RecordSource shape):
//
//     exportListToExcel(QStringLiteral("shoraka"), *model, applicantHeaders());
//
// or with a statement of its own, read once (a cursor on PostgreSQL):
//
//     exportListToExcel(QStringLiteral("abadiha"), q.listSql(), q.values(), headers);
#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <functional>
#include <memory>

namespace tavrin {
class ListModel;

// Field name -> Persian column title.
using HeaderMap = QHash<QString, QString>;

// Receives one row; a source calls it once per row, in order.
using RecordVisitor = std::function<void(const QSqlRecord&)>;
using RecordSource = std::function<void(const RecordVisitor&)>;
using RowVisitor = std::function<void(const QStringList&)>;
using RowSource = std::function<void(const RowVisitor&)>;

// The text a field value is exported as, before trimming: "" for NULL, numbers
// without exponent or trailing zeros, timestamps as "yyyy-MM-dd HH:mm:ss",
// binary values as UTF-8 text when they are text and "" otherwise.
QString exportCellText(const QVariant& value);

// The title of a field: the header map's entry, or the name itself.
QString headerFor(const QString& fieldName, const HeaderMap& headers);

// A workbook being written.  open(), writeHeader() once, writeRow() per data
// row, close().  Destroying an unclosed writer discards the workbook.
class XlsxWriter {
public:
    XlsxWriter();
    ~XlsxWriter();
    XlsxWriter(const XlsxWriter&) = delete;
    XlsxWriter& operator=(const XlsxWriter&) = delete;

    // Starts a workbook that close() writes to path.
    bool open(const QString& path, QString* error = nullptr);
    bool isOpen() const;
    // Row 1: the titles of the fields, in field order.
    void writeHeader(const QStringList& fieldNames, const HeaderMap& headers);
    // The next data row (row 2, 3, ...); values are trimmed.
    void writeRow(const QStringList& values);
    // The next data row from a record, field by field in record order: the
    // values of numeric fields as numbers, the others as text.
    void writeRecord(const QSqlRecord& record);
    // The next data row from values: numbers (int, qint64, double ...) as
    // numbers, everything else (texts included) as text.
    void writeValues(const QVariantList& values);
    // Data rows written so far.
    int rowCount() const;
    // Writes the file.  False (with the reason) when anything failed; no
    // partial file is left behind then.
    bool close(QString* error = nullptr);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Writes a whole export to path.  The sources may throw DbError; nothing is
// written to path then (the file is only created when the workbook closes).
bool exportRows(const QString& path, const QStringList& fieldNames, const HeaderMap& headers,
                const RowSource& rows, QString* error = nullptr);
bool exportRecords(const QString& path, const QStringList& fieldNames, const HeaderMap& headers,
                   const RecordSource& records, QString* error = nullptr);
// Streams the rows of a query that has been executed and not yet read (a
// forward-only query is fine); its record gives the field names.
bool exportQuery(const QString& path, QSqlQuery& query, const HeaderMap& headers, QString* error = nullptr);
// Runs a select and exports its rows, reading the result once, in order
// (Database::forEachRow: forward only, or a server-side cursor fetched
// pageSize rows or more at a time).  Throws DbError.
bool exportStatement(const QString& path, const QString& sql, const QVariantList& values,
                     const HeaderMap& headers, QString* error = nullptr, int pageSize = 1000);

// The text a cell holds for a value: the file format's escapes of "_xHHHH_"
// texts made, and cut between whole characters to the cell's limit.
QString xlsxCellText(const QString& text);

// The export action of a list window: asks where to save (suggestedName plus
// ".xlsx" in the user's documents folder), writes the workbook and opens it
// with the desktop's spreadsheet program, or, when the desktop has none, says
// where it was saved (kExcelSavedAt).  While the rows are read a progress
// dialog offers to cancel; a cancelled export leaves no file.  A cancelled
// dialog does nothing; a
// failure shows kExcelWriteFailed (database failures go through reportFailure).
// Returns true when the workbook was written.
bool exportListToExcel(const QString& suggestedName, const QStringList& fieldNames,
                       const HeaderMap& headers, const RecordSource& records);
bool exportListToExcel(const QString& suggestedName, const QString& sql, const QVariantList& values,
                       const HeaderMap& headers);
// The whole result of a list window's current search, in the grid's order.
bool exportListToExcel(const QString& suggestedName, const ListModel& model, const HeaderMap& headers);

// After an export: opens the file with the desktop's program for its type,
// or, when there is none, tells the user where it was saved (savedText, then
// the path on a line of its own).
void openExportedFile(const QString& path, const QString& savedText);

// Texts of the export.
extern const QString kExcelWriteFailed;   // "خطا در ساخت فايل اکسل"
extern const QString kExcelSavedAt;       // the file was saved here (no program opens it)
extern const QString kExcelSaveTitle;     // title of the save dialog
extern const QString kExcelFilter;        // file dialog filter for .xlsx

} // namespace tavrin
