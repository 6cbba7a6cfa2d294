#pragma once
// The rules of a project's bank facilities (tashilat) and of the loans given
// from them to its units (vahed_vam), without windows.
//
// A facility's received amount (daryafti) is what its loans may use.  Every
// action that could break that runs in one transaction that first locks the
// rows it depends on: adding a loan locks the unit and then the facility, so
// two users giving loans from one facility are served one after the other and
// the second sees the first one's loan; editing or deleting a facility locks
// the facility, so a loan added meanwhile is counted.  After every loan added
// or deleted, the unit's vam and its current holder's vam are set to the sum
// of the unit's loans in the same transaction.
#include "item_rules.h"

#include "common/listquery.h"
#include "common/xlsxexport.h"

#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QStringList>

#include <optional>

namespace tavrin::facilities {

// ---------------------------------------------------------------- facilities

// The texts of the facility form, as typed (amounts may hold ",").
struct FacilityForm {
    QString prot_typ, bank, etebar_loc;
    QString mablagh, daryafti;                          // whole rials
    QString takhsis_dat, dat1, dat2, tamdid_dat;        // Jalali dates or the empty date mask
    QString darsad;                                     // decimal number
    QString vahed_cnt;                                  // whole number
    QString cmt;
};

// The form of a stored facility (amounts as plain digits, NULL as "" or "0").
FacilityForm formOf(const QSqlRecord& row);

// The facility list of a project.
ListQuery facilityListQuery(qint64 prjId);

// A new facility of the project.  Refusals, in order: bank, contract type and
// credit source required; amounts, percentage and unit count that do not
// convert; a received amount above the total; a date that is neither a whole
// valid date nor empty; texts longer than their columns; the same credit
// source, contract type and start date already in the project.  Dates are
// stored as whole dates or the empty date mask.  Nothing is written on a
// refusal; no log row.
Outcome insertFacility(qint64 prjId, const FacilityForm& f);
// Saves an edited facility: the same field checks, then, under the facility's
// lock, a facility another user changed since the window read it (`read`, the
// tashilat row the window showed) is refused with refuseChanged, and a
// received amount below what its loans use is refused with that sum.
Outcome updateFacility(qint64 facilityId, const FacilityForm& f, const QSqlRecord& read);
// Whether loans use the facility (the window's check before the password).
bool hasLoans(qint64 facilityId);
// Deletes the facility row when, under its lock, no loan uses it.
Outcome deleteFacility(qint64 facilityId);

// What the loans of a facility use and what remains of its received amount.
struct Usage {
    qint64 received = 0;
    qint64 used = 0;
    qint64 remaining() const { return received - used; }
};
// Nothing when the facility is gone.
std::optional<Usage> usage(qint64 facilityId);

// The checks on leaving the total and the received amount: the message to
// show, or an empty text.  Texts that do not convert pass (the save reports them).
QString totalExitMessage(const QString& mablagh, const QString& daryafti);
QString receivedExitMessage(const QString& mablagh, const QString& daryafti);

// Field name -> heading of the facility list's Excel export.
HeaderMap facilityExcelHeaders();

// ---------------------------------------------------------------- unit loans

// The loan proposed for one unit: the received amount shared among the
// facility's units, in whole rials (truncated); 0 without units.
qint64 proposedLoan(qint64 daryafti, qint64 vahedCnt);

// Banks of the project's facilities that have received an amount.
QStringList loanBanks(qint64 prjId);
// Credit sources of the bank's facilities that have received an amount.
QStringList creditSources(qint64 prjId, const QString& bank);

// One facility the loan window offers under a bank and a credit source.
struct FacilityChoice {
    qint64 id = 0;
    QString dat1;
    QString label;       // dat1, or dat1 with contract type and received amount when dates repeat
    qint64 proposed = 0; // proposedLoan of the facility
};
QList<FacilityChoice> facilityChoices(qint64 prjId, const QString& bank, const QString& source);

// The loan list of a unit, joined with the unit, the facility and the project.
ListQuery loanListQuery(qint64 unitId);
// The sum of the unit's loans (0 without loans).
qint64 unitLoanTotal(qint64 unitId);

// Gives the unit a loan from the facility (tashilatId 0: a loan tied to no
// facility).  Refusals: an amount that does not convert or is negative; the
// unit or facility gone; the facility's loans reaching its received amount,
// or this loan taking them beyond it; the facility already given to the unit.
Outcome addLoan(qint64 unitId, qint64 tashilatId, const QString& amount);
// Deletes a loan and sets the totals of its unit.
Outcome deleteLoan(qint64 loanId);

} // namespace tavrin::facilities
