#pragma once
// The schema installer: creates a new database, completes an older one and
// leaves a current one unchanged.  It inspects what exists rather than firing
// statements and ignoring their errors, and it stops at the first failure.
#include "database.h"

namespace tavrin {

struct InstallReport {
    bool ok = true;
    QStringList actions;   // what was changed, one line each ("created table users")
    QString error;         // the driver's text when a statement failed
    QString failedStep;    // what the installer was doing then
    // Stored data the installer cannot put right by itself and leaves for an
    // administrator; the install still succeeds.  One line each.
    QStringList warnings;
    // User names held by more than one row (each name once); see warnings.
    QStringList duplicateUserNames;
};

// The password of the seed "admin" row of a new database.  It is meant to be
// changed at the first login (README).
inline constexpr auto kSeedAdminPassword = "1";

InstallReport installSchema(Database& db);

} // namespace tavrin
