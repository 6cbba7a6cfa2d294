#pragma once
// Helpers shared by the three files of the applicant logic (customers_record,
// customers_sale, customers_list); not for other callers.  They live in a named
// namespace, defined once, so that a unity build of the library, which
// compiles these files together, sees each of them once.
#include "applicants/customers_logic.h"

#include <QSet>
#include <QString>

namespace tavrin::applicants::customers_detail {

// A text from UTF-8 (the texts tables are UTF-8 literals).
QString s(const char* utf8);
// The empty date mask, as the record window and the stored rows carry it.
QString mask();
// A text bound as a text, never as NULL.
QString nn(const QString& t);
// The totals other windows keep: an edit never writes them.
const QSet<QString>& totalColumns();

} // namespace tavrin::applicants::customers_detail
