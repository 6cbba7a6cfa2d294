#pragma once
// The report work tables and their builds.  Each report keeps per-user rows in
// a work table (prj_koli_rep, prj_rep_tashilat, prj_rep_vahed, gozaresh_sabt,
// prj_tas_rep) tagged with the user's id, and a build stamp in gozaresh_sakht.
//
// A build covers the projects of the project list's search and runs a fixed
// number of statements whatever the number of projects, applicants or
// payments: in one transaction it locks the user (so that two builds of the
// same user never interleave), replaces the stamp, deletes the user's rows and
// fills the table with one INSERT ... SELECT over grouped sub-queries.  A
// failure rolls everything back: the previous rows and stamp stay.
//
// The rules every build shares:
//  - a current buyer is an applicant whose transfer date is not a real date;
//    a date is real when it holds more than blanks and slashes (dateIsSet);
//  - a project with facilities gets one row per facility, its first row being
//    that of its lowest facility id; the project's counts, progress and money
//    columns stand on its first row only, so every total counts a project once;
//  - sold storage rooms and parking spaces are those assigned to applicants;
//  - empty sums are 0.
#include "common/jalali.h"
#include "common/listquery.h"

#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

#include <functional>
#include <optional>

namespace tavrin {

class Database;

namespace reports {

enum class ReportKind {
    Status,          // prj_koli_rep: project status (printed, Excel, chart)
    FacilitiesUsed,  // prj_rep_tashilat
    UnitProgress,    // prj_rep_vahed
    Activity,        // gozaresh_sabt
    Comprehensive    // prj_tas_rep
};
inline constexpr ReportKind kAllReports[] = {ReportKind::Status, ReportKind::FacilitiesUsed, ReportKind::UnitProgress,
                                             ReportKind::Activity, ReportKind::Comprehensive};

enum class Grouping { Project, County, Province };

// The work table of a report; also its rep_name in gozaresh_sakht.
QString workTable(ReportKind kind);

// A statement with its bound values, in the order of their "?".
struct Statement {
    QString sql;
    QVariantList values;
};

// SQL: the column holds a real date (not NULL, "", the empty date mask or "//").
using jalali::dateIsSet;

// ---------------------------------------------------------------- stamp

struct Stamp {
    QString dat;
    QString zaman;
};
// The user's last build of the report, if any.
std::optional<Stamp> readStamp(Database& db, qint64 prsId, ReportKind kind);

// ---------------------------------------------------------------- build

// The projects a build covers: the condition of the project list's search
// over projects (" where id<>-1 and ...") with its values.
struct ProjectSet {
    QString where = QStringLiteral(" where id<>-1");
    QVariantList values;
};
ProjectSet projectSetOf(const ListQuery& projectSearch);

struct BuildRequest {
    ReportKind kind = ReportKind::Status;
    ProjectSet projects;
    qint64 prsId = 0;
    // Counties with pre-registrations but no listed project are limited to the
    // user's granted counties (the activity report, for "ostan" and "city" users).
    bool grantedCountiesOnly = false;
    Stamp stamp;
};

// The statements of a build, in order (without the transaction's own).
QList<Statement> buildStatements(const Database& db, const BuildRequest& request);
// Runs them in one transaction; throws DbError after rolling back.  step(i, n)
// is called before each statement.
void build(Database& db, const BuildRequest& request, const std::function<void(int, int)>& step = {});

// ---------------------------------------------------------------- reading

// The project list's filter fields that narrow what is read (ticked ones only).
struct ReadingFilter {
    std::optional<QString> ostan;
    std::optional<QString> shahrestan;
    std::optional<QString> prjName;
    bool exactProvince = false;   // the printed status reports compare the province exactly
};

// The sums of a report, in the order of its summary line (mande and the like
// included), each read as <name>_sum.
const QStringList& sumNames(ReportKind kind);
// The totals over the user's rows: c (the number of rows) and <name>_sum;
// empty sums are 0.
Statement totalsStatement(const Database& db, ReportKind kind, const ReadingFilter& filter, qint64 prsId);
// The detail rows: every column of the table (by project) or the sums per
// province and county or per province, in a fixed order.
Statement detailStatement(const Database& db, ReportKind kind, Grouping grouping, const ReadingFilter& filter,
                          qint64 prsId);

// A read value as the reports use it: NULL stays null, text columns are text,
// counts and amounts are whole numbers (qint64, amounts in exact rials).
QVariantMap rowValues(ReportKind kind, const QSqlRecord& record);
QList<QVariantMap> readRows(Database& db, ReportKind kind, const Statement& statement);
QVariantMap readTotals(Database& db, ReportKind kind, const ReadingFilter& filter, qint64 prsId);
// An amount or count read from the database, exactly (no double rounding).
std::optional<qint64> wholeNumber(const QVariant& value);

} // namespace reports
} // namespace tavrin
