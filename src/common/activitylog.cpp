#include "activitylog.h"

#include "history.h"
#include "jalali.h"
#include "session.h"

#include "db/database.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkInterface>
#include <QTime>

#include <optional>

namespace tavrin {

namespace {
std::optional<LocalIdentity> g_identity;

LocalIdentity lookUp()
{
    LocalIdentity id;
    // The last IPv4 address the host name resolves to; failing that, the last
    // non-loopback IPv4 address of this computer's interfaces.
    const QHostInfo self = QHostInfo::fromName(QHostInfo::localHostName());
    for (const QHostAddress& a : self.addresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback())
            id.ip = a.toString();
    if (id.ip.isEmpty())
        for (const QHostAddress& a : QNetworkInterface::allAddresses())
            if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback())
                id.ip = a.toString();
    if (!id.ip.isEmpty()) {
        const QHostInfo back = QHostInfo::fromName(id.ip);
        if (back.error() == QHostInfo::NoError && back.hostName() != id.ip)
            id.computerName = back.hostName();
    }
    return id;
}

QString fit(const QString& s, int length)
{
    return cutToLength(s, length);
}
} // namespace

const LocalIdentity& localIdentity()
{
    if (!g_identity)
        g_identity = lookUp();
    return *g_identity;
}

void setLocalIdentity(const LocalIdentity& id)
{
    g_identity = id;
}

void writeLog(Database& db, const QString& user, const QString& comment)
{
    const LocalIdentity& id = localIdentity();
    // Values are cut to the column widths so that a long name cannot make the
    // row, and with it the action's transaction, fail.  Inside a transaction
    // the row travels with the action's next statement or its commit.
    db.execLater(QStringLiteral("insert into log (karbar,ip,computer_name,saat,tarikh,cmt) values (?,?,?,?,?,?)"),
            {fit(user, 150), fit(id.ip, 20), fit(id.computerName, 50),
             QTime::currentTime().toString(QStringLiteral("HH:mm:ss")), jalali::today(), fit(comment, 200)});
    // The record history the same action writes links to this row.
    history::noteLogRow(db);
}

void writeLog(const QString& comment)
{
    writeLog(dm(), session().karbar, comment);
}

} // namespace tavrin
