#pragma once
// The rules of the project record and list, without windows: the search and
// totals statements, the checks and writes of a new or edited project, the
// delete, and the values of the Excel export, the printed list and the web page.
#include "common/listquery.h"
#include "common/outcome.h"
#include "common/xlsxexport.h"

#include <QMap>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <optional>

class QIODevice;

namespace tavrin {
class ListModel;
}

namespace tavrin::projects {

// ---------------------------------------------------------------- the list

// The ticked filters of the project search (nothing: the filter is off).
struct ProjectFilter {
    std::optional<QString> ostan;       // exact comparison
    std::optional<QString> shahrestan;  // the others match "%text%"
    std::optional<QString> prjTyp;
    std::optional<QString> prjName;
    std::optional<QString> stTavrin;
};

// "select *,vahed_kol-vahed_f as mande from projects where id<>-1" with the
// county scope for every level but "admin" and one condition per filter.
ListQuery projectQuery(const ProjectFilter& filter);

// The totals of a search: c, vk, vc, vf, m, ac, pc (sums are NULL for an empty result).
QVariantMap projectTotals(const ListQuery& q);
// The same totals as the list read them with its last search of projectQuery
// (no statement of their own).
QVariantMap projectTotals(const ListModel& list);
// The names of the totals in the order of the summary line.
const QStringList& totalNames();

// ---------------------------------------------------------------- the record

// The twenty columns an entry saves, in the order of the table's data model.
const QStringList& projectColumns();
// The count columns (written as integers).
const QStringList& countColumns();
// The two date columns (Jalali date text or the empty date mask).
const QStringList& dateColumns();

// The fields of the entry window as text, by column name.
using ProjectValues = QMap<QString, QString>;

// Reads the twenty fields of a stored project (NULL -> "", counts as digits).
ProjectValues valuesOf(const QSqlRecord& project);

// Checks and saves a new project.  values is adjusted as the save adjusts the
// window's fields (sale state, empty city and village take their defaults).
// Refusals come back in the result; a database failure throws DbError after
// everything was rolled back.
Outcome insertProject(ProjectValues& values);

// Checks and saves an edit of the project `id` whose stored fields were
// `before`, and copies the project's identity to its applicants, all in one
// transaction.  When the stored fields are no longer `before` (another user
// saved the project since the window read it), nothing is written and the
// result is changedByOther.
Outcome updateProject(qint64 id, const ProjectValues& before, ProjectValues& values);

// The project's name in the refusal of a save another user overtook.
extern const QString kRecordName;

// The checks that need no database, in the order the save makes them (the
// sale state and the field contents); returns a refusal or nothing.
std::optional<Outcome> checkFields(ProjectValues& values);

// vahed_kol and vahed_cnt as the count fields hold them after leaving one:
// empty becomes "0"; true when the licensed count exceeds the total.
bool licensedExceedsTotal(QString& vahedKol, QString& vahedCnt);

// ---------------------------------------------------------------- delete

// Deletes the project with its units, parking spaces, storage rooms,
// facilities and unit loans in one transaction, unless an applicant refers to
// the project: then nothing is deleted and the refusal message naming the
// first applicant comes back (or the message that the project is gone).  The
// project row is locked before the checks, as the saves of its items lock it.
// Throws DbError after a rollback.
std::optional<QString> deleteProjectRows(qint64 id, const QString& ostan, const QString& prjName);

// The delete of the list window: the delete password (`password`: the window
// passes askDeletePassword), the warning question through `ask`, then
// deleteProjectRows.  Neither done nor refused when there is no project or
// the user declined; the refusal's message otherwise.  Throws DbError after a
// rollback.
Outcome deleteProject(const QSqlRecord& project, const std::function<bool()>& password, const Ask& ask);

// Asks for the delete password with the project window's prompt.
bool askDeletePassword();

// ---------------------------------------------------------------- outputs

// Field name -> heading of the Excel export of the project list.
HeaderMap excelHeaders();

// The printed project list: the rows' fields of the layout, and the totals.
QVariantMap printRow(const QSqlRecord& project);

// The web page of the project list (UTF-8): headings per field in the given
// order, one row per record, every value escaped.
QString webPage(const QStringList& fieldNames, const RecordSource& rows);
// Writes the page to a file; false with the reason when the file cannot be written.
bool writeWebPage(const QString& path, const QStringList& fieldNames, const RecordSource& rows,
                  QString* error = nullptr);

// Texts of this system's own (not fixed by the record rules).
extern const QString kSaveFailed;     // a save failed in the database
extern const QString kDeleteFailed;   // a delete failed in the database
extern const QString kWebSaveTitle;   // the save dialog of the web page
extern const QString kWebWriteFailed; // the web page could not be written
extern const QString kPrintFailed;    // the printed list could not be built
extern const QString kProjectGone;    // the project was deleted meanwhile

} // namespace tavrin::projects
