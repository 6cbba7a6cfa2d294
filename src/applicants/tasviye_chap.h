#pragma once
// The provisional settlement statement printed before a unit is handed over:
// the applicant's request, the officers' approvals (by hand) and the account
// of the unit: contract price with storage and parking, the loan, and what is
// still owed (a credit prints with "-" in front).  The province form names
// the province's officers, the county form the county's; an applicant with
// partners gets the form with their table.
#include "applicants/form_data.h"

#include "documents/document.h"

namespace tavrin::forms {

FormFill settlementFill(const ApplicantFile& f, Seat seat);
doc::Document settlement(const ApplicantFile& f, Seat seat);
void printSettlement(const QSqlRecord& customer, Seat seat);

} // namespace tavrin::forms
