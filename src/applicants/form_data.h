#pragma once
// What the applicant documents read about the list's current applicant: his
// row, his unit, storage rooms, parking spaces, partners, payments and
// dependants (each list by id, so "the first row" is the oldest), and the
// selling office's data from the province or county settings.
#include "applicants/form_templates.h"

#include <QList>
#include <QSqlRecord>
#include <QVariantMap>

#include <optional>

namespace tavrin::forms {

struct ApplicantFile {
    QSqlRecord customer;
    std::optional<QSqlRecord> unit;     // the unit row of vahed_id
    QList<QSqlRecord> storage;          // anbari
    QList<QSqlRecord> parking;
    QList<QSqlRecord> partners;         // shoraka
    QList<QSqlRecord> payments;         // pardakht

    qint64 id() const;
    QString text(const QString& column) const;   // a column of the applicant, never null
    QString fullName() const;                    // fname + " " + lname
    // The share is 6 (sixths): the applicant owns the whole unit alone.
    bool soleOwner() const;
    // The unit is a villa or a plot: its land area is what is sold.
    bool landUnit() const;
    // The area printed for the unit: land area of a villa or plot, else floor area.
    QString area() const;
};

// Reads everything the documents use; throws DbError.
ApplicantFile loadApplicant(const QSqlRecord& customer);

// All rows of a statement, in its order.
QList<QSqlRecord> rowsOf(const QString& sql, const QVariantList& values);

// Every column of the applicant as printed: areas and shares as their
// shortest decimal, amounts in groups of three, other texts as stored.
QVariantMap customerValues(const QSqlRecord& customer);

// ---------------------------------------------------------------- amounts

// A stored amount as whole rials (rounded to the nearest rial); nothing for
// NULL or a text that is not a number.
std::optional<qint64> wholeRials(const QVariant& value);
// Whole rials in groups of three, the sign in front ("-500,000").
QString moneyText(qint64 rials);
// A shortest decimal ("85.5", "100"); "" for NULL.
QString decimalText(const QVariant& value);
// The words of an amount.  A negative or too long amount asks the user to
// type the words (the digits are offered, and printed when he cancels).
QString moneyWords(qint64 rials);
// A stored amount exactly, in ten-thousandths of a rial (the four decimals the
// money columns keep, so fractional amounts of older data are not lost before
// they are added); nothing for NULL or a text that is not a number.
using Exact = __int128;
inline constexpr int kExactScale = 10000;
std::optional<Exact> exactAmount(const QVariant& value);
// An exact amount as whole rials, rounded once, halves away from zero.
qint64 rialsOf(Exact amount);
// The exact sum of a column of rows (NULL counts as 0).
Exact exactSum(const QList<QSqlRecord>& rows, const QString& column);
// That sum as whole rials: the stored amounts are added exactly and the sum
// is rounded once.
qint64 sumOf(const QList<QSqlRecord>& rows, const QString& column);

// The account of a unit: contract price of the unit (already after the
// discount) with storage and parking; missing when the unit has no price.
// The amounts are kept exactly; every printed sum, total and balance is
// computed from them and rounded once.
struct Account {
    std::optional<Exact> unitPrice;
    Exact storage = 0;
    Exact parking = 0;
    Exact loan = 0;
    Exact collected = 0;    // sum of vosol
    Exact payments = 0;     // sum of mablagh
    // unit price + storage + parking
    std::optional<qint64> total() const;
    // total - loan (the contract's balance: the payments are not taken off)
    std::optional<qint64> totalLessLoan() const;
    // total - loan - collected (the settlement's balance)
    std::optional<qint64> balance() const;
};
Account accountOf(const ApplicantFile& f);

// Warns once that the unit has no price and the total prints empty.
void warnMissingPrice();

// ---------------------------------------------------------------- tables

// The partners' table: running number, name, father, certificate number,
// place of issue, birthday, national code, address, mobile and (when asked) share.
FormTable partnerTable(const ApplicantFile& f, bool withShare, bool full = true);
// The payments' table: running number, amount, date, number, kind, bank, collected, receipt.
FormTable paymentTable(const ApplicantFile& f);

// ---------------------------------------------------------------- the seller

enum class Seat { Province, County };
// Values of the selling office: eghtesadi_cod, shenase_meli, norvad_adr,
// norvad_phone, modirkol, os_city, semat, ostan.
QVariantMap sellerValues(const ApplicantFile& f, Seat seat);
// A setting of the applicant's province or county ("" when none).
QString officeSetting(const ApplicantFile& f, Seat seat, const QString& key);
// Where the officers of a letter come from: county users get the county's.
Seat userSeat();

} // namespace tavrin::forms
