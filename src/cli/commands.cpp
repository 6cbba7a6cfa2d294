#include "commands.h"

#include "maintenance_commands.h"

#include "common/history.h"
#include "common/jalali.h"
#include "common/nationcode.h"
#include "common/numberwords.h"
#include "db/connection.h"
#include "db/installer.h"
#include "maintenance/consistency.h"
#include "maintenance/demodata.h"
#include "maintenance/install.h"
#include "prereg/agreement_template.h"
#include "reference/divisions.h"

#include <QDate>
#include <QFile>
#include <QRegularExpression>

#include <functional>
#include <map>

namespace tavrin::cli {

namespace {

using Command = std::function<int(const QStringList&, QTextStream&, QTextStream&)>;

struct Entry {
    QString usage;
    QString about;      // what the command does, for --help
    Command run;
};

// Reads "--name value" pairs; returns false on a stray argument.
bool options(const QStringList& args, QMap<QString, QString>& opts, QStringList& rest)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a.startsWith(QLatin1String("--"))) {
            const QString name = a.mid(2);
            if (name == QLatin1String("builtin")) {
                opts[name] = QStringLiteral("1");
                continue;
            }
            if (i + 1 >= args.size())
                return false;
            opts[name] = args[++i];
        } else {
            rest << a;
        }
    }
    return true;
}

} // namespace

bool parseOptions(const QStringList& args, QMap<QString, QString>& opts, QStringList& rest)
{
    return options(args, opts, rest);
}

// The connection a command works on: the one named on the command line, else
// the stored settings, else the built-in connection.
std::optional<ConnectionParams> connectionFromOptions(const QMap<QString, QString>& o, QTextStream& err)
{
    if (o.contains(QStringLiteral("builtin")))
        return connection::builtIn();
    if (o.contains(QStringLiteral("backend"))) {
        ConnectionParams p;
        const QString b = o.value(QStringLiteral("backend")).toLower();
        if (b == QLatin1String("sqlite"))
            p.backend = Backend::SQLite;
        else if (b == QLatin1String("pg") || b == QLatin1String("postgresql"))
            p.backend = Backend::PostgreSQL;
        else if (b == QLatin1String("mssql") || b == QLatin1String("sqlserver"))
            p.backend = Backend::SqlServer;
        else {
            err << "unknown backend: " << b << " (sqlite, pg or mssql)\n";
            return std::nullopt;
        }
        p.server = o.value(QStringLiteral("server"));
        p.database = o.value(QStringLiteral("database"));
        p.user = o.value(QStringLiteral("user"));
        p.password = o.value(QStringLiteral("password"));
        if (p.server.isEmpty()) {
            err << "--server is required (the data file for sqlite)\n";
            return std::nullopt;
        }
        return p;
    }
    const connection::StoredSettings s = connection::readStored();
    if (!s.exists)
        return connection::builtIn();
    const connection::Resolved r = connection::fromStored(s);
    if (!r.params) {
        err << "the stored connection settings cannot be used (authentication \"" << r.authentication << "\")\n";
        return std::nullopt;
    }
    return r.params;
}

std::unique_ptr<Database> openFromOptions(const QMap<QString, QString>& o, QTextStream& err)
{
    auto params = connectionFromOptions(o, err);
    if (!params)
        return nullptr;
    auto db = std::make_unique<Database>(*params);
    QString why;
    if (!db->open(&why)) {
        err << "cannot connect to " << params->describe() << ": " << why << "\n";
        return nullptr;
    }
    return db;
}

namespace {

int cmdInstall(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QMap<QString, QString> o;
    QStringList rest;
    if (!options(args, o, rest) || !rest.isEmpty()) {
        err << "usage: tavrin-cli install [connection options]\n";
        return 2;
    }
    auto db = openFromOptions(o, err);
    if (!db)
        return 1;
    out << "installing on " << db->params().describe() << "\n";
    const InstallReport r = installDatabase(*db);
    for (const QString& a : r.actions)
        out << "  " << a << "\n";
    if (!r.ok) {
        err << "failed at " << r.failedStep << ": " << r.error << "\n";
        return 1;
    }
    if (r.actions.isEmpty())
        out << "  the database is already current\n";
    for (const QString& w : r.warnings)
        err << "warning: " << w << "\n";
    out << "done\n";
    return 0;
}

int cmdToday(const QStringList&, QTextStream& out, QTextStream&)
{
    out << jalali::today() << "\n";
    return 0;
}

int cmdToJalali(const QStringList& args, QTextStream& out, QTextStream& err)
{
    static const QRegularExpression re(QStringLiteral(R"(^(\d{4})-(\d{2})-(\d{2})$)"));
    const auto m = args.size() == 1 ? re.match(args[0]) : QRegularExpressionMatch();
    const QDate d = m.hasMatch() ? QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()) : QDate();
    if (!d.isValid()) {
        err << "usage: tavrin-cli to-jalali YYYY-MM-DD\n";
        return 2;
    }
    out << jalali::fromGregorian(d) << "\n";
    return 0;
}

