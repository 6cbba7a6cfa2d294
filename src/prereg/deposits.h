#pragma once
// The rules of a pre-registration's deposits, without windows: reading typed
// amounts, the duplicate check, the save and delete, the three totals, the
// searches of one person's and of all deposits, and the reads the applicant
// windows use when they take a person's deposits over as payments.
#include "common/listquery.h"
#include "common/outcome.h"
#include "common/xlsxexport.h"

#include <QList>
#include <QMap>
#include <QSqlRecord>
#include <QString>
#include <QStringList>

#include <optional>

namespace tavrin::prereg {

// The nine entry columns of a deposit, in the table's order.
const QStringList& depositColumns();

// The entry fields as typed, by column name.
using DepositValues = QMap<QString, QString>;

// An amount field as typed: "," separators and Persian digits allowed.
// Nothing for an empty text, a text that is not a whole number, or an amount
// the money columns cannot hold.
std::optional<qint64> amountOf(const QString& typed);

// The live echo under an amount field: the text without its "," separators,
// grouped in threes from the right with any leading "-" kept in front.
QString echoAmount(const QString& typed);

// Checks and saves a deposit of the person `pishsabtId`: both amounts must be
// whole numbers (their messages otherwise), the date whole and every text fit
// its column; the person must still exist; the same way of payment, amount,
// number and date for the person is refused (amounts compared as numbers, so
// "30,000,000" matches a stored 30000000).  Nothing is written on a refusal.
// Throws DbError after a rollback.
Outcome insertDeposit(qint64 pishsabtId, DepositValues& values);

// The entry values of a stored deposit (amounts as whole-rial digits, NULL -> "").
DepositValues depositValuesOf(const QSqlRecord& deposit);

// Deletes a deposit and gives back its entry values, so that saving them
// again restores it; nothing when the row no longer existed.  Throws DbError.
std::optional<DepositValues> deleteDeposit(qint64 id);

// The totals of a person as shown: promised, collected and the balance
// (promised - collected), whole rials grouped in threes with the sign in
// front.  Without deposits (or when a sum is empty) the balance is empty.
struct DepositTotals {
    QString mablaghSum;
    QString vosolSum;
    QString mande;
};
DepositTotals depositTotals(qint64 pishsabtId);

// "select * from pishpardakht where pishsabt_id=<id>".
ListQuery depositsQuery(qint64 pishsabtId);

// The filters of the all-deposits search (nothing: the filter is off).
struct AllDepositsFilter {
    std::optional<QString> shahrestan;
    std::optional<QString> lname;
};
// Every deposit with its person's name, code, province and county, limited to
// the granted counties for the levels "ostan" and "city".
ListQuery allDepositsQuery(const AllDepositsFilter& filter);

HeaderMap depositExcelHeaders();
HeaderMap allDepositsExcelHeaders();

// A stored deposit, for the applicant windows that copy deposits into payments.
struct Deposit {
    qint64 id = 0;
    qint64 pishsabtId = 0;
    QString pardakhtTyp;
    std::optional<qint64> mablagh;  // nothing for an empty amount
    QString num;
    std::optional<qint64> vosol;
    QString dat;
    QString residNo;
    QString hesabNo;
    QString norvadBank;
    QString cmt;
};
// The deposits of one person, in the order they were saved.
QList<Deposit> depositsOf(qint64 pishsabtId);
// The deposits of every pre-registration holding this national code (Persian
// digits allowed), in the order they were saved.
QList<Deposit> depositsByNationCode(const QString& nation);

// Texts of this system's own.
extern const QString kDepositSaveFailed;
extern const QString kDepositDeleteFailed;

} // namespace tavrin::prereg
