#pragma once
// The rules of the sale of a unit to an applicant, without windows: the fields
// of the applicant record and their conversion, the pick lists of the record's
// cascade (province, county, project, free unit), the checks of a new and an
// edited applicant in their order, the save, the edit and the delete each in
// one transaction, the move of a pre-registration into the applicant, and the
// search, export and printed values of the applicant list.  The record, its
// conversion, cascade and field checks are in customers_record.cpp; the save,
// edit, delete and pre-registration move in customers_sale.cpp; the list in
// customers_list.cpp (the helpers they share: customers_detail.h).
#include "common/dialogs.h"
#include "common/listquery.h"
#include "common/xlsxexport.h"
#include "projects/item_rules.h"

#include <QMap>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "common/lookups.h"

#include <functional>
#include <optional>

namespace tavrin::applicants {

// ---------------------------------------------------------------- the record

enum class FieldKind { Text, Money, Real, Int, Date };

struct Field {
    QString column;
    FieldKind kind;
};

// Every column of a customers row that the record window shows, in the
// table's order (the id and the four columns the program sets are not among them).
const QList<Field>& recordFields();
std::optional<Field> recordField(const QString& column);
// The caption of a field in the record window.
QString captionOf(const QString& column);

// The record window's fields as text, by column, as the window shows them
// (amounts may carry "," between groups of digits; an empty date is the empty
// date mask).
using CustomerValues = QMap<QString, QString>;

// The fields of a new applicant: texts empty, amounts and areas "0", dates
// empty, share "6", contract status "فعال", registration date today, type
// "حقيقي".
CustomerValues newValues();
// The fields of a stored applicant.
CustomerValues valuesOf(const QSqlRecord& customer);
// The project block filled from a projects row (prj_id included).
CustomerValues projectValues(const QSqlRecord& project);
// The unit block filled from a vahedha row (vahed_id included); the price is
// the unit's price less the given discount.
CustomerValues unitValues(const QSqlRecord& unit, qint64 takhfif = 0);
// Columns of the project block and of the unit block (what each selector of
// the cascade empties below it).
const QStringList& projectColumns();
const QStringList& unitColumns();

// The price after the discount: the undiscounted price less the discount,
// however often the discount is applied.
qint64 discountedPrice(qint64 undiscounted, qint64 takhfif);

// ---------------------------------------------------------------- the cascade

// Provinces that have an active project (the province scope of a county or
// provincial user applies), counties of a province with an active project,
// codes of the active projects of a county.
QStringList activeProvinces();
QStringList activeCounties(const QString& ostan);
QStringList activeProjectCodes(const QString& ostan, const QString& shahrestan);
// The active project with that code, and its free units.
std::optional<QSqlRecord> activeProject(const QString& ostan, const QString& shahrestan, const QString& prjCod);
QStringList freeUnits(qint64 prjId);
// The same lists added to a batch read with other lists in one statement
// (the record window opening on an applicant); each returns the list's number.
int activeProvinces(ListBatch& b);
int activeCounties(ListBatch& b, const QString& ostan);
int activeProjectCodes(ListBatch& b, const QString& ostan, const QString& shahrestan);
int freeUnits(ListBatch& b, qint64 prjId);
std::optional<QSqlRecord> freeUnit(qint64 prjId, const QString& shenase);

// ---------------------------------------------------------------- checks on leaving a field

// The message of a mobile number that is not empty and not 11 characters long.
QString mobileMessage(const QString& mobile);
// The message of a share outside 1 to 6 (empty when it is in range or does not
// convert: the save reports that).
QString sahmMessage(const QString& sahm);

// ---------------------------------------------------------------- save, edit, delete

// Questions are asked through an Ask (common/dialogs.h).
using tavrin::Ask;

// The values a save writes, converted, or the first field that does not
// convert with its message (nothing is written then).
struct Converted {
    QVariantMap values;
    QString failedField;
    QString message;
    bool ok() const { return failedField.isEmpty(); }
};
// editing: the columns an edit does not write are not converted.
Converted convert(const CustomerValues& v, bool editing);

// Saves a new applicant.  The checks run in their order (an empty discount
// becomes "0" in values); a warning is asked through ask and only Yes goes on;
// the transfer check is made even after another check failed.  Then, in one
// transaction: the row (price = the unit's price less the discount, loan = the
// unit's loan), the log row, the unit marked sold only while it is still free,
// and, when prereg is a pre-registration's id, its deposits copied into the
// applicant's payments, his collected total computed and the pre-registration
// with its deposits deleted.  "ثبت شد" is among the notes only after the commit.
Outcome insertCustomer(CustomerValues& values, const Ask& ask, qint64 prereg = 0);

// Saves an edit of the applicant `id`.  When `read` is the row the window was
// filled from and another user has changed any field the window shows since
// (but the totals other windows keep), nothing is written and the refusal is
// marked changedByOther.  The checks compare with the row as stored; the
// totals other windows keep (collected total, storage and parking areas and
// amounts) are not written.  Keeping his unit, the unit's particulars are not
// written (the window only shows them).  Holding a unit he did not hold before
// (another unit, or his own taken back by clearing his transfer date) is a sale
// of it: refused while another applicant holds it, marked sold while it is
// free (or still carries his own sold status), its particulars, price and loan
// copied from its row; the unit he held is freed when no other current holder
// has it.  The share of the applicant and his partners together may not exceed 6.
Outcome updateCustomer(qint64 id, CustomerValues& values, qint64 prereg = 0,
                                   const std::optional<QSqlRecord>& read = std::nullopt);

// Deletes the applicant with his log row, partners, dependants (his partners'
// too), payments, storage and parking rows, documents and checklist rows, in
// one transaction; the storage rooms and parking spaces he held become free,
// and his unit too when no other current holder has it.  "حذف شد" after the
// commit.  (The delete password is the window's business.)
Outcome deleteCustomer(qint64 id);

// ---------------------------------------------------------------- pre-registration

// Pre-registrations with that national code, or whose names contain the given
// first and last name, within the county scope of a county or provincial user.
QList<QSqlRecord> preregByNation(const QString& nation);
QList<QSqlRecord> preregByName(const QString& fname, const QString& lname);
// The person's fields copied into the record.
CustomerValues preregValues(const QSqlRecord& pishsabt);
// Moves a pre-registration into the applicant inside the caller's
// transaction: the pre-registration row is deleted (when it is already gone,
// nothing else happens), its deposits are copied into the applicant's
// payments, except those already among them (payments::copyDeposit: the
// payments window's import may have copied them before), and deleted, and the
// applicant's collected total is computed again.
struct PreregMove {
    int copied = 0;    // deposits copied into the payments
    int skipped = 0;   // deposits already among them
    // Adds the counts to the save's notes, when there were deposits.
    void noteTo(Outcome& r) const;
};
PreregMove movePrereg(qint64 pishsabtId, qint64 customerId);

// ---------------------------------------------------------------- the list

// The ticked criteria of the list (nothing: the box is not ticked).
struct Criteria {
    std::optional<QString> ostan, shahrestan, nation, lname, prjName, bolok, tabaghe, karbari, shenase, status;
    // contract and deed numbers: the comparison ("=" or "<>") and the value
    std::optional<std::pair<QString, QString>> protNo, sanadNo;
    std::optional<QString> gender;
    std::optional<QString> transport;  // "=": still holding the unit; "<>": transferred
    std::optional<QString> typ, regUser;
};

// The list statement: every applicant of the counties granted to the user
// (every level but "admin"), one condition per criterion in the table's order.
ListQuery searchQuery(const Criteria& c);
// The applicants of a project (the project list's "ليست متقاضيان اين پروژه"),
// scoped for county and provincial users.
ListQuery projectQuery(qint64 prjId);
// Names of the projects the list's project criterion offers.
QStringList projectNames(const std::optional<QString>& ostan, const std::optional<QString>& shahrestan);

// Field name -> title of the list's Excel export.
HeaderMap excelHeaders();
// The line of the printed list for a row.
QVariantMap printRow(const QSqlRecord& customer);
// The text of the mobile-numbers file: "," before every mobile number of
// exactly 11 characters.
QString mobilesText(const RecordSource& rows);

// A stored applicant, or nothing.
std::optional<QSqlRecord> customerRow(qint64 id);

} // namespace tavrin::applicants