// The Persian words of a whole amount, as the printed documents write it.
int cmdWords(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 1) {
        err << "usage: tavrin-cli words DIGITS\n";
        return 2;
    }
    const auto w = words::toWords(args[0]);
    if (!w) {
        err << "not a whole number of at most 15 digits: " << args[0] << "\n";
        return 1;
    }
    out << *w << "\n";
    return 0;
}

// The national-code check: prints what an entry form would report (nothing for
// a valid code); succeeds only for a valid code.
int cmdNationCheck(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 1) {
        err << "usage: tavrin-cli nation-check CODE\n";
        return 2;
    }
    const QString message = nationCodeMessage(args[0]);
    if (!message.isEmpty())
        out << message << "\n";
    else if (args[0].isEmpty())
        err << "no code given\n";
    return isValidNationCode(args[0]) ? 0 : 1;
}

// The deposit agreement's built-in wording, to FILE or the standard output:
// the starting point of an organisation's own copy, which the program reads
// from the first of the folders it names.
int cmdAgreementWording(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() > 1) {
        err << "usage: tavrin-cli agreement-wording [FILE]\n";
        return 2;
    }
    const QString text = prereg::AgreementTemplate::builtInText();
    if (args.isEmpty()) {
        out << text;
    } else {
        QFile f(args[0]);
        if (!f.open(QIODevice::WriteOnly)) {
            err << "cannot write " << args[0] << ": " << f.errorString() << "\n";
            return 1;
        }
        f.write(text.toUtf8());
    }
    err << "the agreement is printed with the wording of the first of these files that exists:\n";
    for (const QString& path : prereg::AgreementTemplate::overridePaths())
        err << "  " << path << "\n";
    return 0;
}

// Replaces the country divisions with the rows of a spreadsheet (.xlsx or .xls
// with the seven columns ostan, shahrestan, shahr, bakhsh, dehestan, rosta,
// cod), in one transaction: a file with a bad row changes nothing.
int cmdImportDivisions(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QMap<QString, QString> o;
    QStringList rest;
    if (!options(args, o, rest) || rest.size() != 1) {
        err << "usage: tavrin-cli import-divisions FILE [connection options]\n";
        return 2;
    }
    auto db = openFromOptions(o, err);
    if (!db)
        return 1;
    const DivisionImport r = importDivisionsFile(*db, rest.first());
    if (!r.ok) {
        err << r.error << "\n";
        return 1;
    }
    out << "imported " << r.rows << " rows into abadiha" << (r.headerSkipped ? " (header row skipped)" : "") << "\n";
    return 0;
}

// Demonstration projects with their units, storage rooms, parking spaces and
// applicants, for trying the program and for measuring it.
int cmdDemoData(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QMap<QString, QString> o;
    QStringList rest;
    demo::Options d;
    const std::pair<const char*, int*> numbers[] = {
        {"projects", &d.projects}, {"units-per-project", &d.unitsPerProject},
        {"storage-per-project", &d.storagePerProject}, {"parking-per-project", &d.parkingPerProject},
        {"sold-percent", &d.soldPercent}, {"applicants", &d.applicants},
        {"transferred-percent", &d.transferredPercent}, {"payments-per-applicant", &d.paymentsPerApplicant},
        {"partners-percent", &d.partnersPercent}, {"dependants-per-applicant", &d.dependantsPerApplicant}};
    bool ok = options(args, o, rest) && rest.isEmpty();
    for (const auto& [name, target] : numbers) {
        if (ok && o.contains(QString::fromLatin1(name))) {
            *target = o.take(QString::fromLatin1(name)).toInt(&ok);
            ok = ok && *target >= 0;
        }
    }
    if (ok && o.contains(QStringLiteral("seed")))
        d.seed = o.take(QStringLiteral("seed")).toUInt(&ok);
    if (!ok || d.soldPercent > 100 || d.transferredPercent > 100 || d.partnersPercent > 100) {
        err << "usage: tavrin-cli demo-data [--projects N] [--units-per-project M] [--storage-per-project S]\n"
               "         [--parking-per-project P] [--sold-percent 0..100] [--applicants A]\n"
               "         [--transferred-percent 0..100] [--payments-per-applicant P] [--partners-percent 0..100]\n"
               "         [--dependants-per-applicant D] [--seed S] [connection options]\n"
               "  --applicants A adds projects until there are A applicants (300000 for the benchmark size).\n";
        return 2;
    }
    auto db = openFromOptions(o, err);
    if (!db)
        return 1;
    if (!db->tableExists(QStringLiteral("projects"))) {
        err << "the database has no tables yet: run \"tavrin-cli install\" first\n";
        return 1;
    }
    out << "adding demonstration data to " << db->params().describe() << "\n";
    out.flush();
    try {
        const demo::Report r = demo::generate(*db, d, [&](const QString& line) {
            out << "  " << line << "\n";
            out.flush();
        });
        out << "done: " << r.projects << " projects, " << r.units << " units, " << r.storageRooms << " storage rooms, "
            << r.parkingSpaces << " parking spaces, " << r.applicants << " applicants with " << r.payments
            << " payments, " << r.partners << " partners and " << r.dependants << " dependants in "
            << QString::number(r.milliseconds / 1000.0, 'f', 1) << " s\n";
    } catch (const DbError& e) {
        err << "failed: " << e.driverText << "\n";
        return 1;
    }
    return 0;
}

