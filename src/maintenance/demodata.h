#pragma once
// Demonstration data: projects over the country divisions with their units,
// storage rooms and parking spaces, some units sold to applicants with their
// payments, partners and dependants.  Used by "tavrin-cli demo-data" and by the
// benchmarks of the project and applicant lists.
#include <QString>

#include <functional>

namespace tavrin {

class Database;

namespace demo {

struct Options {
    int projects = 50;
    int unitsPerProject = 40;
    int storagePerProject = -1;   // -1: half the units
    int parkingPerProject = -1;   // -1: half the units
    int soldPercent = 30;         // of the units, sold to applicants
    // When above 0: projects are added (beyond `projects` if need be) until
    // there are this many applicants; the last project sells only what is missing.
    int applicants = 0;
    int transferredPercent = 0;   // of the sold units, also held before by an applicant who transferred it
    int paymentsPerApplicant = 3; // on average (0 to twice this)
    int partnersPercent = 10;     // of the applicants, buying with one or two partners
    int dependantsPerApplicant = 1; // on average (0 to twice this)
    quint32 seed = 1403;
    int projectsPerTransaction = 250;
};

struct Report {
    int divisionsAdded = 0;       // abadiha rows added because the table was empty
    int projects = 0;
    qint64 units = 0;
    qint64 storageRooms = 0;
    qint64 parkingSpaces = 0;
    qint64 applicants = 0;
    qint64 payments = 0;
    qint64 partners = 0;
    qint64 dependants = 0;
    qint64 milliseconds = 0;
};

// Adds the data to the database (whose schema is installed).  Divisions are
// taken from abadiha; when it is empty a few provinces and counties are added
// first.  Missing choice lists of the settings are filled with common values.
// Throws DbError; the data of the transaction that failed is rolled back.
Report generate(Database& db, const Options& options, const std::function<void(const QString&)>& progress = {});

// A valid national code (ten digits, the last the check digit) from nine digits.
QString nationCodeFrom(const QString& nineDigits);

} // namespace demo
} // namespace tavrin
