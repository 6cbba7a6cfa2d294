#pragma once
// The central office's entries of the project list's "گزارش" menu: the
// provincial cover sheet (a printed page), four tables over the projects of
// a province written to "projects.htm", and two listings of projects with
// their applicants (and applicants with their projects) written to
// "Tavrin.htm".
//
// The province is that of the project selected in the list; the listings
// take the list's ticked province and county fields instead, and show a user
// whose level is not "admin" only his granted counties.
//
// Counting rules:
//  - a delivery date counts only when it is a real date (not NULL, "", the
//    empty date mask or "//");
//  - a number (notary letter, deed) that is NULL counts as absent, as "" does;
//  - a unit without a loan is one for which no loan row exists (a loan row
//    with no unit does not hide every unit);
//  - every table is one grouped statement, whatever the number of projects;
//    a project, or a province, with nothing to count shows 0.
// The listings pair an applicant's first storage room with his first
// parking space, his second with his second, and so on (by id), so that each
// room and each space shows once.
#include "documents/html_page.h"
#include "reports/report_build.h"

#include "db/schema.h"
#include "documents/layout.h"

#include <QVariant>
#include <QSqlQuery>
#include <QVariantMap>

#include <optional>

namespace tavrin {

class Database;
class Tproject_src;

namespace reports {

// The list's ticked fields that narrow the listings and the conversion exports.
struct ExportScope {
    std::optional<QString> ostan;        // exact
    std::optional<QString> shahrestan;   // a part of the county's name
};
ExportScope exportScopeOf(const Tproject_src& list);

// " and ..." conditions of the scope over a table alias (its ostan and
// shahrestan): the user's granted counties unless he is "admin", then the
// ticked fields.
QString scopeConditions(const Database& db, const QString& alias, const ExportScope& scope, QVariantList& values);

// A value as a cell shows it: NULL is empty, amounts and counts whole
// numbers, areas and rates without trailing zeros, texts as stored.
QString cellText(const QVariant& value, ColType type);
// The type of a column of the schema (text when unknown).
ColType columnType(const QString& table, const QString& column);

// Reads a select once, in its order (forward only, or a server-side cursor),
// and hands each row to visit; never page by page, which would sort the whole
// result again for every page.
void forEachRowOf(Database& db, const QString& sql, const QVariantList& values,
                  const std::function<void(const QSqlRecord&)>& visit);

// ---------------------------------------------------------------- province tables

enum class ProvinceTable { Deeds, Facilities, Delivered, UnitTypes };

// The statement of a table over the projects of a province; year is the
// current Jalali year (the delivered units' newest column).
Statement provinceTableStatement(const Database& db, ProvinceTable table, const QString& ostan, int year);
// Headings and caption of a table; today is today's Jalali date.
HtmlFrame provinceTableFrame(ProvinceTable table, const QString& today);
// The rows: the running number, then one cell per heading after it.
QList<QStringList> provinceTableRows(Database& db, ProvinceTable table, const QString& ostan, int year);

// ---------------------------------------------------------------- listings

enum class Listing {
    ProjectsApplicants,   // every project with its applicants, grouped header over the columns
    ApplicantsProjects    // every applicant with his project
};
// The columns of a listing, in order: table alias, table, column, heading.
struct ListingColumn {
    QString alias;
    QString table;
    QString column;
    QString heading;
};
QList<ListingColumn> listingColumns(Listing listing);
// The groups over the projects-to-applicants listing's columns (after the running number).
HeadingRow listingGroups();
Statement listingStatement(const Database& db, Listing listing, const ExportScope& scope);
HtmlFrame listingFrame(Listing listing, const QString& today, const QString& time);
void writeListing(Database& db, HtmlTableWriter& w, Listing listing, const ExportScope& scope, const QString& today,
                  const QString& time);

// ---------------------------------------------------------------- cover sheet

// The values of the cover sheet's labels for a province (one statement).
QVariantMap coverSheetValues(Database& db, const QString& ostan, const QString& today);
doc::PageLayout coverSheetLayout();
doc::Document coverSheet(Database& db, const QString& ostan, const QString& today);
// Millions of rials with two decimals at most, in groups of three ("1,234.5").
QString millions(qint64 rials);

// ---------------------------------------------------------------- menu entries

// The cover sheet and the province tables ask for the list's selected
// project first (kSelectProject without one); the listings take its fields.
void printCoverSheet(const Tproject_src& list);                           // N52
void writeProvinceTable(const Tproject_src& list, ProvinceTable table);   // N53 to N56
void writeListingPage(const Tproject_src& list, Listing listing);         // N57, N58

extern const QString kSelectProject;   // no project is selected in the list

} // namespace reports
} // namespace tavrin
