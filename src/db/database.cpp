#include "database.h"

#include "privatefiles.h"
#include "sqliteresult.h"

#include <atomic>
#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlResult>
#include <QStringDecoder>
#include <QUuid>

#include <cmath>
#include <optional>

#include <dlfcn.h>
#include <poll.h>

Q_LOGGING_CATEGORY(lcDb, "tavrin.db")

namespace tavrin {

namespace {
// Unique across connections, so that a connection opened where a closed one
// was never continues its serials.
quint64 nextTransactionSerial()
{
    static std::atomic<quint64> serial {0};
    return ++serial;
}
} // namespace


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

// SQLite: 64 MB of page cache (the default 2 MB makes a sort of a long list
// read the file again and again) and temporary sorts and indexes in memory
// rather than in temporary files.
const char* const kSqlitePragmas[] = {
    "PRAGMA journal_mode=WAL",
    // LIKE compares letters byte-wise, as on the servers ("abc" does not find "ABC").
    "PRAGMA case_sensitive_like=ON",
    "PRAGMA cache_size=-65536",
    "PRAGMA temp_store=MEMORY",
};

// The few libpq functions the connection check needs, taken from the library
// the PostgreSQL driver has loaded (nothing when it is not loaded).
struct Libpq {
    int (*socket)(const void*) = nullptr;
    int (*consumeInput)(void*) = nullptr;
    int (*status)(const void*) = nullptr;   // 0: CONNECTION_OK
    // For sending several statements as one message.
    void* (*exec)(void*, const char*) = nullptr;
    int (*resultStatus)(const void*) = nullptr;
    char* (*resultError)(const void*) = nullptr;
    char* (*errorMessage)(const void*) = nullptr;
    char* (*cmdStatus)(void*) = nullptr;
    char* (*cmdTuples)(void*) = nullptr;
    int (*ntuples)(const void*) = nullptr;
    int (*getisnull)(const void*, int, int) = nullptr;
    char* (*getvalue)(const void*, int, int) = nullptr;
    void (*clear)(void*) = nullptr;
    // For COPY ... FROM STDIN (BulkInsert).
    int (*putCopyData)(void*, const char*, int) = nullptr;
    int (*putCopyEnd)(void*, const char*) = nullptr;
    void* (*getResult)(void*) = nullptr;
    bool canCopy() const { return canBatch() && putCopyData && putCopyEnd && getResult; }
    bool ok() const { return socket && consumeInput && status; }
    bool canBatch() const
    {
        return ok() && exec && resultStatus && resultError && errorMessage && cmdStatus && cmdTuples && ntuples &&
               getisnull && getvalue && clear;
    }
};

const Libpq& libpq()
{
    // Asked for once a PostgreSQL connection is open: the driver plugin loads
    // libpq privately, so it is found by its name, not in the global scope.
    static const Libpq l = [] {
        Libpq f;
        void* lib = dlopen("libpq.so.5", RTLD_LAZY | RTLD_NOLOAD);
        void* from = lib ? lib : RTLD_DEFAULT;
        f.socket = reinterpret_cast<int (*)(const void*)>(dlsym(from, "PQsocket"));
        f.consumeInput = reinterpret_cast<int (*)(void*)>(dlsym(from, "PQconsumeInput"));
        f.status = reinterpret_cast<int (*)(const void*)>(dlsym(from, "PQstatus"));
        f.exec = reinterpret_cast<void* (*)(void*, const char*)>(dlsym(from, "PQexec"));
        f.resultStatus = reinterpret_cast<int (*)(const void*)>(dlsym(from, "PQresultStatus"));
        f.resultError = reinterpret_cast<char* (*)(const void*)>(dlsym(from, "PQresultErrorMessage"));
        f.errorMessage = reinterpret_cast<char* (*)(const void*)>(dlsym(from, "PQerrorMessage"));
        f.cmdStatus = reinterpret_cast<char* (*)(void*)>(dlsym(from, "PQcmdStatus"));
        f.cmdTuples = reinterpret_cast<char* (*)(void*)>(dlsym(from, "PQcmdTuples"));
        f.ntuples = reinterpret_cast<int (*)(const void*)>(dlsym(from, "PQntuples"));
        f.getisnull = reinterpret_cast<int (*)(const void*, int, int)>(dlsym(from, "PQgetisnull"));
        f.getvalue = reinterpret_cast<char* (*)(const void*, int, int)>(dlsym(from, "PQgetvalue"));
        f.clear = reinterpret_cast<void (*)(void*)>(dlsym(from, "PQclear"));
        f.putCopyData = reinterpret_cast<int (*)(void*, const char*, int)>(dlsym(from, "PQputCopyData"));
        f.putCopyEnd = reinterpret_cast<int (*)(void*, const char*)>(dlsym(from, "PQputCopyEnd"));
        f.getResult = reinterpret_cast<void* (*)(void*)>(dlsym(from, "PQgetResult"));
        return f;
    }();
    return l;
}

// The libpq connection behind a PostgreSQL QSqlDatabase, or nullptr.
void* pgConnection(const QSqlDatabase& db)
{
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    // The driver names the type by libpq's struct (pg_conn*) or its typedef.
    if (qstrcmp(handle.typeName(), "pg_conn*") != 0 && qstrcmp(handle.typeName(), "PGconn*") != 0)
        return nullptr;
    return *static_cast<void* const*>(handle.constData());
}

// Whether a statement answers with nothing but its command tag and count of
// rows, so that statements waiting to be sent can travel in front of it in one
// message (the answer to such a message is the last statement's).
bool answersWithoutRows(const QString& sql)
{
    static const QRegularExpression command(
        QStringLiteral("^\\s*(insert|update|delete|lock|declare|close)\\b"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression returning(QStringLiteral("\\breturning\\b"), QRegularExpression::CaseInsensitiveOption);
    return command.match(sql).hasMatch() && !sql.contains(returning);
}

// The answer of a statement that came back with its command tag only: what
// Database::exec hands back after sending it together with those waiting.
class CommandResult : public QSqlResult {
public:
    CommandResult(const QSqlDriver* driver, const QString& sql, int affected)
        : QSqlResult(driver), m_affected(affected)
    {
        setQuery(sql);
        setSelect(false);
        setActive(true);
        setAt(QSql::BeforeFirstRow);
    }

protected:
    QVariant data(int) override { return {}; }
    bool isNull(int) override { return true; }
    bool reset(const QString&) override { return false; }
    bool fetch(int) override { return false; }
    bool fetchFirst() override { return false; }
    bool fetchLast() override { return false; }
    int size() override { return -1; }
    int numRowsAffected() override { return m_affected; }

private:
    int m_affected;
};

// Calls the protected members of another result (the driver's own).
struct ResultAccess : QSqlResult {
    static QVariant dataOf(QSqlResult* r, int i) { return (r->*(&ResultAccess::data))(i); }
    static QSqlRecord recordOf(const QSqlResult* r) { return (r->*(&ResultAccess::record))(); }
};

// PostgreSQL: the driver's result, with texts read exactly.  The driver reads
// a text with QString::fromUtf8, which drops a leading U+FEFF as a byte-order
// mark; such a text is read again from the bytes the server sent.  Everything
// else is the driver's.
class ExactTextResult : public QSqlResult {
public:
    explicit ExactTextResult(QSqlQuery inner)
        : QSqlResult(inner.driver()), m_q(std::move(inner)), m_r(const_cast<QSqlResult*>(m_q.result()))
    {
        setQuery(m_q.lastQuery());
        setForwardOnly(m_q.isForwardOnly());
        setSelect(m_q.isSelect());
        setActive(m_q.isActive());
        setLastError(m_q.lastError());
        setAt(m_q.at());
    }

    QVariant handle() const override { return m_r->handle(); }

protected:
    QVariant data(int i) override
    {
        QVariant v = ResultAccess::dataOf(m_r, i);
        if (v.typeId() != QMetaType::QString || v.isNull() || !libpq().ntuples || !libpq().getvalue)
            return v;
        const QVariant h = m_r->handle();
        const void* res = h.isValid() ? *static_cast<void* const*>(h.constData()) : nullptr;
        if (!res)
            return v;
        // Read row by row, the driver's result holds the current row alone.
        const int row = libpq().ntuples(res) == 1 ? 0 : at();
        if (row < 0 || row >= libpq().ntuples(res))
            return v;
        const char* raw = libpq().getvalue(res, row, i);
        if (raw && raw[0] == '\xEF' && raw[1] == '\xBB' && raw[2] == '\xBF')
            return utf8Exactly(QByteArrayView(raw));
        return v;
    }
    bool isNull(int i) override { return m_q.isNull(i); }
    bool reset(const QString&) override { return false; }
    bool fetch(int i) override { return moved(m_q.seek(i)); }
    bool fetchNext() override { return moved(m_q.next()); }
    bool fetchPrevious() override { return moved(m_q.previous()); }
    bool fetchFirst() override { return moved(m_q.first()); }
    bool fetchLast() override { return moved(m_q.last()); }
    int size() override { return m_q.size(); }
    int numRowsAffected() override { return m_q.numRowsAffected(); }
    QSqlRecord record() const override { return ResultAccess::recordOf(m_r); }
    QVariant lastInsertId() const override { return m_q.lastInsertId(); }
    void detachFromResultSet() override { m_q.finish(); }

private:
    bool moved(bool ok)
    {
        setAt(m_q.at());
        if (m_q.lastError().isValid())
            setLastError(m_q.lastError());
        return ok;
    }

    QSqlQuery m_q;
    QSqlResult* m_r;
};

// Whether a statement only reads, so that sending it again is harmless.
bool isRead(const QString& sql)
{
    const QString t = sql.trimmed();
    if (t.startsWith(QLatin1String("select"), Qt::CaseInsensitive))
        return true;
    // A "with" statement reads (the list's count and totals) unless it writes.
    static const QRegularExpression writes(QStringLiteral("\\b(insert|update|delete)\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    return t.startsWith(QLatin1String("with"), Qt::CaseInsensitive) && !t.contains(writes);
}

// A text as an escaped PostgreSQL string literal: E'...' with quote and
// backslash doubled, so that its meaning does not depend on the server's
// standard_conforming_strings.  UTF-8 (the connection's encoding) never has a
// quote or backslash byte inside a multi-byte character.
QString pgText(const QString& t, const QString& sql)
{
    if (!storableText(t))
        throw DbError(kUnstorableText, sql);
    QString out;
    out.reserve(t.size() + 4);
    out += QLatin1String("E'");
    for (const QChar c : t) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('\''))
            out += c;
        out += c;
    }
    out += QLatin1Char('\'');
    return out;
}

QString pgLiteral(const QVariant& v, const QString& sql)
{
    if (isNullValue(v))
        return QStringLiteral("NULL");
    const auto quoted = [](const QString& t) -> QString { return QLatin1Char('\'') + t + QLatin1Char('\''); };
    switch (v.typeId()) {
    case QMetaType::Bool:
        return quoted(v.toBool() ? QStringLiteral("true") : QStringLiteral("false"));
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return quoted(v.toString());
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = v.toDouble();
        if (std::isnan(d))
            return quoted(QStringLiteral("NaN"));
        if (std::isinf(d))
            return quoted(d < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity"));
        return quoted(QString::number(d, 'g', QLocale::FloatingPointShortest));
    }
    case QMetaType::QByteArray:
        return QStringLiteral("E'\\\\x") + QString::fromLatin1(v.toByteArray().toHex()) + QLatin1Char('\'');
    case QMetaType::QDate:
        return v.toDate().isValid() ? quoted(v.toDate().toString(Qt::ISODate)) : QStringLiteral("NULL");
    case QMetaType::QTime:
        return v.toTime().isValid() ? quoted(v.toTime().toString(QStringLiteral("hh:mm:ss.zzz"))) : QStringLiteral("NULL");
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        if (!dt.isValid())
            return QStringLiteral("NULL");
        return QStringLiteral("TIMESTAMP WITH TIME ZONE ") +
               quoted(dt.toOffsetFromUtc(dt.offsetFromUtc()).toString(Qt::ISODateWithMs));
    }
    case QMetaType::QString:
        return pgText(v.toString(), sql);
    default:
        if (!v.canConvert<QString>())
            throw DbError(QStringLiteral("a value of type %1 cannot be bound").arg(QString::fromLatin1(v.typeName())), sql);
        return pgText(v.toString(), sql);
    }
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

QString bindInline(const QString& sql, const QVariantList& values)
{
    QString out;
    out.reserve(sql.size() + 16 * values.size());
    qsizetype next = 0;
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // A quoted text or name, to its closing quote (doubled quotes stay
            // inside; in an E'' text a backslash takes the next character).
            const bool escapes = c == QLatin1Char('\'') && i > 0 &&
                                 (sql.at(i - 1) == QLatin1Char('E') || sql.at(i - 1) == QLatin1Char('e'));
            qsizetype j = i + 1;
            for (; j < n; ++j) {
                if (escapes && sql.at(j) == QLatin1Char('\\')) {
                    ++j;
                } else if (sql.at(j) == c) {
                    if (j + 1 < n && sql.at(j + 1) == c)
                        ++j;
                    else
                        break;
                }
            }
            out += QStringView(sql).mid(i, std::min(j, n - 1) - i + 1);
            i = j;
        } else if (c == QLatin1Char('-') && i + 1 < n && sql.at(i + 1) == QLatin1Char('-')) {
            qsizetype j = sql.indexOf(QLatin1Char('\n'), i);
            if (j < 0)
                j = n - 1;
            out += QStringView(sql).mid(i, j - i + 1);
            i = j;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql.at(i + 1) == QLatin1Char('*')) {
            qsizetype j = sql.indexOf(QLatin1String("*/"), i + 2);
            j = j < 0 ? n - 1 : j + 1;
            out += QStringView(sql).mid(i, j - i + 1);
            i = j;
        } else if (c == QLatin1Char('?')) {
            if (next >= values.size())
                throw DbError(QStringLiteral("more placeholders than the %1 values bound").arg(values.size()), sql);
            out += pgLiteral(values.at(next++), sql);
        } else {
            out += c;
        }
    }
    if (next != values.size())
        throw DbError(QStringLiteral("%1 placeholders for %2 values bound").arg(next).arg(values.size()), sql);
    return out;
}

Database::Database(ConnectionParams params)
    : m_params(std::move(params)), m_dialect(Dialect::create(m_params.backend)),
      m_name(QStringLiteral("tavrin-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

Database::~Database()
{
    close();
}

QSqlDatabase Database::conn() const
{
    return QSqlDatabase::database(m_name, false);
}

QSqlDatabase Database::qdb() const
{
    // Whoever runs statements of their own on the connection runs them inside
    // the current transaction: what waits to be sent goes first.
    if (!m_pending.isEmpty())
        sendPending({}, nullptr);
    return conn();
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
        // A new data file is readable by its owner alone from the start (SQLite
        // would create it readable by everyone under the usual umask, and its
        // -wal and -shm files take the data file's mode).
        if (m_params.createIfMissing && !QFileInfo::exists(m_params.server) && m_params.server != QLatin1String(":memory:") &&
            !m_params.server.startsWith(QLatin1String("file:")))
            createOwnerOnlyFile(m_params.server);
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
        // Keepalives notice a dropped network within about a minute even while
        // a statement waits for its answer (TCP connections only).
        // No parallel workers for this connection's statements: on a small
        // office server the workers of one user's count compete with every
        // other user for the same cores (a whole-list count took three times
        // as long with two workers as without).  The setting travels in the
        // connection's start-up message, costing no round trip.
        db.setConnectOptions(QStringLiteral("connect_timeout=10;keepalives_idle=30;keepalives_interval=10;"
                                            "keepalives_count=3;options='-c max_parallel_workers_per_gather=0'"));
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
        for (const char* pragma : kSqlitePragmas)
            q.exec(QString::fromLatin1(pragma));
        const QVariant h = db.driver()->handle();
        if (qstrcmp(h.typeName(), "sqlite3*") == 0)
            m_sqlite = *static_cast<sqlite3* const*>(h.constData());
        m_statements = std::make_shared<SqliteStatements>();
    }
    m_opened = true;
    return true;
}

bool Database::isOpen() const
{
    return QSqlDatabase::contains(m_name) && conn().isOpen();
}

void Database::close()
{
    m_opened = false;
    // Statements a caller still holds end first: SQLite closes no connection
    // with statements open.
    if (m_statements)
        m_statements->finishAll();
    m_statements.reset();
    m_sqlite = nullptr;
    if (!QSqlDatabase::contains(m_name))
        return;
    {
        QSqlDatabase db = conn();
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    m_depth = 0;
    m_failed = false;
    m_pending.clear();
    m_begun = false;
    m_txSerial = nextTransactionSerial();
    m_searchKeys.clear();
}

bool Database::connectionLost() const
{
    if (!QSqlDatabase::contains(m_name))
        return false;
    const QSqlDatabase db = conn();
    if (!db.isOpen())
        return true;
    if (m_params.backend != Backend::PostgreSQL || !libpq().ok())
        return false;
    // An idle connection the server closed (a restart, an administrator)
    // has its last message and the end of the stream waiting on the socket;
    // reading them tells libpq the connection is gone.
    const QVariant handle = db.driver()->handle();
    if (qstrcmp(handle.typeName(), "pg_conn*") != 0 && qstrcmp(handle.typeName(), "PGconn*") != 0)
        return false;
    void* conn = pgConnection(db);
    if (!conn)
        return true;
    pollfd p {libpq().socket(conn), POLLIN, 0};
    if (p.fd < 0)
        return true;
    // The server's last message may be read before the end of the stream
    // behind it: read while anything waits (a few times at most).  Once a
    // message came on the idle connection, wait a moment for the end of the
    // stream: the server sends its farewell ("terminating connection") a
    // little before its process closes the socket, and a statement sent in
    // between would be lost with it.  Nothing waiting costs no time.
    for (int i = 0; i < 4 && libpq().status(conn) == 0; ++i) {
        if (poll(&p, 1, i == 0 ? 0 : 100) <= 0 || !(p.revents & (POLLIN | POLLHUP | POLLERR)))
            break;
        if (!libpq().consumeInput(conn))
            break;
    }
    return libpq().status(conn) != 0;
}

bool Database::reopen(QString* error) const
{
    auto* self = const_cast<Database*>(this);
    qCWarning(lcDb) << "connection lost; opening it again:" << m_params.describe();
    // A transaction none of which reached the server goes on, whole, on the new
    // connection.
    const int depth = m_depth;
    const bool failed = m_failed;
    const QStringList pending = m_pending;
    const bool unsent = depth > 0 && !m_begun;
    if (!self->open(error))
        return false;
    if (unsent) {
        self->m_depth = depth;
        self->m_failed = failed;
        m_pending = pending;
    }
    ++m_reconnects;
    return true;
}

bool Database::deferring() const
{
    return m_params.backend == Backend::PostgreSQL && m_dialect->beginStatement().isEmpty() && libpq().canBatch();
}

void Database::healConnection() const
{
    // Inside a transaction only while none of it has reached the server.
    const bool unsent = m_depth > 0 && !m_begun && !m_pending.isEmpty();
    if ((m_depth > 0 && !unsent) || !m_opened || !connectionLost())
        return;
    QString why;
    if (!reopen(&why))
        throw DbError(QStringLiteral("not connected: ") + why, QString());
}

bool Database::run(QSqlQuery& q, const QString& sql, const QVariantList& values, QString* error) const
{
    if (m_params.backend == Backend::SQLite && m_sqlite) {
        // Texts bound and read as UTF-8 (see sqliteresult.h).
        return runSqlite(q, conn().driver(), m_sqlite, m_statements, sql, values, error);
    }
    q = QSqlQuery(conn());
    q.setForwardOnly(true);
    bool ok;
    if (m_params.backend == Backend::PostgreSQL) {
        // One message, one round trip: the driver would send PREPARE, EXECUTE
        // and DEALLOCATE, each waiting for the server's answer.
        ok = q.exec(values.isEmpty() ? sql : bindInline(sql, values));
        if (ok)
            q = QSqlQuery(new ExactTextResult(std::move(q)));
    } else if (values.isEmpty()) {
        ok = q.exec(sql);
    } else {
        ok = q.prepare(sql);
        if (ok) {
            for (const QVariant& v : values)
                q.addBindValue(v);
            ok = q.exec();
        }
    }
    if (!ok)
        *error = q.lastError().text();
    return ok;
}

void Database::announce(const QString& sql) const
{
    if (!m_opened || !QSqlDatabase::contains(m_name))
        throw DbError(QStringLiteral("not connected"), sql);
    ++m_statementCount;
    if (m_statementHook)
        m_statementHook(sql);
    healConnection();
    if (!isOpen())
        throw DbError(QStringLiteral("not connected"), sql);
}

bool Database::runBatch(const QString& text, BatchAnswer* answer, QString* error) const
{
    void* c = pgConnection(conn());
    if (!c) {
        *error = QStringLiteral("not connected");
        return false;
    }
    const QByteArray utf8 = text.toUtf8();
    // Several statements in one message: the server runs them in order and
    // stops at the first that fails; the answer is the last one's, or the error.
    void* r = libpq().exec(c, utf8.constData());
    if (!r) {
        *error = QString::fromUtf8(libpq().errorMessage(c)).trimmed();
        return false;
    }
    const int status = libpq().resultStatus(r);
    const bool ok = status == 1 /* PGRES_COMMAND_OK */ || status == 2 /* PGRES_TUPLES_OK */;
    if (ok) {
        answer->status = QString::fromLatin1(libpq().cmdStatus(r));
        answer->affected = QByteArray(libpq().cmdTuples(r)).toInt();
        if (status == 2 && libpq().ntuples(r) > 0 && !libpq().getisnull(r, 0, 0))
            answer->firstValue = QString::fromUtf8(libpq().getvalue(r, 0, 0));
    } else {
        *error = QString::fromUtf8(libpq().resultError(r)).trimmed();
        if (error->isEmpty())
            *error = QString::fromUtf8(libpq().errorMessage(c)).trimmed();
    }
    libpq().clear(r);
    return ok;
}

Database::BatchAnswer Database::sendPending(const QString& last, const QString* sql) const
{
    QStringList parts = m_pending;
    if (!last.isEmpty())
        parts << last;
    m_pending.clear();
    const bool withBegin = !m_begun;
    // A newline, not only a semicolon, between them: a statement may end in a comment.
    const QString text = parts.join(QStringLiteral(";\n"));
    BatchAnswer answer;
    QString err;
    for (int attempt = 0;; ++attempt) {
        if (runBatch(text, &answer, &err)) {
            m_begun = true;
            return answer;
        }
        // Cut off before its BEGIN was answered: nothing of the transaction
        // stayed on the server, so it is sent again, once, on a new connection.
        if (attempt > 0 || !withBegin || !connectionLost())
            break;
        m_begun = false;
        QString why;
        if (!reopen(&why)) {
            err = why;
            break;
        }
    }
    // The BEGIN may have run before the statement that failed: the rollback
    // that follows is sent.
    m_begun = true;
    const QString failed = sql ? *sql : parts.value(0);
    qCWarning(lcDb).noquote() << "statement failed:" << err << "\n  " << failed;
    throw DbError(err, failed);
}

void Database::execLater(const QString& sql, const QVariantList& values) const
{
    if (m_depth == 0 || !deferring()) {
        exec(sql, values);
        return;
    }
    announce(sql);
    m_pending << (values.isEmpty() ? sql : bindInline(sql, values));
}

QSqlQuery Database::exec(const QString& sql, const QVariantList& values) const
{
    announce(sql);
    if (!m_pending.isEmpty()) {
        // The transaction's BEGIN or writes wait: a statement answering with
        // its count only travels with them; one answering with rows follows them.
        const QString bound = values.isEmpty() ? sql : bindInline(sql, values);
        if (answersWithoutRows(sql)) {
            const BatchAnswer a = sendPending(bound, &sql);
            return QSqlQuery(new CommandResult(conn().driver(), bound, a.affected));
        }
        sendPending({}, &sql);
    }
    QSqlQuery q;
    QString err;
    if (run(q, sql, values, &err))
        return q;
    if (m_depth == 0 && isRead(sql) && connectionLost()) {
        // The connection went while the statement was on its way: a read is
        // sent once more on a new connection.
        q = QSqlQuery();
        QString why;
        if (reopen(&why) && run(q, sql, values, &err))
            return q;
        if (!why.isEmpty())
            err = why;
    }
    qCWarning(lcDb).noquote() << "statement failed:" << err << "\n  " << sql;
    throw DbError(err, sql);
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

QVariant Database::scalarText(const QString& sql, const QVariantList& values) const
{
    if (m_pending.isEmpty()) {
        const QVariant v = scalar(sql, values);
        return v.isNull() ? QVariant() : QVariant(v.toString());
    }
    announce(sql);
    return sendPending(values.isEmpty() ? sql : bindInline(sql, values), &sql).firstValue;
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
        if (!m_pending.isEmpty()) {
            // With what waits, in one message; the new id is all the answer needed.
            const QString returning = sql + QStringLiteral(" returning id");
            announce(returning);
            return sendPending(bindInline(returning, values), &returning).firstValue.toLongLong();
        }
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

namespace {

// The result's record is built once per statement and its values filled per
// row: asking the driver for a whole record per row costs more than the row
// itself on a wide list (the field names and types are made again every time).
// A visitor that keeps a row keeps a copy of its own (QSqlRecord is shared and
// copied on the next fill).
const QSqlRecord& fillRecord(QSqlRecord& r, const QSqlQuery& q)
{
    for (int i = 0, n = r.count(); i < n; ++i)
        r.setValue(i, q.value(i));
    return r;
}

} // namespace

void Database::forEachRow(const QString& sql, const QVariantList& values,
                          const std::function<void(const QSqlRecord&)>& visit,
                          const std::function<void(const QSqlRecord&)>& fields, int batch)
{
    RowReader reader(*this, sql, values, batch);
    if (fields)
        fields(reader.fields());
    while (const QSqlRecord* row = reader.next())
        visit(*row);
}

Database::RowReader::RowReader(Database& db, const QString& sql, const QVariantList& values, int batch)
    : m_db(db), m_batch(std::max(batch, 1))
{
    if (db.m_params.backend != Backend::PostgreSQL) {
        // SQLite steps through the result as it is read.
        m_query = db.exec(sql, values);
        m_record = m_query.record();
        return;
    }
    // A cursor lives in a transaction: the read's own, or the caller's.
    if (db.m_depth == 0)
        m_tx.emplace(db);
    m_cursor = QStringLiteral("tavrin_rows_%1").arg(++db.m_cursors);
    db.exec(QStringLiteral("declare ") + m_cursor + QStringLiteral(" no scroll cursor for ") + sql, values);
    m_cursorOpen = true;
    // Small first batches show the first rows soon; later ones save round trips.
    m_size = std::min(m_batch, 500);
    try {
        fetch();
    } catch (const DbError&) {
        if (!m_tx) {
            try {
                db.exec(QStringLiteral("close ") + m_cursor);
            } catch (const DbError&) {
            }
        }
        throw;
    }
    m_record = m_query.record();
}

Database::RowReader::~RowReader()
{
    if (m_ended || !m_cursorOpen)
        return;
    m_query = QSqlQuery();
    if (!m_tx) {
        try {
            m_db.exec(QStringLiteral("close ") + m_cursor);
        } catch (const DbError&) {
        }
    }
    // An own transaction rolls back with m_tx, and its cursor with it.
}

void Database::RowReader::fetch()
{
    ++m_db.m_statementCount;
    const QString fetch = QStringLiteral("fetch forward %1 from %2").arg(m_size).arg(m_cursor);
    if (m_db.m_statementHook)
        m_db.m_statementHook(fetch);
    // The whole batch arrives in one answer, so the caller may run statements
    // of its own between rows.
    QSqlQuery q(m_db.conn());
    if (!q.exec(fetch)) {
        const QString err = q.lastError().text();
        qCWarning(lcDb).noquote() << "statement failed:" << err << "\n  " << fetch;
        throw DbError(err, fetch);
    }
    m_query = QSqlQuery(new ExactTextResult(std::move(q)));
    m_got = 0;
}

const QSqlRecord* Database::RowReader::next()
{
    if (m_ended)
        return nullptr;
    if (!m_cursorOpen) {
        if (m_query.next())
            return &fillRecord(m_record, m_query);
        m_ended = true;
        m_query = QSqlQuery();
        return nullptr;
    }
    if (!m_query.next()) {
        if (m_got < m_size) {
            end();
            return nullptr;
        }
        m_size = std::min(m_batch, m_size * 2);
        fetch();
        if (!m_query.next()) {
            end();
            return nullptr;
        }
    }
    ++m_got;
    return &fillRecord(m_record, m_query);
}

void Database::RowReader::end()
{
    m_ended = true;
    m_query = QSqlQuery();
    if (m_tx)
        m_tx->commit();   // ends the cursor with the transaction
    else
        m_db.exec(QStringLiteral("close ") + m_cursor);
}

bool Database::tableExists(const QString& table) const
{
    const QStringList tables = conn().tables(QSql::Tables);
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
    const QSqlRecord r = conn().record(table);
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
    if (m_depth > 0) {
        ++m_depth;
        return;
    }
    m_failed = false;
    m_pending.clear();
    m_begun = false;
    m_txSerial = nextTransactionSerial();
    // The depth counts only a transaction that began: a BEGIN that failed
    // leaves none to end.
    const QString stmt = m_dialect->beginStatement();
    if (!stmt.isEmpty()) {
        exec(stmt);
    } else if (deferring()) {
        // Sent with the transaction's first statement.
        healConnection();
        if (!isOpen())
            throw DbError(QStringLiteral("not connected"), QStringLiteral("BEGIN"));
        m_pending << QStringLiteral("BEGIN");
    } else {
        healConnection();
        bool ok = conn().transaction();
        if (!ok && connectionLost()) {
            QString why;
            ok = reopen(&why) && conn().transaction();
        }
        if (!ok) {
            const QString err = conn().lastError().text();
            qCWarning(lcDb) << "begin failed:" << err;
            throw DbError(err.isEmpty() ? QStringLiteral("not connected") : err, QStringLiteral("BEGIN"));
        }
    }
    m_depth = 1;
}

void Database::commit()
{
    Q_ASSERT(m_depth > 0);
    if (--m_depth > 0)
        return;
    if (m_failed) {
        m_failed = false;
        if (m_dialect->beginStatement().isEmpty())
            rollbackOutermost();
        else
            exec(QStringLiteral("ROLLBACK"));
        throw DbError(QStringLiteral("an inner step failed; the transaction was rolled back"),
                      QStringLiteral("COMMIT"));
    }
    bool ok = true;
    QString err;
    if (!m_pending.isEmpty()) {
        const bool sentNothing = !m_begun && m_pending.size() == 1;
        if (sentNothing) {
            // Nothing was done: nothing to commit.
            m_pending.clear();
            return;
        }
        // The writes still waiting and the COMMIT, in one message.
        const QString commitSql = QStringLiteral("COMMIT");
        try {
            // A transaction the server had already ended with an error answers
            // the COMMIT with ROLLBACK.
            if (sendPending(commitSql, &commitSql).status != commitSql) {
                ok = false;
                err = QStringLiteral("the server rolled the transaction back");
            }
        } catch (const DbError& e) {
            ok = false;
            err = e.driverText;
        }
        if (ok)
            m_begun = false;
    } else if (m_dialect->beginStatement().isEmpty()) {
        ok = conn().commit();
        err = conn().lastError().text();
        m_begun = false;
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
    // A transaction none of which reached the server has nothing to undo; the
    // writes still waiting are dropped with it.
    const bool unsent = !m_begun && !m_pending.isEmpty();
    m_pending.clear();
    m_begun = false;
    if (unsent || !isOpen())
        return;
    if (m_dialect->beginStatement().isEmpty()) {
        conn().rollback();
    } else {
        QSqlQuery q(conn());
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

const QString kUnstorableText = QStringLiteral("a text value holds a NUL character or a lone surrogate");

bool isNullValue(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return true;
    switch (v.typeId()) {
    case QMetaType::QString: return static_cast<const QString*>(v.constData())->isNull();
    case QMetaType::QByteArray: return static_cast<const QByteArray*>(v.constData())->isNull();
    case QMetaType::QDate: return !v.toDate().isValid();
    case QMetaType::QTime: return !v.toTime().isValid();
    case QMetaType::QDateTime: return !v.toDateTime().isValid();
    default: return false;
    }
}

bool storableText(QStringView t)
{
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c.unicode() == 0 || c.isLowSurrogate())
            return false;
        if (c.isHighSurrogate()) {
            if (i + 1 == t.size() || !t[i + 1].isLowSurrogate())
                return false;
            ++i;
        }
    }
    return true;
}

QString utf8Exactly(QByteArrayView utf8)
{
    static constexpr char kBom[] = "\xEF\xBB\xBF";
    if (utf8.isEmpty())
        return QStringLiteral("");  // never a null text, which would bind as NULL again
    if (!utf8.startsWith(QByteArrayView(kBom, 3)))
        return QString::fromUtf8(utf8);
    QStringDecoder decode(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decode(utf8);
}

qint64 toMoney(const QVariant& v)
{
    if (v.isNull())
        return 0;
    bool ok = false;
    const double d = v.toString().toDouble(&ok);
    return ok ? qint64(std::llround(d)) : 0;
}

QString cutToLength(const QString& s, qsizetype n)
{
    if (s.size() <= n)
        return s;
    n = std::max<qsizetype>(n, 0);
    if (n > 0 && s.at(n - 1).isHighSurrogate() && s.at(n).isLowSurrogate())
        --n;
    return s.left(n);
}

QString text(const QVariant& v)
{
    // Never a null QString: bound again, a null QString would become SQL NULL.
    return v.isNull() ? QStringLiteral("") : v.toString();
}

} // namespace tavrin

namespace tavrin {

bool appendCopyField(QByteArray& line, const QVariant& v, QString* why)
{
    if (isNullValue(v)) {
        line += "\\N";
        return true;
    }
    const auto escaped = [&](const QByteArray& utf8) {
        for (const char c : utf8) {
            switch (c) {
            case '\\': line += "\\\\"; break;
            case '\t': line += "\\t"; break;
            case '\n': line += "\\n"; break;
            case '\r': line += "\\r"; break;
            default: line += c;
            }
        }
    };
    switch (v.typeId()) {
    case QMetaType::Bool:
        line += v.toBool() ? "t" : "f";
        return true;
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar:
        line += QByteArray::number(v.toLongLong());
        return true;
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        line += QByteArray::number(v.toULongLong());
        return true;
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = v.toDouble();
        if (std::isnan(d))
            line += "NaN";
        else if (std::isinf(d))
            line += d < 0 ? "-Infinity" : "Infinity";
        else
            line += QString::number(d, 'g', QLocale::FloatingPointShortest).toLatin1();
        return true;
    }
    case QMetaType::QByteArray:
        // bytea's own text form (\x and hex), its backslash escaped for COPY.
        line += "\\\\x";
        line += v.toByteArray().toHex();
        return true;
    case QMetaType::QDate:
        line += v.toDate().toString(Qt::ISODate).toLatin1();
        return true;
    case QMetaType::QTime:
        line += v.toTime().toString(QStringLiteral("hh:mm:ss.zzz")).toLatin1();
        return true;
    case QMetaType::QDateTime:
        // exec binds a moment with its offset, which COPY into a column
        // without a time zone would drop.
        *why = QStringLiteral("a date and time cannot be copied in bulk");
        return false;
    default: {
        if (!v.canConvert<QString>()) {
            *why = QStringLiteral("a value of type %1 cannot be bound").arg(QString::fromLatin1(v.typeName()));
            return false;
        }
        const QString t = v.toString();
        if (!storableText(t)) {
            *why = kUnstorableText;
            return false;
        }
        escaped(t.toUtf8());
        return true;
    }
    }
}

struct BulkInsert::Impl {
    const Database& db;
    QString sql;           // the statement, for errors
    enum class Way { Copy, Sqlite, Query } way = Way::Query;
    // COPY
    void* pg = nullptr;
    QByteArray buffer;
    bool copying = false;
    // SQLite
    std::unique_ptr<SqlitePrepared> prepared;
    // others
    QSqlQuery query;
    int columns = 0;

    explicit Impl(const Database& d) : db(d) {}

    void flush()
    {
        if (buffer.isEmpty())
            return;
        if (libpq().putCopyData(pg, buffer.constData(), int(buffer.size())) != 1)
            throw DbError(QString::fromUtf8(libpq().errorMessage(pg)).trimmed(), sql);
        buffer.clear();
    }

    // Ends the COPY; the server's error, if any.
    QString end(const char* abandon)
    {
        copying = false;
        QString error;
        if (libpq().putCopyEnd(pg, abandon) != 1)
            error = QString::fromUtf8(libpq().errorMessage(pg)).trimmed();
        while (void* r = libpq().getResult(pg)) {
            if (error.isEmpty() && libpq().resultStatus(r) != 1 /* PGRES_COMMAND_OK */)
                error = QString::fromUtf8(libpq().resultError(r)).trimmed();
            libpq().clear(r);
        }
        return error;
    }
};

BulkInsert::BulkInsert(const Database& db, const QString& table, const QStringList& columns)
    : d(std::make_unique<Impl>(db))
{
    d->columns = int(columns.size());
    const bool pg = db.backend() == Backend::PostgreSQL && libpq().canCopy();
    if (pg) {
        d->sql = QStringLiteral("COPY %1 (%2) FROM STDIN").arg(table, columns.join(','));
    } else {
        QStringList marks(columns.size(), QStringLiteral("?"));
        d->sql = QStringLiteral("insert into %1 (%2) values (%3)").arg(table, columns.join(','), marks.join(','));
    }
    db.announce(d->sql);
    if (pg) {
        // The transaction's BEGIN and what waits go first.
        if (!db.m_pending.isEmpty())
            db.sendPending({}, &d->sql);
        d->pg = pgConnection(db.conn());
        if (!d->pg)
            throw DbError(QStringLiteral("not connected"), d->sql);
        d->way = Impl::Way::Copy;
        void* r = libpq().exec(d->pg, d->sql.toUtf8().constData());
        const int status = r ? libpq().resultStatus(r) : -1;
        const QString error = r ? QString::fromUtf8(libpq().resultError(r)).trimmed()
                                : QString::fromUtf8(libpq().errorMessage(d->pg)).trimmed();
        if (r)
            libpq().clear(r);
        if (status != 4 /* PGRES_COPY_IN */)
            throw DbError(error, d->sql);
        d->copying = true;
        return;
    }
    if (db.backend() == Backend::SQLite && db.m_sqlite) {
        d->way = Impl::Way::Sqlite;
        QString error;
        d->prepared = std::make_unique<SqlitePrepared>(db.m_sqlite, d->sql, &error);
        if (!error.isEmpty())
            throw DbError(error, d->sql);
        return;
    }
    d->query = QSqlQuery(db.qdb());
    if (!d->query.prepare(d->sql))
        throw DbError(d->query.lastError().text(), d->sql);
}

BulkInsert::~BulkInsert()
{
    if (d->copying) {
        const QString error = d->end("the copy was abandoned");
        Q_UNUSED(error);
    }
}

void BulkInsert::add(const QVariantList& values)
{
    if (values.size() != d->columns)
        throw DbError(QStringLiteral("%1 values for %2 columns").arg(values.size()).arg(d->columns), d->sql);
    switch (d->way) {
    case Impl::Way::Copy: {
        if (!d->copying)
            throw DbError(QStringLiteral("the copy has ended"), d->sql);
        const qsizetype mark = d->buffer.size();
        for (int i = 0; i < values.size(); ++i) {
            if (i)
                d->buffer += '\t';
            QString why;
            if (!appendCopyField(d->buffer, values.at(i), &why)) {
                d->buffer.truncate(mark);
                throw DbError(why, d->sql);
            }
        }
        d->buffer += '\n';
        if (d->buffer.size() >= 256 * 1024)
            d->flush();
        return;
    }
    case Impl::Way::Sqlite: {
        QString error;
        if (!d->prepared->run(values, &error))
            throw DbError(error, d->sql);
        return;
    }
    case Impl::Way::Query:
        for (int i = 0; i < values.size(); ++i)
            d->query.bindValue(i, values.at(i));
        if (!d->query.exec())
            throw DbError(d->query.lastError().text(), d->sql);
        return;
    }
}

void BulkInsert::finish()
{
    if (d->way != Impl::Way::Copy || !d->copying)
        return;
    try {
        d->flush();
    } catch (const DbError&) {
        d->end("the copy failed");
        throw;
    }
    const QString error = d->end(nullptr);
    if (!error.isEmpty())
        throw DbError(error, d->sql);
}

} // namespace tavrin
