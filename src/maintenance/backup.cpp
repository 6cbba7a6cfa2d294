#include "backup.h"

#include "dbcopy.h"

#include "db/privatefiles.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QStandardPaths>
#include <QUuid>

#include <sqlite3.h>

namespace tavrin {

namespace {

// A word of a shell command, quoted where the shell would split or expand it.
QString shellWord(const QString& s)
{
    static const QRegularExpression safe(QStringLiteral(R"(^[A-Za-z0-9_./:=,@%+-]+$)"));
    if (!s.isEmpty() && safe.match(s).hasMatch())
        return s;
    QString t = s;
    t.replace('\'', QStringLiteral("'\\''"));
    return '\'' + t + '\'';
}

std::pair<QString, QString> hostAndPort(const QString& server)
{
    const int comma = server.lastIndexOf(',');
    if (comma < 0)
        return {server.trimmed(), QString()};
    return {server.left(comma).trimmed(), server.mid(comma + 1).trimmed()};
}

// The backup is written beside its file under this name and renamed when complete.
QString partialFile(const QString& file)
{
    return file + QStringLiteral(".partial");
}

bool replaceWith(const QString& partial, const QString& file, QString* why)
{
    if (QFileInfo::exists(file) && !QFile::remove(file)) {
        *why = QStringLiteral("cannot replace %1").arg(file);
        return false;
    }
    if (!QFile::rename(partial, file)) {
        *why = QStringLiteral("cannot rename %1 to %2").arg(partial, file);
        return false;
    }
    return true;
}

// ---- SQLite ---------------------------------------------------------------

struct SqliteWatch {
    const Progress* progress = nullptr;
    QString partial;
    qint64 total = 0;
    bool cancelled = false;
};

// Called by SQLite every few thousand steps of the copy: reports the size
// written so far and stops the copy when the user cancels.
int sqliteProgress(void* data)
{
    auto* w = static_cast<SqliteWatch*>(data);
    if (!w->progress || !*w->progress)
        return 0;
    const qint64 done = std::min(QFileInfo(w->partial).size(), w->total);
    if (!(*w->progress)(done, w->total, QString())) {
        w->cancelled = true;
        return 1;
    }
    return 0;
}

sqlite3* sqliteHandle(const Database& db)
{
    const QVariant v = db.qdb().driver()->handle();
    if (v.isValid() && qstrcmp(v.typeName(), "sqlite3*") == 0)
        return *static_cast<sqlite3* const*>(v.data());
    return nullptr;
}

// Opens the written copy on its own and lets SQLite check every page of it.
bool copyIsSound(const QString& path, QString* why)
{
    const QString name = QStringLiteral("tavrin-check-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("pragma quick_check")) && q.next()) {
                ok = q.value(0).toString() == QLatin1String("ok");
                if (!ok)
                    *why = QStringLiteral("the copy fails its check: ") + q.value(0).toString();
            } else {
                *why = q.lastError().text();
            }
        } else {
            *why = db.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

BackupResult backupSqlite(const ConnectionParams& p, const QString& file, const Progress& progress)
{
    BackupResult r;
    ConnectionParams own = p;
    own.createIfMissing = false;
    ConnectionParams target = p;
    target.server = file;
    if (sameDatabase(own, target)) {
        r.status = BackupResult::Status::SameFile;
        r.detail = QStringLiteral("the backup cannot replace the data file itself");
        return r;
    }
    // A connection of its own: the program's connection stays free meanwhile.
    Database db(own);
    if (!db.open(&r.detail))
        return r;
    const QString partial = partialFile(file);
    QFile::remove(partial);
    // VACUUM INTO writes into an empty file: made first, readable by its
    // owner alone, wherever the backup goes.
    if (!createOwnerOnlyFile(partial)) {
        r.detail = QStringLiteral("cannot create %1").arg(partial);
        return r;
    }
    SqliteWatch watch;
    watch.progress = &progress;
    watch.partial = partial;
    sqlite3* handle = sqliteHandle(db);
    try {
        watch.total = db.scalar(QStringLiteral("pragma page_count")).toLongLong() *
                      db.scalar(QStringLiteral("pragma page_size")).toLongLong();
        if (handle)
            sqlite3_progress_handler(handle, 100, sqliteProgress, &watch);
        // One read of one moment of the database; writers of other connections
        // are not held up meanwhile (WAL).
        db.exec(QStringLiteral("VACUUM INTO ?"), {partial});
    } catch (const DbError& e) {
        if (handle)
            sqlite3_progress_handler(handle, 0, nullptr, nullptr);
        db.close();
        QFile::remove(partial);
        r.status = watch.cancelled ? BackupResult::Status::Cancelled : BackupResult::Status::Failed;
        r.detail = e.driverText;
        return r;
    }
    if (handle)
        sqlite3_progress_handler(handle, 0, nullptr, nullptr);
    db.close();
    if (!copyIsSound(partial, &r.detail) || !replaceWith(partial, file, &r.detail)) {
        QFile::remove(partial);
        return r;
    }
    r.bytes = QFileInfo(file).size();
    r.status = BackupResult::Status::Done;
    if (progress)
        progress(watch.total, watch.total, QString());
    return r;
}

// ---- PostgreSQL -----------------------------------------------------------

QStringList pgDumpConnection(const ConnectionParams& p)
{
    const auto [host, port] = hostAndPort(p.server);
    QStringList args;
    if (!host.isEmpty())
        args << QStringLiteral("--host=") + host;
    if (!port.isEmpty())
        args << QStringLiteral("--port=") + port;
    if (!p.user.isEmpty())
        args << QStringLiteral("--username=") + p.user;
    return args;
}

BackupResult backupPostgres(const ConnectionParams& p, const QString& file, const QString& pgDump,
                            const Progress& progress)
{
    BackupResult r;
    if (pgDump.isEmpty()) {
        r.status = BackupResult::Status::Manual;
        r.command = backupCommand(p, file);
        return r;
    }
    const QString partial = partialFile(file);
    QFile::remove(partial);
    // pg_dump writes into the file made first, readable by its owner alone
    // (it keeps the mode of a file it overwrites).
    if (!createOwnerOnlyFile(partial)) {
        r.detail = QStringLiteral("cannot create %1").arg(partial);
        return r;
    }
    QProcess dump;
    dump.setProgram(pgDump);
    // The password goes through the environment, never on a command line.
    dump.setArguments(QStringList {QStringLiteral("--format=custom"), QStringLiteral("--no-password"),
                                   QStringLiteral("--file=") + partial}
                      + pgDumpConnection(p) + QStringList {QStringLiteral("--dbname=") + p.database});
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!p.password.isEmpty())
        env.insert(QStringLiteral("PGPASSWORD"), p.password);
    env.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QStringLiteral("10"));
    dump.setProcessEnvironment(env);
    dump.start();
    if (!dump.waitForStarted(10000)) {
        r.detail = dump.errorString();
        QFile::remove(partial);
        return r;
    }
    while (!dump.waitForFinished(100)) {
        if (dump.state() == QProcess::NotRunning)
            break;
        if (progress && !progress(QFileInfo(partial).size(), 0, QString())) {
            dump.kill();
            dump.waitForFinished(5000);
            QFile::remove(partial);
            r.status = BackupResult::Status::Cancelled;
            return r;
        }
    }
    if (dump.exitStatus() != QProcess::NormalExit || dump.exitCode() != 0) {
        r.detail = QString::fromLocal8Bit(dump.readAllStandardError()).trimmed();
        if (r.detail.isEmpty())
            r.detail = QStringLiteral("pg_dump ended with code %1").arg(dump.exitCode());
        QFile::remove(partial);
        return r;
    }
    if (!replaceWith(partial, file, &r.detail)) {
        QFile::remove(partial);
        return r;
    }
    r.bytes = QFileInfo(file).size();
    r.status = BackupResult::Status::Done;
    return r;
}

} // namespace

