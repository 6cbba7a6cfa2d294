#include "installer.h"

#include "password.h"

#include <QSqlField>

namespace tavrin {

namespace {

bool isTextField(const QSqlField& f)
{
    return f.metaType().id() == QMetaType::QString;
}

QVariant seedValue(const TableDef& t, const QString& column, const QVariant& v)
{
    if (v.toString() == QLatin1String("@ADMINHASH"))
        return password::hash(QString::fromLatin1(kSeedAdminPassword));
    const ColumnDef* c = t.column(column);
    if (c && c->type == ColType::Bit)
        return v.toBool();
    return v;
}

// Gives existing rows a newly added column's initial value.
void applyInitialValue(Database& db, const QString& table, const ColumnDef& c)
{
    switch (c.init) {
    case InitKind::None:
        return;
    case InitKind::Value:
        db.exec(QStringLiteral("update %1 set %2=?").arg(table, c.name), {c.initValue});
        return;
    case InitKind::NullsTo:
        db.exec(QStringLiteral("update %1 set %2=? where %2 is null").arg(table, c.name), {c.initValue});
        return;
    case InitKind::FromColumn:
        db.exec(QStringLiteral("update %1 set %2=%3").arg(table, c.name, c.initColumn));
        return;
    }
}

class Installer {
public:
    explicit Installer(Database& db) : m_db(db), m_d(db.dialect()) {}

    InstallReport run()
    {
        try {
            for (const TableDef& t : schema().tables)
                installTable(t);
            for (const IndexDef& ix : schema().indexes)
                installIndex(ix);
            for (const SearchDef& sd : schema().searches)
                installSearchKey(sd);
            m_report.failedStep = QStringLiteral("checking the user names");
            reportDuplicateUserNames();
        } catch (const DbError& e) {
            m_report.ok = false;
            m_report.error = e.driverText;
        } catch (const std::exception& e) {
            m_report.ok = false;
            m_report.error = QString::fromLocal8Bit(e.what());
        }
        return m_report;
    }

private:
    void installTable(const TableDef& t)
    {
        m_report.failedStep = QStringLiteral("table ") + t.name;
        Transaction tx(m_db);
        if (!m_db.tableExists(t.name)) {
            m_db.exec(m_d.createTable(t));
            for (const SeedRow& s : t.seeds) {
                QVariantList values;
                for (int i = 0; i < s.values.size(); ++i)
                    values << seedValue(t, s.columns[i], s.values[i]);
                QStringList marks(s.columns.size(), QStringLiteral("?"));
                m_db.exec(QStringLiteral("insert into %1 (%2) values (%3)")
                              .arg(t.name, s.columns.join(','), marks.join(',')),
                          values);
            }
            tx.commit();
            m_report.actions << QStringLiteral("created table %1").arg(t.name);
            return;
        }
        const QSqlRecord existing = m_db.qdb().record(t.name);
        bool changed = false;
        for (const ColumnDef& c : t.columns) {
            const int at = existing.indexOf(c.name);
            if (at < 0) {
                m_report.failedStep = QStringLiteral("column %1.%2").arg(t.name, c.name);
                m_db.exec(m_d.addColumn(t.name, c));
                applyInitialValue(m_db, t.name, c);
                m_report.actions << QStringLiteral("added column %1.%2").arg(t.name, c.name);
                changed = true;
                continue;
            }
            if (fixType(t.name, c, existing.field(at)))
                changed = true;
        }
        for (const QString& col : t.obsolete) {
            if (existing.indexOf(col) < 0)
                continue;
            m_report.failedStep = QStringLiteral("column %1.%2").arg(t.name, col);
            m_db.exec(m_d.dropColumn(t.name, col));
            m_report.actions << QStringLiteral("dropped column %1.%2").arg(t.name, col);
            changed = true;
        }
        tx.commit();
        Q_UNUSED(changed);
    }

