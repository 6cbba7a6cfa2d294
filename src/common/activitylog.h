#pragma once
// Writes one row of the activity log: the user, this computer's IPv4 address
// and host name, the local time of day, today's Jalali date, the comment, and
// the server's own time by the column default.
#include <QString>

namespace tavrin {

class Database;

struct LocalIdentity {
    QString ip;            // dotted IPv4, empty when unknown
    QString computerName;  // reverse look-up of ip, empty when it fails
};

// Looked up once per run.
const LocalIdentity& localIdentity();
// Tests set a fixed identity instead of asking the network.
void setLocalIdentity(const LocalIdentity& id);

// Uses the session's user name.  Throws DbError like any statement, so that it
// joins the caller's transaction.
void writeLog(const QString& comment);
void writeLog(Database& db, const QString& user, const QString& comment);

} // namespace tavrin
