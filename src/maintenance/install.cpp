#include "maintenance/install.h"

#include "admin/rights_templates.h"
#include "db/database.h"
#include "reference/divisions.h"

namespace tavrin {

InstallReport installDatabase(Database& db)
{
    InstallReport r = installSchema(db);
    // A new database: its administrator can open every page at once.  The
    // rows of an existing database are left as they are.
    if (r.ok && r.actions.contains(QStringLiteral("created table dastrasi"))) {
        try {
            if (const int n = seedFirstUse(db); n > 0)
                r.actions << QStringLiteral("added %1 first-use rights and list rows").arg(n);
        } catch (const DbError& e) {
            r.ok = false;
            r.failedStep = QStringLiteral("first-use rights");
            r.error = e.driverText;
        }
    }
    // An existing database brought up to the record history: its
    // administrator gets the history's page right with the table (a page
    // added to the rights editor later comes with what it shows).
    if (r.ok && !r.actions.contains(QStringLiteral("created table dastrasi")) &&
        r.actions.contains(QStringLiteral("created table taghirat"))) {
        try {
            if (const int n = grantPages(db, {QStringLiteral("taghirat")}); n > 0)
                r.actions << QStringLiteral("gave the administrator the rights of %1 new pages").arg(n);
        } catch (const DbError& e) {
            r.ok = false;
            r.failedStep = QStringLiteral("rights of new pages");
            r.error = e.driverText;
        }
    }
    if (r.ok && r.actions.contains(QStringLiteral("created table abadiha"))) {
        try {
            const int n = seedStarterDivisions(db);
            if (n > 0)
                r.actions << QStringLiteral("added %1 starter divisions").arg(n);
        } catch (const DbError& e) {
            r.ok = false;
            r.failedStep = QStringLiteral("starter divisions");
            r.error = e.driverText;
        }
    }
    return r;
}

} // namespace tavrin
