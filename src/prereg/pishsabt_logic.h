#pragma once
// The rules of the pre-registration record and list, without windows: the
// search, the checks and writes of a new or edited person, the delete with
// the person's deposits, and the Excel headings.  The applicant record uses
// removePreregistration() when it turns a pre-registration into an applicant.
#include "common/dialogs.h"
#include "common/listquery.h"
#include "common/outcome.h"
#include "common/xlsxexport.h"

#include <QMap>
#include <QSqlRecord>
#include <QString>
#include <QStringList>

#include <optional>

namespace tavrin::prereg {

// ---------------------------------------------------------------- the list

// The ticked filters of the search (nothing: the filter is off).
struct PersonFilter {
    std::optional<QString> ostan;       // exact comparison
    std::optional<QString> shahrestan;  // the others match "%text%"
    std::optional<QString> nation;
    std::optional<QString> lname;
    std::optional<QString> gender;
    std::optional<QString> regUser;     // the internet preset matches every row of that channel
};

// "select * from pishsabt where id<>-1" limited to the user's granted counties
// for every level but "admin", and one condition per filter.
ListQuery personQuery(const PersonFilter& filter);

// ---------------------------------------------------------------- the record

// The columns an entry window fills, in the table's order (reg_user is set by
// the save, not by the form).
const QStringList& formColumns();
// The two date columns (Jalali date text or the empty date mask).
const QStringList& dateColumns();

// The fields of the entry window as text, by column name.
using PersonValues = QMap<QString, QString>;

// The form fields of a stored row (NULL -> "").
PersonValues valuesOf(const QSqlRecord& person);

// Checks and saves a new pre-registration for the session's user.  When the
// same name and father's name are recorded in the county, asks the warning
// question through ask; anything but Yes gives a result that
// is neither saved nor carries a message.  The national code is checked again
// and the row inserted in one transaction that holds off other writers, so
// two users cannot record the same code.  Throws DbError after a rollback.
Outcome insertPerson(PersonValues& values, const Ask& ask);

// Checks and saves an edit of the row `id` whose form fields were `before`
// when the window read it.  reg_user is kept.  A row another user changed
// since (its form fields no longer `before`) comes back as changedByOther,
// with nothing written; a national code changed to one another row holds is
// refused; a row deleted meanwhile comes back as gone.  Throws DbError after
// a rollback.
Outcome updatePerson(qint64 id, const PersonValues& before, PersonValues& values);

// The pre-registration's name in the refusal of a save another user overtook.
extern const QString kRecordName;

// ---------------------------------------------------------------- delete

// Deletes the person's deposits and the row, and writes the delete's log row,
// in one transaction.  False (nothing changed) when the row no longer exists.
// Throws DbError after a rollback.
bool deletePersonRows(qint64 id);

// Deletes the person's deposits and the row without a log row, inside the
// caller's transaction when there is one (the conversion of a
// pre-registration into an applicant).  False when the row no longer exists.
bool removePreregistration(qint64 id);

enum class DeleteOutcome { Deleted, Cancelled, Gone, Failed };
// The delete of the list window: the delete password (a wrong one stops
// silently), then deletePersonRows.  Reports a vanished row or a failure
// through the dialog service; the caller refreshes its list and says "حذف شد".
DeleteOutcome deletePerson(const QSqlRecord& person);

// ---------------------------------------------------------------- outputs

// Field name -> heading of the list's Excel export.
HeaderMap excelHeaders();

// Texts of this system's own.
extern const QString kSaveFailed;    // a save failed in the database
extern const QString kDeleteFailed;  // a delete failed in the database
extern const QString kSearchFailed;  // the search failed in the database
extern const QString kPersonGone;    // the row was deleted by someone else meanwhile

} // namespace tavrin::prereg