// Lists every broken invariant of the stored data, one per line; succeeds
// only when there is none.
int cmdCheck(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QMap<QString, QString> o;
    QStringList rest;
    if (!options(args, o, rest) || !rest.isEmpty()) {
        err << "usage: tavrin-cli check [connection options]\n";
        return 2;
    }
    auto db = openFromOptions(o, err);
    if (!db)
        return 1;
    if (!db->tableExists(QStringLiteral("customers"))) {
        err << "the database has no tables yet: run \"tavrin-cli install\" first\n";
        return 1;
    }
    QList<maintenance::Finding> findings;
    try {
        findings = maintenance::checkConsistency(*db);
    } catch (const DbError& e) {
        err << "the check could not read the database: " << e.driverText << "\n";
        return 1;
    }
    for (const auto& f : findings)
        out << f.plainLine() << "\n";
    if (findings.isEmpty())
        out << "no broken invariants in " << db->params().describe() << "\n";
    else
        out << findings.size() << " broken invariant(s) in " << db->params().describe() << "\n";
    return findings.isEmpty() ? 0 : 1;
}

// The record history of one record, newest first, one change per line:
// date, time, user, action, table, record id, field, old value, new value,
// separated by tabs (a NULL value prints as "<null>"; tabs and line breaks
// inside a value as \t and \n).
int cmdHistory(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QMap<QString, QString> o;
    QStringList rest;
    bool idOk = false;
    const bool parsed = options(args, o, rest) && rest.size() == 2;
    const qint64 id = parsed ? rest.at(1).toLongLong(&idOk) : 0;
    if (!parsed || !idOk) {
        err << "usage: tavrin-cli history TABLE ID [connection options]\n";
        return 2;
    }
    auto db = openFromOptions(o, err);
    if (!db)
        return 1;
    const auto shown = [](const QString& v) {
        if (v.isNull())
            return QStringLiteral("<null>");
        QString t = v;
        return t.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
            .replace(QLatin1Char('\t'), QLatin1String("\\t"))
            .replace(QLatin1Char('\n'), QLatin1String("\\n"))
            .replace(QLatin1Char('\r'), QLatin1String("\\r"));
    };
    try {
        out << "date\ttime\tuser\taction\ttable\trecord\tfield\told\tnew\n";
        for (const history::Entry& e : history::ofRecord(*db, rest.at(0), id))
            out << QStringList {e.date, e.time, shown(e.user), e.action, e.table, QString::number(e.record), e.field,
                                shown(e.before), shown(e.after)}
                       .join(QLatin1Char('\t'))
                << "\n";
    } catch (const DbError& e) {
        err << "reading the history failed: " << e.driverText.trimmed() << "\n";
        return 1;
    }
    return 0;
}