QString findPgDump()
{
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("pg_dump"));
    if (!onPath.isEmpty())
        return onPath;
    // The server's own programs, newest version first.
    QStringList versions = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCollator numeric;
    numeric.setNumericMode(true);
    std::sort(versions.begin(), versions.end(), [&](const QString& a, const QString& b) { return numeric.compare(a, b) > 0; });
    for (const QString& v : versions) {
        const QString path = QStringLiteral("/usr/lib/postgresql/%1/bin/pg_dump").arg(v);
        if (QFileInfo(path).isExecutable())
            return path;
    }
    return {};
}

QString backupCommand(const ConnectionParams& p, const QString& file, const QString& program)
{
    switch (p.backend) {
    case Backend::SQLite:
        return {};
    case Backend::PostgreSQL: {
        QStringList words {shellWord(program), QStringLiteral("--format=custom")};
        for (const QString& a : pgDumpConnection(p))
            words << shellWord(a);
        words << shellWord(QStringLiteral("--file=") + file) << shellWord(p.database);
        return words.join(' ');
    }
    case Backend::SqlServer: {
        QString server = p.server, database = p.database, path = file;
        database.replace(']', QStringLiteral("]]"));
        path.replace('\'', QStringLiteral("''"));
        const QString sql = QStringLiteral("BACKUP DATABASE [%1] TO DISK = N'%2'").arg(database, path);
        return QStringLiteral("sqlcmd -S %1 -U %2 -Q %3").arg(shellWord(server), shellWord(p.user), shellWord(sql));
    }
    }
    return {};
}

BackupResult backupDatabase(const ConnectionParams& p, const QString& file, const QString& pgDump,
                            const Progress& progress)
{
    switch (p.backend) {
    case Backend::SQLite:
        return backupSqlite(p, file, progress);
    case Backend::PostgreSQL:
        return backupPostgres(p, file, pgDump, progress);
    case Backend::SqlServer:
        break;
    }
    BackupResult r;
    r.status = BackupResult::Status::Manual;
    r.command = backupCommand(p, file);
    return r;
}

} // namespace tavrin
