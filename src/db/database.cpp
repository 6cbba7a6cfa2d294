#include "database.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QUuid>

#include <cmath>

Q_LOGGING_CATEGORY(lcDb, "tavrin.db")

namespace tavrin {

QString ConnectionParams::describe() const
{
    switch (backend) {
    case Backend::SQLite: return QStringLiteral("SQLite %1").arg(server);
    case Backend::PostgreSQL: return QStringLiteral("PostgreSQL %1/%2 (%3)").arg(server, database, user);
    case Backend::SqlServer: return QStringLiteral("SQL Server %1/%2 (%3)").arg(server, database, user);
    }
    return {};
}

DbError::DbError(const QString& text, const QString& statement)
    : std::runtime_error(text.toStdString()), driverText(text), sql(statement)
{
}

namespace {
std::unique_ptr<Database> g_dm;

// "host,port" -> host and port (0 when absent).
std::pair<QString, int> splitServer(const QString& server)
{
    const int comma = server.lastIndexOf(',');
    if (comma < 0)
        return {server.trimmed(), 0};
    return {server.left(comma).trimmed(), server.mid(comma + 1).trimmed().toInt()};
}

// ODBC attribute values holding ; or } must be braced.
QString odbcValue(const QString& v)
{
    if (!v.contains(';') && !v.contains('}') && !v.contains('{'))
        return v;
    QString t = v;
    t.replace('}', QStringLiteral("}}"));
    return '{' + t + '}';
}
} // namespace

Database::Database(ConnectionParams params)
    : m_params(std::move(params)), m_dialect(Dialect::create(m_params.backend)),
      m_name(QStringLiteral("tavrin-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

Database::~Database()
{
    close();
}

QSqlDatabase Database::qdb() const
{
    return QSqlDatabase::database(m_name, false);
}

bool Database::open(QString* driverError)
{
    close();
    QSqlDatabase db = QSqlDatabase::addDatabase(m_dialect->qtDriver(), m_name);
    const auto [host, port] = splitServer(m_params.server);
    switch (m_params.backend) {
    case Backend::SQLite:
        if (!m_params.createIfMissing && !QFileInfo::exists(m_params.server)) {
            if (driverError)
                *driverError = QStringLiteral("data file not found: ") + m_params.server;
            return false;
        }
        db.setDatabaseName(m_params.server);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        break;
    case Backend::PostgreSQL:
        db.setHostName(host);
        if (port > 0)
            db.setPort(port);
        db.setDatabaseName(m_params.database);
        db.setUserName(m_params.user);
        db.setPassword(m_params.password);
        db.setConnectOptions(QStringLiteral("connect_timeout=10"));
        break;
    case Backend::SqlServer:
        db.setDatabaseName(QStringLiteral("DRIVER={FreeTDS};SERVER=%1;PORT=%2;DATABASE=%3;UID=%4;PWD=%5;"
                                          "TDS_Version=7.4;ClientCharset=UTF-8;")
                               .arg(odbcValue(host), QString::number(port > 0 ? port : 1433),
                                    odbcValue(m_params.database), odbcValue(m_params.user),
                                    odbcValue(m_params.password)));
        db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=10"));
        break;
    }
    if (!db.open()) {
        const QString err = db.lastError().text();
        qCWarning(lcDb) << "connection failed:" << m_params.describe() << err;
        if (driverError)
            *driverError = err;
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        return false;
    }
    if (m_params.backend == Backend::SQLite) {
        QSqlQuery q(db);
        q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        // LIKE compares letters byte-wise, as on the servers ("abc" does not find "ABC").
        q.exec(QStringLiteral("PRAGMA case_sensitive_like=ON"));
    }
    return true;
}

bool Database::isOpen() const
{
    return QSqlDatabase::contains(m_name) && qdb().isOpen();
}

void Database::close()
{
    if (!QSqlDatabase::contains(m_name))
        return;
    {
        QSqlDatabase db = qdb();
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    m_depth = 0;
    m_failed = false;
    m_searchKeys.clear();
}

QSqlQuery Database::exec(const QString& sql, const QVariantList& values) const
{
    if (!isOpen())
        throw DbError(QStringLiteral("not connected"), sql);
    ++m_statementCount;
    if (m_statementHook)
        m_statementHook(sql);
    QSqlQuery q(qdb());
    q.setForwardOnly(true);
    bool ok;
    if (values.isEmpty()) {
        ok = q.exec(sql);
    } else {
        ok = q.prepare(sql);
        if (ok) {
            for (const QVariant& v : values)
                q.addBindValue(v);
            ok = q.exec();
        }
    }
    if (!ok) {
        const QString err = q.lastError().text();
        qCWarning(lcDb).noquote() << "statement failed:" << err << "\n  " << sql;
        throw DbError(err, sql);
    }
    return q;
}

int Database::execAffected(const QString& sql, const QVariantList& values) const
{
    QSqlQuery q = exec(sql, values);
    return q.numRowsAffected();
}

QVariant Database::scalar(const QString& sql, const QVariantList& values) const
{
    QSqlQuery q = exec(sql, values);
    if (q.next())
        return q.value(0);
    return {};
}

std::optional<QSqlRecord> Database::firstRow(const QString& sql, const QVariantList& values) const
{
    QSqlQuery q = exec(sql, values);
    if (q.next())
        return q.record();
    return std::nullopt;
}

QStringList Database::textColumn(const QString& sql, const QVariantList& values) const
{
    QSqlQuery q = exec(sql, values);
    QStringList out;
    while (q.next())
        out << q.value(0).toString();
    return out;
}

qint64 Database::insert(const QString& table, const QStringList& columns, const QVariantList& values) const
{
    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    QString sql = QStringLiteral("insert into %1 (%2) values (%3)")
                      .arg(table, columns.join(','), marks.join(','));
    switch (m_params.backend) {
    case Backend::PostgreSQL: {
        QSqlQuery q = exec(sql + QStringLiteral(" returning id"), values);
        return q.next() ? q.value(0).toLongLong() : 0;
    }
    case Backend::SqlServer: {
        sql.replace(QStringLiteral(") values ("), QStringLiteral(") output inserted.id values ("));
        QSqlQuery q = exec(sql, values);
        return q.next() ? q.value(0).toLongLong() : 0;
    }
    case Backend::SQLite:
        break;
    }
    QSqlQuery q = exec(sql, values);
    return q.lastInsertId().toLongLong();
}

bool Database::tableExists(const QString& table) const
{
    const QStringList tables = qdb().tables(QSql::Tables);
    for (const QString& t : tables)
        if (t.compare(table, Qt::CaseInsensitive) == 0 || t.endsWith('.' + table, Qt::CaseInsensitive))
            return true;
    return false;
}

bool Database::hasSearchKey(const QString& table, const QString& column) const
{
    const QString name = m_dialect->searchKeyName(table, column);
    if (name.isEmpty())
        return false;
    auto it = m_searchKeys.find(name);
    if (it == m_searchKeys.end()) {
        bool exists = false;
        try {
            exists = scalar(m_dialect->searchKeyExistsQuery(), {name}).isValid();
        } catch (const DbError&) {
        }
        it = m_searchKeys.insert(name, exists);
    }
    return *it;
}

QStringList Database::columns(const QString& table) const
{
    QStringList out;
    const QSqlRecord r = qdb().record(table);
    for (int i = 0; i < r.count(); ++i)
        out << r.fieldName(i);
    return out;
}

void Database::lockTable(const QString& table) const
{
    Q_ASSERT(m_depth > 0);
    const QString lock = m_dialect->lockTableStatement(table);
    if (!lock.isEmpty())
        exec(lock);
}

void Database::begin()
{
    if (m_depth++ > 0)
        return;
    m_failed = false;
    const QString stmt = m_dialect->beginStatement();
    if (!stmt.isEmpty()) {
        exec(stmt);
    } else if (!qdb().transaction()) {
        m_depth = 0;
        const QString err = qdb().lastError().text();
        qCWarning(lcDb) << "begin failed:" << err;
        throw DbError(err, QStringLiteral("BEGIN"));
    }
}

void Database::commit()
{
    Q_ASSERT(m_depth > 0);
    if (--m_depth > 0)
        return;
    if (m_failed) {
        m_failed = false;
        if (m_dialect->beginStatement().isEmpty())
            qdb().rollback();
        else
            exec(QStringLiteral("ROLLBACK"));
        throw DbError(QStringLiteral("an inner step failed; the transaction was rolled back"),
                      QStringLiteral("COMMIT"));
    }
    bool ok = true;
    QString err;
    if (m_dialect->beginStatement().isEmpty()) {
        ok = qdb().commit();
        err = qdb().lastError().text();
    } else {
        try {
            exec(QStringLiteral("COMMIT"));
        } catch (const DbError& e) {
            ok = false;
            err = e.driverText;
        }
    }
    if (!ok) {
        qCWarning(lcDb) << "commit failed:" << err;
        try {
            rollbackOutermost();
        } catch (...) {
        }
        throw DbError(err, QStringLiteral("COMMIT"));
    }
}

void Database::rollback()
{
    if (m_depth == 0)
        return;
    if (--m_depth > 0) {
        m_failed = true;
        return;
    }
    m_failed = false;
    rollbackOutermost();
}

void Database::rollbackOutermost()
{
    if (!isOpen())
        return;
    if (m_dialect->beginStatement().isEmpty()) {
        qdb().rollback();
    } else {
        QSqlQuery q(qdb());
        q.exec(QStringLiteral("ROLLBACK"));
    }
}

Transaction::Transaction(Database& db) : m_db(db)
{
    m_db.begin();
}

Transaction::~Transaction()
{
    if (!m_done) {
        try {
            m_db.rollback();
        } catch (...) {
        }
    }
}

void Transaction::commit()
{
    m_done = true;
    m_db.commit();
}

Database& dm()
{
    if (!g_dm)
        throw DbError(QStringLiteral("no database connection"), QString());
    return *g_dm;
}

bool hasDm()
{
    return g_dm != nullptr;
}

void setDm(std::unique_ptr<Database> db)
{
    g_dm = std::move(db);
}

qint64 toMoney(const QVariant& v)
{
    if (v.isNull())
        return 0;
    bool ok = false;
    const double d = v.toString().toDouble(&ok);
    return ok ? qint64(std::llround(d)) : 0;
}

QString text(const QVariant& v)
{
    // Never a null QString: bound again, a null QString would become SQL NULL.
    return v.isNull() ? QStringLiteral("") : v.toString();
}

} // namespace tavrin
