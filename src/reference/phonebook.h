#pragma once
// The phone book (table phone): search, insert and delete.
#include "common/fieldcheck.h"
#include "common/listquery.h"

#include <QString>

namespace tavrin {

enum class PhoneColumn { Name, Tel, Cmt };

// The search text as the field shows it: every Persian kaf "ک" becomes the
// Arabic kaf "ك".
QString normalisePhoneSearch(const QString& typed);
// The rows with a name whose column matches "%text%" (yeh and kaf folded), by name.
ListQuery phoneQuery(PhoneColumn column, const QString& text);

enum class PhoneInsert { Inserted, EmptyName, Duplicate, TooLong };
// Inserts an entry unless its name is empty or already in the book (names are
// compared exactly as typed) or a text is longer than its column (the refusal
// then goes to *tooLong); the check and the insert run in one transaction.
// Throws DbError.
PhoneInsert addPhone(const QString& name, const QString& tel, const QString& cmt, FieldRefusal* tooLong = nullptr);
// Deletes the entry; false when it was already gone.
bool deletePhone(qint64 id);

} // namespace tavrin
