#pragma once
// The sale contract at a final price: eight A4 pages (the seller the
// province office or the county office), and the two pages of the trial
// contract.  Each page is filled from the applicant's file; page 1 takes the
// sole-owner or the partnership form by the applicant's share.
#include "applicants/form_data.h"

#include "documents/document.h"

namespace tavrin::forms {

// The values of a contract page (1 to 8) and what it prints.  Page 1 of a
// partnership asks whether the shares are printed; page 2 asks for the
// words of a total they cannot be built from.
FormFill contractFill(int page, const ApplicantFile& f, Seat seat);
doc::Document contractPage(int page, const ApplicantFile& f, Seat seat);
// Pages 1 to 8 in order (one share question).
QList<doc::Document> contractPages(const ApplicantFile& f, Seat seat);

FormFill trialFill(int page, const ApplicantFile& f);
doc::Document trialPage(int page, const ApplicantFile& f);

// The template of a contract page ("contract1" ...) and a trial page ("trial1", "trial2").
QString contractTemplate(int page);

// The menu's actions: read the applicant, fill, preview.  "all pages" shows
// the eight previews one after the other and then offers one PDF file of them.
void printContractPage(const QSqlRecord& customer, int page, Seat seat);
void printContractAll(const QSqlRecord& customer, Seat seat);
void printTrialPage(const QSqlRecord& customer, int page);

} // namespace tavrin::forms
