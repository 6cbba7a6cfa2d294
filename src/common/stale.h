#pragma once
// Saving a record that another user changed after the window read it.
//
// An entry window keeps the row it showed (what it read when it opened the
// record).  Its save locks the row, reads it again and compares the columns
// the window shows and writes with what it read: when another user changed
// any of them meanwhile, nothing is written, the user is told which record
// changed and is offered to read it again.  Columns the window does not write
// (totals other windows keep) are left out of the comparison, so a payment
// another user records does not block an edit of the applicant.
#include <QSqlRecord>
#include <QString>
#include <QStringList>

namespace tavrin {

// The columns among `columns` (every field of `read` when empty) whose value
// stored now differs from what the window read.  Values compare as stored
// (NULL apart from every text; numbers and texts by their text), so a row
// read twice through one connection compares equal.
QStringList changedColumns(const QSqlRecord& read, const QSqlRecord& now, const QStringList& columns = {});

// The refusal of a save whose record another user changed: "خطا! اين "
// + the record's name + " پس از باز شدن اين پنجره توسط کاربر ديگري تغيير
// کرده است و ذخيره نشد".
QString changedByOtherMessage(const QString& recordName);

// Shows that refusal as a question offering to read the record again; true
// when the user answers Yes (the window then shows the stored record).
bool offerReload(const QString& message);

} // namespace tavrin
