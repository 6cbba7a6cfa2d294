#pragma once
// Data transfer: the applicants of one registration code, with every row that
// belongs to them (documents, payments, storage rooms and parking spaces,
// partners, dependants, file checklists), copied from another database into
// the current one.  They get new ids and every reference between them is
// remapped; their projects, units, storage rooms and parking spaces are found
// again in the current database by their particulars.
#include "progress.h"

#include "db/database.h"

#include <QMap>

namespace tavrin {

// An applicant that was not transferred, and why (Persian, shown to the user).
struct Refusal {
    qint64 sourceId = 0;
    QString name;
    QString nation;
    QString project;
    QString unit;
    QString reason;
};

struct TransferReport {
    enum class Outcome { Done, Cancelled, Failed };
    Outcome outcome = Outcome::Failed;
    QString detail;               // English: the driver's text of a failure
    int applicants = 0;           // applicants transferred
    QMap<QString, int> rows;      // rows written per table that belongs to an applicant
    QList<Refusal> refused;
    int dependentRows() const;    // rows written besides the applicants' own
};

// The registration codes of a database's applicants ("" for none), with the
// number of applicants of each, in code order.
QList<QPair<QString, qint64>> registrationCodes(Database& db);

// The tables that move with an applicant, parents before children
// (customers first).  Read from the schema's references.
QList<const TableDef*> applicantTables();

// Copies the applicants whose sabt_cod is `code` from `source` into `target`
// in one transaction (nothing is written when it fails or is cancelled).  An
// applicant whose national code the target already holds for the same unit,
// or whose project, unit, storage room or parking space the target lacks, is
// refused with its reason and the others go on.  An applicant who holds his
// unit (his transfer date not set: jalali::isEmptyDate) buys it and his
// storage rooms and parking spaces as a sale does: those still free in the
// target become sold to him by a conditional update inside the transaction;
// one that an applicant of the target holds already refuses him with the
// sale's message.  One activity-log row is written for `user`.
TransferReport transferApplicants(Database& source, Database& target, const QString& code, const QString& user,
                                  const Progress& progress = {});

} // namespace tavrin
