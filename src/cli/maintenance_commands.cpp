#include "maintenance_commands.h"

#include "commands.h"

#include "maintenance/backup.h"
#include "maintenance/dbcopy.h"

#include <QFileInfo>
#include <QSet>

namespace tavrin::cli {

// The backup the "تهيه پشتيبان" window makes, into FILE.
int cmdBackup(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QMap<QString, QString> o;
    QStringList rest;
    if (!parseOptions(args, o, rest) || rest.size() != 1) {
        err << "usage: tavrin-cli backup FILE [connection options]\n";
        return 2;
    }
    const QString file = QFileInfo(rest.first()).absoluteFilePath();
    if (QFileInfo::exists(file)) {
        err << file << " exists: remove it or choose another name\n";
        return 1;
    }
    const auto params = connectionFromOptions(o, err);
    if (!params)
        return 1;
    out << "backing up " << params->describe() << "\n";
    out.flush();
    const BackupResult r = backupDatabase(*params, file, findPgDump());
    switch (r.status) {
    case BackupResult::Status::Done:
        out << "backup written to " << file << " (" << r.bytes << " bytes)\n";
        return 0;
    case BackupResult::Status::Manual:
        err << (params->backend == Backend::PostgreSQL ? "pg_dump is not installed on this computer; make the backup with:\n"
                                                       : "make the backup on the server with:\n")
            << "  " << r.command << "\n";
        return 1;
    case BackupResult::Status::SameFile:
        err << "the backup cannot replace the data file itself\n";
        return 1;
    case BackupResult::Status::Cancelled:
    case BackupResult::Status::Failed:
        break;
    }
    err << "backup failed: " << r.detail << "\n";
    return 1;
}

// Moves a whole database into a new one named by the connection options with
// "to-" in front, then compares every table.
int cmdCopyDatabase(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QMap<QString, QString> all, source, target;
    QStringList rest;
    if (parseOptions(args, all, rest) && rest.isEmpty()) {
        for (auto it = all.begin(); it != all.end(); ++it) {
            if (it.key().startsWith(QLatin1String("to-")))
                target[it.key().mid(3)] = it.value();
            else
                source[it.key()] = it.value();
        }
    }
    if (!rest.isEmpty() || !target.contains(QStringLiteral("backend"))) {
        err << "usage: tavrin-cli copy-database --to-backend sqlite|pg|mssql --to-server S [--to-database D --to-user U\n"
               "         --to-password P] [connection options of the source]\n"
               "The target is a new database on which \"tavrin-cli install\" has run and nobody has worked yet.\n";
        return 2;
    }
    auto from = openFromOptions(source, err);
    if (!from)
        return 1;
    auto targetParams = connectionFromOptions(target, err);
    if (!targetParams)
        return 1;
    targetParams->createIfMissing = false;
    Database to(*targetParams);
    QString why;
    if (!to.open(&why)) {
        err << "cannot connect to the target " << targetParams->describe() << ": " << why << "\n";
        return 1;
    }
    out << "copying " << from->params().describe() << "\n   into " << to.params().describe() << "\n";
    out.flush();
    QSet<QString> copying;
    const DatabaseCopy r = copyDatabase(*from, to, [&](qint64, qint64, const QString& step) {
        if (!step.isEmpty() && !copying.contains(step)) {   // each table once, as its copy starts
            copying.insert(step);
            out << "  " << step << "\n";
            out.flush();
        }
        return true;
    });
    switch (r.outcome) {
    case DatabaseCopy::Outcome::Copied:
        break;
    case DatabaseCopy::Outcome::TargetNotInstalled:
        err << r.detail << ": run \"tavrin-cli install\" on the target first\n";
        return 1;
    case DatabaseCopy::Outcome::TargetHoldsData:
        err << r.detail << ": copy-database only fills a new database; nothing was copied\n";
        return 1;
    case DatabaseCopy::Outcome::SameDatabase:
        err << r.detail << "\n";
        return 1;
    case DatabaseCopy::Outcome::Cancelled:
    case DatabaseCopy::Outcome::Failed:
        err << "the copy failed and the target was left as it was: " << r.detail << "\n";
        return 1;
    }
    for (const QString& n : r.notes)
        out << "note: " << n << "\n";
    out << QStringLiteral("%1 %2 %3  %4\n").arg(QStringLiteral("table"), -18).arg(QStringLiteral("source"), 9)
                                           .arg(QStringLiteral("copy"), 9).arg(QStringLiteral("checksum"));
    QStringList different;
    for (const TableComparison& t : r.tables) {
        out << QStringLiteral("%1 %2 %3  %4 %5\n")
                   .arg(t.table, -18)
                   .arg(t.sourceRows, 9)
                   .arg(t.targetRows, 9)
                   .arg(t.targetChecksum, t.matches() ? QStringLiteral("ok") : QStringLiteral("DIFFERS from ") + t.sourceChecksum);
        if (!t.matches())
            different << t.table;
    }
    if (!different.isEmpty()) {
        err << "the copy differs from the source in: " << different.join(QStringLiteral(", ")) << "\n";
        return 1;
    }
    out << "all " << r.tables.size() << " tables match: row counts and checksums are equal\n";
    return 0;
}

} // namespace tavrin::cli