    // Numbers kept as text by older databases become integers; text columns that
    // are too narrow (users.ps for password hashes) are widened.
    bool fixType(const QString& table, const ColumnDef& c, const QSqlField& f)
    {
        QString stmt;
        if (c.type == ColType::Int && isTextField(f)) {
            stmt = m_d.alterColumnType(table, c);
        } else if (c.type == ColType::Text && !m_d.textLengthQuery().isEmpty()) {
            const QVariant len = m_db.scalar(m_d.textLengthQuery(), {table, c.name});
            if (!len.isNull() && len.toInt() > 0 && len.toInt() < c.length)
                stmt = m_d.alterColumnType(table, c);
        }
        if (stmt.isEmpty())
            return false;
        m_report.failedStep = QStringLiteral("column %1.%2").arg(table, c.name);
        m_db.exec(stmt);
        m_report.actions << QStringLiteral("changed the type of %1.%2").arg(table, c.name);
        return true;
    }

    void installIndex(const IndexDef& ix)
    {
        m_report.failedStep = QStringLiteral("index ") + ix.name();
        if (m_db.scalar(m_d.indexExistsQuery(), {ix.name()}).isValid())
            return;
        Transaction tx(m_db);
        if (ix.unique) {
            // Older databases may hold repeated rows; the newest one is the one kept.
            const QString cols = ix.columns.join(',');
            const int removed = m_db.execAffected(
                QStringLiteral("delete from %1 where id not in (select max(id) from %1 group by %2)")
                    .arg(ix.table, cols));
            if (removed > 0)
                m_report.actions << QStringLiteral("removed %1 repeated rows of %2").arg(removed).arg(ix.table);
        }
        m_db.exec(m_d.createIndex(ix));
        tx.commit();
        m_report.actions << QStringLiteral("created index %1").arg(ix.name());
    }

    // A search key only makes searches faster: where the database cannot have one
    // (no full-text module, no trigram extension), the installer notes it and
    // goes on, and the searches scan as they would without it.
    void installSearchKey(const SearchDef& sd)
    {
        const QStringList statements = m_d.createSearchKey(sd);
        if (statements.isEmpty())
            return;
        bool missing = false;
        for (const QString& c : sd.columns)
            if (!m_db.scalar(m_d.searchKeyExistsQuery(), {m_d.searchKeyName(sd.table, c)}).isValid())
                missing = true;
        if (!missing)
            return;
        const QString what = QStringLiteral("%1(%2)").arg(sd.table, sd.columns.join(','));
        try {
            Transaction tx(m_db);
            for (const QString& stmt : statements) {
                // A key of several indexes may be half there (PostgreSQL).
                if (stmt.startsWith(QLatin1String("CREATE INDEX "))) {
                    const QString name = stmt.section(QLatin1Char(' '), 2, 2);
                    if (m_db.scalar(m_d.searchKeyExistsQuery(), {name}).isValid())
                        continue;
                }
                m_db.exec(stmt);
            }
            tx.commit();
            m_report.actions << QStringLiteral("created the search key of %1").arg(what);
        } catch (const DbError& e) {
            m_report.actions << QStringLiteral("no search key for %1: %2").arg(what, e.driverText);
        }
    }

    // Saving a user now refuses a name that is taken, but an older database
    // may already hold one name on several rows.  Which row is the real user
    // is the administrator's decision, so the rows are reported, not merged.
    void reportDuplicateUserNames()
    {
        QSqlQuery q = m_db.exec(QStringLiteral("select us,count(*) from users group by us having count(*)>1 order by us"));
        while (q.next()) {
            const QString name = text(q.value(0));
            m_report.duplicateUserNames << name;
            m_report.warnings << QStringLiteral("the user name \"%1\" is held by %2 users: the oldest logs in; "
                                                "rename or delete the others in the users window")
                                     .arg(name)
                                     .arg(q.value(1).toInt());
        }
    }

    Database& m_db;
    const Dialect& m_d;
    InstallReport m_report;
};

} // namespace

InstallReport installSchema(Database& db)
{
    InstallReport r = Installer(db).run();
    if (r.ok)
        r.failedStep.clear();
    return r;
}

} // namespace tavrin
