#pragma once
// The Excel headings of the applicant columns, shared by the exports of the
// applicant list and of the lists that show applicant columns (partners,
// dependants, pre-registrations, project reports).
#include "xlsxexport.h"

namespace tavrin {

// In the order of the applicant list's columns.
const QList<QPair<QString, QString>>& applicantHeadingList();
HeaderMap applicantHeaders();

} // namespace tavrin
