#pragma once
// The rules of an applicant's payments (pardakht), without windows: the
// account shown above the payments, adding and deleting a payment, copying the
// applicant's pre-registration deposits in, and the payment search with its
// totals.
//
// customers.pardakht_sum is the sum of the applicant's collected amounts.
// Every action that changes his payments runs in one transaction that first
// locks his customers row (so that two users paying for him are served one
// after the other) and ends by writing that sum again from the rows.
#include "applicants/customers_logic.h"

#include "common/listquery.h"
#include "common/xlsxexport.h"
#include "projects/item_rules.h"

#include <QSqlRecord>
#include <QString>
#include <QStringList>

#include <optional>

namespace tavrin::payments {

// ---------------------------------------------------------------- one applicant

// The texts of the payment form, as typed (amounts may hold ",").
struct PaymentForm {
    QString pardakht_typ, mablagh, num, vosol, dat, bank, resid_no, hesab_no, norvad_bank;
};
// The form of a stored payment (amounts as plain digits), for delete's copy back.
PaymentForm formOf(const QSqlRecord& payment);

// The unit total every balance counts: the stored unit price is already after
// the discount, so the discount is not taken off again.
qint64 unitTotal(qint64 price, qint64 storage, qint64 parking, qint64 loan);

// The account shown above the payments.
struct Account {
    qint64 mablaghVahed = 0;   // customers.mablagh (after the discount)
    qint64 anbari = 0;         // sum of his storage rooms' amounts
    qint64 parking = 0;        // sum of his parking spaces' amounts
    qint64 takhfif = 0;
    qint64 vam = 0;
    qint64 mablaghSum = 0;     // sum of the instalments
    qint64 vosolSum = 0;       // sum of the collected amounts
    qint64 vahedSum() const { return unitTotal(mablaghVahed, anbari, parking, vam); }
    qint64 mande() const { return vahedSum() - vosolSum; }
};
// Nothing when the applicant is gone.
std::optional<Account> account(qint64 customerId);

// The applicant's payments, oldest first.
ListQuery paymentsQuery(qint64 customerId);
// The organisation's account numbers of a province (the province setting "شماره حساب").
QStringList accountNumbers(const QString& ostan);

// Writes pardakht_sum again from the applicant's payments, inside the caller's
// transaction.
void recomputeCollected(qint64 customerId);

// Adds a payment.  Refusals, in order: an instalment or collected amount that
// is not a whole number (or is negative, or beyond the money columns), a date
// that is neither a whole valid date nor empty (the empty date mask is
// stored for none), texts
// longer than their columns, the applicant gone, the same kind, amount, number
// and date already paid by him (the amount compared as a number).  No message
// on success.
Outcome addPayment(qint64 customerId, const PaymentForm& f);
// Deletes one of the applicant's payments.
Outcome deletePayment(qint64 customerId, qint64 paymentId);

// Copies one pre-registration deposit (a pishpardakht row) into the
// applicant's payments with the given bank text, inside the caller's
// transaction, unless it is already among his payments: one of them has the
// same kind, amount (as whole rials), number and date (NULL as "" or 0),
// whether the import or the move of his pre-registration copied it before or
// it was typed in.  The check and the insert are one statement.  True when the
// deposit was copied.  The one rule of both the import and the move.
bool copyDeposit(qint64 customerId, const QSqlRecord& deposit, const QString& bank);

// Copies the deposits of the applicant's pre-registrations (found by his
// national code) into his payments: each deposit's remark followed by the
// pre-registration marker goes into the bank column, cut to fit it.  A deposit
// already among his payments is skipped (copyDeposit), so importing twice adds
// nothing.  One transaction, ending with the collected total.  The notes say
// how many were copied and skipped, or that none exist.
struct ImportResult {
    Outcome result;
    int imported = 0;
    int skipped = 0;
};
ImportResult importDeposits(qint64 customerId);

// ---------------------------------------------------------------- the search

struct SearchCriteria {
    std::optional<QString> ostan, shahrestan, prjName, shenase, nation, lname;
    std::optional<QString> pardakhtTyp;
    std::optional<std::pair<QString, QString>> dat;   // both bounds included, compared as text
    std::optional<QString> norvadBank, hesabNo, num;
};

// The payment rows with their applicants' particulars, within the counties
// granted to the user (every level but "admin").
ListQuery searchQuery(const SearchCriteria& c);

struct SearchTotals {
    // The applicants that match the applicant criteria (payment criteria ignored).
    int applicants = 0;
    std::optional<qint64> vahedMablagh, vam, anbari, parking;
    // The payments that match all criteria.
    int payments = 0;
    std::optional<qint64> mablaghSum, vosolSum;
    // Units + storage + parking - loans - collected; nothing when a sum is not an amount.
    std::optional<qint64> mande() const;
};
SearchTotals searchTotals(const SearchCriteria& c);

// Field name -> title of the Excel exports of the search and of the payments window.
HeaderMap searchExcelHeaders();
HeaderMap paymentExcelHeaders();

} // namespace tavrin::payments
