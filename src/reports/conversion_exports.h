#pragma once
// The data conversion exports of the project list's "گزارش" menu: six
// tables in the column layout of another company's system, each written as
// "Tavrin.htm" (a web page) or "Tavrin.xls" (the same bytes, which a
// spreadsheet program opens as a table).
//
// A page has two header rows, the receiving system's column names and their
// Persian descriptions, then one row per result row: the running number,
// the key cells (the ids that tie the row to its project, applicant or
// space), then one cell per column.  The key cells have their column names
// as headings in both header rows, so every value stands under its own
// heading.
//
// Scope: a user whose level is not "admin" sees his granted counties only;
// the list's ticked province (exact) and county (a part of its name) narrow
// the rows, which come ordered by province, county and project name.
#include "reports/central_reports.h"

namespace tavrin::reports {

// In the order of the menu's entries.
enum class Conversion { ProjectsUnits, Parking, Storage, Obligations, Transactions, Dependants };
inline constexpr Conversion kAllConversions[] = {Conversion::ProjectsUnits, Conversion::Parking,
                                                 Conversion::Storage,       Conversion::Obligations,
                                                 Conversion::Transactions,  Conversion::Dependants};

// The export's name (its menu caption), as the title and caption show it.
QString conversionName(Conversion c);
// The names of the key cells after the running number.
QStringList conversionKeys(Conversion c);
HtmlFrame conversionFrame(Conversion c);
Statement conversionStatement(const Database& db, Conversion c, const ExportScope& scope);
void writeConversion(Database& db, HtmlTableWriter& w, Conversion c, const ExportScope& scope);

// The menu entry: the web page ("Tavrin.htm") or the spreadsheet ("Tavrin.xls").
enum class ConversionFile { Web, Sheet };
QString exportConversion(Conversion c, ConversionFile file, const ExportScope& scope);

} // namespace tavrin::reports
