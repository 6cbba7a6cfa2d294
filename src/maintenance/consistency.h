#pragma once
// The consistency check: reads the whole database and lists every rule that
// the program's own actions keep and that stored data breaks (a sale half
// written, a total that no longer matches its rows, rows whose parent is
// gone).  It only reads; the administrator repairs what it finds.
#include "db/database.h"

#include <QList>
#include <QString>

namespace tavrin::maintenance {

struct Finding {
    QString rule;          // a short stable key of the broken rule ("unit-holders", "orphan:pardakht.customer_id", ...)
    QString table;         // the table of the rows at fault
    QList<qint64> ids;     // their ids (for tables without one: dastrasi2's user id, the first column of the others)
    QString plain;         // what is wrong, in plain words for the command line
    QString persian;       // the same for the window

    // "table id[,id...]: what is wrong"
    QString plainLine() const;
    QString persianLine() const;
};

// Runs every rule over one consistent reading of the database (a read-only
// transaction that is rolled back at the end).  Throws DbError when a
// statement fails.
QList<Finding> checkConsistency(Database& db);

} // namespace tavrin::maintenance
