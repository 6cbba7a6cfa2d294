#pragma once
// The Excel headings of the applicant columns, shared by the exports of the
// applicant list and of the lists that show applicant columns (partners,
// dependants, pre-registrations, project reports).
#include "xlsxexport.h"

namespace tavrin {

HeaderMap applicantHeaders();

} // namespace tavrin