const std::map<QString, Entry>& commands()
{
    static const QString conn = QStringLiteral("[--builtin | --backend sqlite|pg|mssql --server S [--database D --user U --password P]]");
    static const std::map<QString, Entry> c = {
        {QStringLiteral("install"), {QStringLiteral("install ") + conn,
                                     QStringLiteral("Creates the tables of a new database or completes an older one."),
                                     cmdInstall}},
        {QStringLiteral("check"), {QStringLiteral("check ") + conn,
                                   QStringLiteral("Lists every broken invariant of the stored data (sales, totals, rows whose\n"
                                                  "parent is gone), one per line as \"table ids: what is wrong\".\n"
                                                  "Exits 0 when there is none, 1 otherwise."),
                                   cmdCheck}},
        {QStringLiteral("today"), {QStringLiteral("today"), QStringLiteral("Prints today's Jalali date."), cmdToday}},
        {QStringLiteral("to-jalali"), {QStringLiteral("to-jalali YYYY-MM-DD"),
                                       QStringLiteral("Prints the Jalali date of a Gregorian date."), cmdToJalali}},
        {QStringLiteral("words"), {QStringLiteral("words DIGITS"),
                                   QStringLiteral("Prints a whole amount in Persian words, as the printed documents write it."),
                                   cmdWords}},
        {QStringLiteral("nation-check"), {QStringLiteral("nation-check CODE"),
                                          QStringLiteral("Checks a national code; exits 0 only for a valid one."),
                                          cmdNationCheck}},
        {QStringLiteral("demo-data"), {QStringLiteral("demo-data [--projects N --units-per-project M --storage-per-project S "
                                                      "--parking-per-project P --sold-percent X --applicants A --transferred-percent T "
                                                      "--payments-per-applicant P --partners-percent R "
                                                      "--dependants-per-applicant D --seed S] [connection options]"),
                                       QStringLiteral("Adds demonstration projects, units, spaces and applicants."),
                                       cmdDemoData}},
        {QStringLiteral("agreement-wording"), {QStringLiteral("agreement-wording [FILE]"),
                                               QStringLiteral("Writes the deposit agreement's built-in wording to FILE (or the standard\n"
                                                              "output), as the starting point of the organisation's own copy."),
                                               cmdAgreementWording}},
        {QStringLiteral("import-divisions"), {QStringLiteral("import-divisions FILE [connection options]"),
                                              QStringLiteral("Replaces the country divisions with the rows of an .xlsx or .xls file."),
                                              cmdImportDivisions}},
        {QStringLiteral("history"), {QStringLiteral("history TABLE ID [connection options]"),
                                     QStringLiteral("Prints the record history of one record, newest first, a change per line\n"
                                                    "(tab-separated; customers and projects with their records' changes)."),
                                     cmdHistory}},
        {QStringLiteral("backup"), {QStringLiteral("backup FILE [connection options]"),
                                    QStringLiteral("Writes a consistent copy of the database: the SQLite data file, or a\n"
                                                   "pg_dump archive of a PostgreSQL database."),
                                    cmdBackup}},
        {QStringLiteral("copy-database"), {QStringLiteral("copy-database --to-backend sqlite|pg|mssql --to-server S [--to-database D "
                                                          "--to-user U --to-password P] [connection options of the source]"),
                                           QStringLiteral("Copies every table, ids kept, into a newly installed empty database and\n"
                                                          "compares row counts and checksums table by table."),
                                           cmdCopyDatabase}},
    };
    return c;
}

} // namespace

namespace {

bool isHelp(const QString& a)
{
    return a == QLatin1String("--help") || a == QLatin1String("-h");
}

// Whether a command's arguments ask for its help: "--help" or "-h" where an
// argument stands, not as the value of an option ("--password -h").
bool asksHelp(const QStringList& args)
{
    for (int i = 0; i < args.size(); ++i) {
        if (isHelp(args[i]))
            return true;
        if (args[i].startsWith(QLatin1String("--")) && args[i] != QLatin1String("--builtin"))
            ++i;
    }
    return false;
}

void usage(QTextStream& to)
{
    to << "usage: tavrin-cli COMMAND [options]\n"
          "       tavrin-cli --help | --version\n"
          "       tavrin-cli COMMAND --help\n\n";
    for (const auto& [name, e] : commands())
        to << "  tavrin-cli " << e.usage << "\n";
    to << "\nWithout connection options a command uses the stored connection settings, or the\n"
          "built-in connection when none are stored.\n";
}

} // namespace

QString version()
{
    return QStringLiteral(TAVRIN_VERSION_TEXT);
}

int run(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const auto& c = commands();
    if (!args.isEmpty() && (isHelp(args.first()) || args.first() == QLatin1String("help"))) {
        if (args.size() > 1 && c.count(args[1])) {
            const Entry& e = c.at(args[1]);
            out << "usage: tavrin-cli " << e.usage << "\n\n" << e.about << "\n";
        } else {
            usage(out);
        }
        return 0;
    }
    if (!args.isEmpty() && args.first() == QLatin1String("--version")) {
        out << "tavrin-cli " << version() << "\n";
        return 0;
    }
    if (args.isEmpty() || !c.count(args.first())) {
        if (!args.isEmpty())
            err << "unknown command: " << args.first() << "\n";
        usage(err);
        return 2;
    }
    const Entry& e = c.at(args.first());
    if (asksHelp(args.mid(1))) {
        out << "usage: tavrin-cli " << e.usage << "\n\n" << e.about << "\n";
        if (e.usage.contains(QLatin1String("connection options")) || e.usage.contains(QLatin1String("--builtin")))
            out << "\nConnection options: --builtin, or --backend sqlite|pg|mssql --server S [--database D\n"
                   "--user U --password P]; without them the stored connection settings are used.\n";
        return 0;
    }
    return e.run(args.mid(1), out, err);
}

} // namespace tavrin::cli
