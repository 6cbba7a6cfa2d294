#include "connection.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace tavrin::connection {

QString scramble(const QString& plain)
{
    QString out;
    out.reserve(plain.size());
    for (qsizetype k = plain.size() - 1; k >= 0; --k)
        out.append(QChar(char16_t(plain.at(k).unicode() - 1)));
    return out;
}

QString unscramble(const QString& stored)
{
    QString out;
    out.reserve(stored.size());
    for (qsizetype k = stored.size() - 1; k >= 0; --k)
        out.append(QChar(char16_t(stored.at(k).unicode() + 1)));
    return out;
}


StoredSettings readStored()
{
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("norvad"));
    StoredSettings out;
    out.exists = s.contains(QStringLiteral("TavrinSqlServerName")) ||
                 s.contains(QStringLiteral("TavrinAuthentication"));
    out.serverName = s.value(QStringLiteral("TavrinSqlServerName")).toString();
    out.dataBase = s.value(QStringLiteral("TavrinDataBase")).toString();
    out.authentication = s.value(QStringLiteral("TavrinAuthentication")).toString();
    out.userName = s.value(QStringLiteral("TavrinUserName")).toString();
    out.password = unscramble(s.value(QStringLiteral("TavrinPassword")).toString());
    return out;
}

bool writeStored(const StoredSettings& in)
{
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("norvad"));
    if (!s.isWritable())
        return false;
    s.setValue(QStringLiteral("TavrinSqlServerName"), in.serverName);
    s.setValue(QStringLiteral("TavrinDataBase"), in.dataBase);
    s.setValue(QStringLiteral("TavrinAuthentication"), in.authentication);
    s.setValue(QStringLiteral("TavrinUserName"), in.userName);
    s.setValue(QStringLiteral("TavrinPassword"), scramble(in.password));
    s.sync();
    return s.status() == QSettings::NoError;
}

QString embeddedDataFile()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dir);
    return QDir(dir).filePath(QStringLiteral("tavrin.db"));
}

QString systemConfigFile()
{
    const QString env = qEnvironmentVariable("TAVRIN_SYSTEM_CONFIG");
    return env.isEmpty() ? QStringLiteral("/etc/tavrin/connection.conf") : env;
}

Resolved fromStored(const StoredSettings& s)
{
    Resolved r;
    r.authentication = s.authentication;
    ConnectionParams p;
    p.server = s.serverName;
    p.database = s.dataBase;
    p.user = s.userName;
    p.password = s.password;
    if (s.authentication == QLatin1String(kAuthAccess)) {
        p.backend = Backend::SQLite;
        p.createIfMissing = false;
    } else if (s.authentication == QLatin1String(kAuthSqlServer)) {
        p.backend = Backend::SqlServer;
    } else if (s.authentication == QLatin1String(kAuthPostgres)) {
        p.backend = Backend::PostgreSQL;
    } else if (s.authentication == QLatin1String(kAuthWindows)) {
        r.problem = Problem::WindowsLogin;
        return r;
    } else {
        r.problem = Problem::UnknownAuthentication;
        return r;
    }
    r.params = p;
    return r;
}

ConnectionParams builtIn()
{
    const QString file = systemConfigFile();
    if (QFileInfo::exists(file)) {
        QSettings sys(file, QSettings::IniFormat);
        StoredSettings s;
        s.authentication = sys.value(QStringLiteral("Authentication")).toString();
        s.serverName = sys.value(QStringLiteral("Server")).toString();
        s.dataBase = sys.value(QStringLiteral("Database")).toString();
        s.userName = sys.value(QStringLiteral("User")).toString();
        s.password = sys.value(QStringLiteral("Password")).toString();
        const Resolved r = fromStored(s);
        if (r.params)
            return *r.params;
    }
    ConnectionParams p;
    p.backend = Backend::SQLite;
    p.server = embeddedDataFile();
    p.createIfMissing = true;
    return p;
}

Resolved resolve(Choice choice)
{
    if (choice == Choice::Internet) {
        Resolved r;
        r.params = builtIn();
        return r;
    }
    const StoredSettings s = readStored();
    if (!s.exists) {
        Resolved r;
        r.problem = Problem::NoStoredSettings;
        return r;
    }
    return fromStored(s);
}

} // namespace tavrin::connection
