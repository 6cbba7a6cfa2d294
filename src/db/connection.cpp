#include "connection.h"

#include "privatefiles.h"
#include "secretstore.h"

#include <QDir>
#include <QFile>
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

namespace {
// A value of a settings file as the text written there.  An unquoted value
// holding commas ("Server=db.example.org,5432", as administrators write it)
// is read by QSettings as a list: its parts are joined again.  (A value with
// ";" or with blanks around a comma must be written in double quotes.)
QString settingText(const QSettings& s, const QString& key)
{
    const QVariant v = s.value(key);
    if (v.metaType().id() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}
constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// The settings file holds the server password, so only its owner may read
// it.  A new file is created empty with that mode before anything is written
// into it (QSettings then replaces it keeping the mode); a file an older
// version left readable by others is narrowed.
void keepPrivate(const QString& path, bool create)
{
    if (!QFileInfo::exists(path)) {
        if (!create)
            return;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerOnly))
            f.close();
    }
    // (permissions() adds the running user's own flags: compare without them)
    const auto userFlags = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
    if ((QFile::permissions(path) & ~userFlags) != kOwnerOnly)
        QFile::setPermissions(path, kOwnerOnly);
}
} // namespace

StoredSettings readStored()
{
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("norvad"));
    keepPrivate(s.fileName(), false);
    StoredSettings out;
    out.exists = s.contains(QStringLiteral("TavrinSqlServerName")) ||
                 s.contains(QStringLiteral("TavrinAuthentication"));
    out.serverName = settingText(s, QStringLiteral("TavrinSqlServerName"));
    out.dataBase = settingText(s, QStringLiteral("TavrinDataBase"));
    out.authentication = settingText(s, QStringLiteral("TavrinAuthentication"));
    out.userName = settingText(s, QStringLiteral("TavrinUserName"));
    // The password is in the settings file when no secret store took it,
    // else in the store.
    if (s.contains(QStringLiteral("TavrinPassword")) || !out.exists)
        out.password = unscramble(settingText(s, QStringLiteral("TavrinPassword")));
    else
        out.password = secrets::read(QStringLiteral("TavrinPassword")).value_or(QString());
    return out;
}

bool writeStored(const StoredSettings& in)
{
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("norvad"));
    keepPrivate(s.fileName(), true);
    if (!s.isWritable())
        return false;
    s.setValue(QStringLiteral("TavrinSqlServerName"), in.serverName);
    s.setValue(QStringLiteral("TavrinDataBase"), in.dataBase);
    s.setValue(QStringLiteral("TavrinAuthentication"), in.authentication);
    s.setValue(QStringLiteral("TavrinUserName"), in.userName);
    // The desktop's secret store keeps the password when one answers; the
    // scrambled value in the settings file is the fallback.
    if (secrets::write(QStringLiteral("TavrinPassword"), in.password))
        s.remove(QStringLiteral("TavrinPassword"));
    else
        s.setValue(QStringLiteral("TavrinPassword"), scramble(in.password));
    s.sync();
    keepPrivate(s.fileName(), false);
    return s.status() == QSettings::NoError;
}

namespace {
const QString kChoiceKey = QStringLiteral("TavrinConnectionChoice");
} // namespace

std::optional<Choice> rememberedChoice()
{
    const QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("norvad"));
    const QString v = s.value(kChoiceKey).toString();
    if (v == QLatin1String("Internet"))
        return Choice::Internet;
    if (v == QLatin1String("Local"))
        return Choice::Local;
    return std::nullopt;
}

void rememberChoice(Choice c)
{
    if (rememberedChoice() == c)
        return;
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("norvad"));
    keepPrivate(s.fileName(), true);
    s.setValue(kChoiceKey, c == Choice::Local ? QStringLiteral("Local") : QStringLiteral("Internet"));
    s.sync();
    keepPrivate(s.fileName(), false);
}

QString embeddedDataFile()
{
    const QString file = QDir(programDataFolder()).filePath(QStringLiteral("tavrin.db"));
    // Created readable by its owner alone (Database::open), and SQLite gives
    // the -wal and -shm files the data file's mode; files an older version
    // left readable by others are narrowed.
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        narrowToOwner(file + QLatin1String(suffix));
    return file;
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
        s.authentication = settingText(sys, QStringLiteral("Authentication"));
        s.serverName = settingText(sys, QStringLiteral("Server"));
        s.dataBase = settingText(sys, QStringLiteral("Database"));
        s.userName = settingText(sys, QStringLiteral("User"));
        s.password = settingText(sys, QStringLiteral("Password"));
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
