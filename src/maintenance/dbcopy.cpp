#include "dbcopy.h"

#include "portable.h"

#include "admin/rights_templates.h"

#include <QFileInfo>
#include <QSqlError>

namespace tavrin {

namespace {

constexpr int kPage = 200;

struct Planned {
    const TableDef* table = nullptr;
    QList<const ColumnDef*> columns;
    qint64 rows = 0;
    portable::Digest digest;
    qint64 maxId = 0;
};

bool hasIdentity(const TableDef& t)
{
    for (const ColumnDef& c : t.columns)
        if (c.type == ColType::Identity || c.type == ColType::BigIdentity)
            return true;
    return false;
}

qint64 count(Database& db, const QString& table, const QString& condition = {})
{
    return db.scalar(QStringLiteral("select count(*) from ") + table + condition).toLongLong();
}

// Rows beyond those a new database starts with: the installer's seed rows, the
// starter divisions (a province, its centre county and city, nothing more),
// the administrator's rights and the first values of the role and user-status
// lists.
qint64 rowsBeyondNew(Database& db, const TableDef& t)
{
    if (t.name == QLatin1String("abadiha"))
        return count(db, t.name,
                     QStringLiteral(" where coalesce(bakhsh,'')<>'' or coalesce(dehestan,'')<>'' "
                                    "or coalesce(rosta,'')<>'' or coalesce(cod,'')<>''"));
    if (t.name == QLatin1String("dastrasi"))
        return db.scalar(QStringLiteral("select count(*) from dastrasi where prs_id not in (select id from users where us=?)"),
                         {QStringLiteral("admin")})
            .toLongLong();
    if (t.name == QLatin1String("setting")) {
        qint64 firstUse = 0;
        for (const auto& [key, values] : firstUseLists())
            for (const QString& v : values)
                firstUse += db.scalar(QStringLiteral("select count(*) from setting where component=? and cmt=?"), {key, v})
                                .toLongLong();
        return std::max<qint64>(0, count(db, t.name) - firstUse);
    }
    return std::max<qint64>(0, count(db, t.name) - t.seeds.size());
}

// Inserts rows with their ids in bulk (Database's BulkInsert: COPY on
// PostgreSQL, one prepared statement on SQLite), converted for the target.
class Inserter {
public:
    Inserter(Database& db, const TableDef& t, const QList<const ColumnDef*>& columns)
        : m_columns(columns), m_table(t.name)
    {
        QStringList names;
        for (const ColumnDef* c : columns)
            names << c->name;
        m_bulk = std::make_unique<BulkInsert>(db, t.name, names);
        // Only the server's own check may refuse a value on a server that checks lengths.
        m_checkLength = !db.dialect().textLengthQuery().isEmpty();
    }

    // Counts the row into `digest` and inserts it, each value converted once.
    void insert(const QVariantList& r, portable::Digest& digest)
    {
        try {
            digest.addRow(m_columns, r, &m_values, m_checkLength);
        } catch (portable::BadValue& bad) {
            bad.column = QStringLiteral("%1.%2 of the row %3").arg(m_table, bad.column, rowName(r));
            throw;
        }
        try {
            m_bulk->add(m_values);
        } catch (const DbError& e) {
            throw DbError(e.driverText + QStringLiteral(" (row ") + rowName(r) + ')', e.sql);
        }
    }

    // The rows reach the table (a refusal of the server may come only here).
    void finish() { m_bulk->finish(); }

private:
    QString rowName(const QVariantList& r) const
    {
        for (int i = 0; i < m_columns.size(); ++i)
            if (m_columns[i]->name.compare(QLatin1String("id"), Qt::CaseInsensitive) == 0)
                return QStringLiteral("id=") + r.value(i).toString();
        return QStringLiteral("without id");
    }

