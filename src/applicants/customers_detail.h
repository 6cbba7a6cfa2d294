#pragma once
// Helpers shared by the three files of the applicant logic (customers_record,
// customers_sale, customers_list); not for other callers.  They live in a named
// namespace, defined once, so that a unity build of the library, which
// compiles these files together, sees each of them once.  Each file makes them
// visible in tavrin::applicants, which the windows' files open with "using
// namespace applicants": a window's own file-local helper must not share
// one of these names (the windows' "s" is why the UTF-8 texts here are read
// with QString::fromUtf8).
#include "applicants/customers_logic.h"

#include <QSet>
#include <QString>

namespace tavrin::applicants::customers_detail {

// The empty date mask, as the record window and the stored rows carry it.
QString mask();
// A text bound as a text, never as NULL.
QString nn(const QString& t);
// The totals other windows keep: an edit never writes them.
const QSet<QString>& totalColumns();

} // namespace tavrin::applicants::customers_detail
