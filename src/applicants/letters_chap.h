#pragma once
// The numbered letters and forms printed for the list's current applicant
// (introductions to banks, notaries and offices, registration and invitation
// forms, delivery and defect minutes, powers of attorney, notices, transfer
// forms) and the enquiry letter of the offices window.  Each is one page
// filled from the applicant's file, the values asked in input boxes (a
// cancelled box prints its preset) and the officers of the province or the
// county settings.
#include "applicants/form_data.h"

#include "documents/document.h"

namespace tavrin::forms {

// The letters of the menu by their number (3 to 21, 24 to 26).  Letter 3 has
// a province and a county form (seat); the others take their officers from
// the province unless the letter follows the user's level.
QString letterTemplate(int number);
FormFill letterFill(int number, const ApplicantFile& f, Seat seat);
doc::Document letter(int number, const ApplicantFile& f, Seat seat);

// Letter 15's notice as plain text, for a text message.
QString noticeText(const FormFill& fill);

// The enquiry letter of the offices window: the office, the signer, the
// benefit asked about, the applicant and his spouse (oldest row of relation
// "همسر" among his own dependants); the former name is asked.
FormFill enquiryFill(const QSqlRecord& customer, const QString& office, const QString& signer, const QString& benefit);
doc::Document enquiryLetter(const QSqlRecord& customer, const QString& office, const QString& signer,
                            const QString& benefit);

// The menu's action: read the applicant, fill, preview (letter 15 also puts
// its notice into the clipboard window and on the clipboard).
void printLetter(const QSqlRecord& customer, int number, Seat seat);

} // namespace tavrin::forms