    std::unique_ptr<BulkInsert> m_bulk;
    QList<const ColumnDef*> m_columns;
    QString m_table;
    QVariantList m_values;
    bool m_checkLength = true;
};

} // namespace

bool DatabaseCopy::allMatch() const
{
    if (outcome != Outcome::Copied)
        return false;
    for (const TableComparison& t : tables)
        if (!t.matches())
            return false;
    return true;
}

bool sameDatabase(const ConnectionParams& a, const ConnectionParams& b)
{
    if (a.backend != b.backend)
        return false;
    if (a.backend == Backend::SQLite) {
        const QFileInfo fa(a.server), fb(b.server);
        if (fa.exists() && fb.exists())
            return fa.canonicalFilePath() == fb.canonicalFilePath();
        return fa.absoluteFilePath() == fb.absoluteFilePath();
    }
    return a.server.trimmed().compare(b.server.trimmed(), Qt::CaseInsensitive) == 0 &&
           a.database.trimmed() == b.database.trimmed();
}

ReadSnapshot::ReadSnapshot(Database& db) : m_db(db)
{
    m_db.exec(m_db.dialect().readSnapshotBegin());
    m_open = true;
}

ReadSnapshot::~ReadSnapshot()
{
    if (!m_open)
        return;
    try {
        m_db.exec(QStringLiteral("ROLLBACK"));
    } catch (...) {
    }
}

void ReadSnapshot::end()
{
    if (!m_open)
        return;
    m_open = false;
    m_db.exec(QStringLiteral("COMMIT"));
}

DatabaseCopy copyDatabase(Database& from, Database& to, const Progress& progress)
{
    DatabaseCopy r;
    if (sameDatabase(from.params(), to.params())) {
        r.outcome = DatabaseCopy::Outcome::SameDatabase;
        r.detail = QStringLiteral("the source and the target are the same database");
        return r;
    }
    QString doing;
    try {
        // The target holds this program's schema and nothing more than a new database.
        doing = QStringLiteral("checking the target");
        for (const TableDef& t : schema().tables) {
            if (!to.tableExists(t.name)) {
                r.outcome = DatabaseCopy::Outcome::TargetNotInstalled;
                r.detail = QStringLiteral("the target has no table %1").arg(t.name);
                return r;
            }
            const QStringList have = to.columns(t.name);
            for (const ColumnDef& c : t.columns) {
                if (!have.contains(c.name, Qt::CaseInsensitive)) {
                    r.outcome = DatabaseCopy::Outcome::TargetNotInstalled;
                    r.detail = QStringLiteral("the target has no column %1.%2").arg(t.name, c.name);
                    return r;
                }
            }
        }
        for (const TableDef& t : schema().tables) {
            if (const qint64 n = rowsBeyondNew(to, t); n > 0) {
                r.outcome = DatabaseCopy::Outcome::TargetHoldsData;
                r.detail = QStringLiteral("the target already holds data (table %1: %2 rows)").arg(t.name).arg(n);
                return r;
            }
        }

        doing = QStringLiteral("reading the source");
        ReadSnapshot snapshot(from);
        QList<Planned> plan;
        qint64 total = 0;
        for (const TableDef& t : schema().tables) {
            if (!from.tableExists(t.name)) {
                r.notes << QStringLiteral("the source has no table %1; it stays empty").arg(t.name);
                continue;
            }
            const QStringList have = from.columns(t.name);
            Planned p;
            p.table = &t;
            p.columns = portable::sharedColumns(t, have, to.columns(t.name));
            for (const ColumnDef& c : t.columns)
                if (!have.contains(c.name, Qt::CaseInsensitive))
                    r.notes << QStringLiteral("the source has no column %1.%2; it stays empty").arg(t.name, c.name);
            p.rows = count(from, t.name);
            total += p.rows;
            plan << p;
        }
        for (const QString& name : from.qdb().tables(QSql::Tables)) {
            if (!schema().table(name.toLower()) && !name.startsWith(QLatin1String("sqlite_")))
                r.notes << QStringLiteral("the table %1 is not part of this program's schema; not copied").arg(name);
        }

        Transaction tx(to);
        // The rows the installer wrote give way to the source's own.
        for (const Planned& p : plan)
            to.exec(QStringLiteral("delete from ") + p.table->name);
        qint64 done = 0;
        for (Planned& p : plan) {
            doing = QStringLiteral("copying the table ") + p.table->name;
            report(progress, done, 2 * total, p.table->name);
            const QString identityOn = to.dialect().explicitIdentity(p.table->name, true);
            if (hasIdentity(*p.table) && !identityOn.isEmpty())
                to.exec(identityOn);
            const int idAt = [&] {
                for (int i = 0; i < p.columns.size(); ++i)
                    if (p.columns[i]->type == ColType::Identity || p.columns[i]->type == ColType::BigIdentity)
                        return i;
                return -1;
            }();
            qint64 inTable = 0;
            std::optional<Inserter> inserter;   // begun with the first row: an empty table costs nothing
            portable::readTable(from, *p.table, p.columns, kPage, [&](const QVariantList& row) {
                if (!inserter)
                    inserter.emplace(to, *p.table, p.columns);
                inserter->insert(row, p.digest);
                if (idAt >= 0)
                    p.maxId = std::max(p.maxId, row.at(idAt).toLongLong());
                if (++inTable % kPage == 0)
                    report(progress, done + inTable, 2 * total, p.table->name);
            });
            if (inserter)
                inserter->finish();
            inserter.reset();
            done += inTable;
            if (hasIdentity(*p.table)) {
                const QString identityOff = to.dialect().explicitIdentity(p.table->name, false);
                if (!identityOff.isEmpty())
                    to.exec(identityOff);
                // Past the largest id and past any id the source handed out before
                // deleting it, so that no new row takes the id of a deleted one.
                qint64 last = p.maxId;
                try {
                    last = std::max(last, from.scalar(from.dialect().identityLastQuery(), {p.table->name}).toLongLong());
                } catch (const DbError&) {
                    // A source without a record of its identities: the largest id it is.
                }
                for (const BoundStatement& s : to.dialect().advanceIdentity(p.table->name, last))
                    to.exec(s.sql, s.values);
            }
        }
        report(progress, done, 2 * total, QString());
        doing = QStringLiteral("committing");
        tx.commit();
        snapshot.end();

        // What the target now holds, read back and compared table by table.
        doing = QStringLiteral("comparing");
        for (const Planned& p : plan) {
            const portable::Digest target = portable::digestTable(to, *p.table, p.columns);
            done += p.rows;
            if (progress)
                progress(done, 2 * total, p.table->name);  // the copy is committed: no cancelling now
            r.tables << TableComparison {p.table->name, p.digest.rows(), target.rows(), p.digest.hex(), target.hex()};
        }
        r.outcome = DatabaseCopy::Outcome::Copied;
    } catch (const Cancelled&) {
        r.outcome = DatabaseCopy::Outcome::Cancelled;
        r.detail = QStringLiteral("cancelled; the target was left as it was");
    } catch (const portable::BadValue& bad) {
        r.outcome = DatabaseCopy::Outcome::Failed;
        r.detail = QStringLiteral("%1: %2; nothing was copied").arg(bad.column, bad.why);
    } catch (const DbError& e) {
        r.outcome = DatabaseCopy::Outcome::Failed;
        r.detail = QStringLiteral("%1 failed: %2").arg(doing, e.driverText.trimmed());
    }
    return r;
}

} // namespace tavrin
