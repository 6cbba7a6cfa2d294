#include "sqliteresult.h"

#include "database.h"

#include <QDateTime>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>
#include <QSqlResult>

#include <limits>

#include <sqlite3.h>

namespace tavrin {

namespace {

// The field type the driver gives a column: by its declared type, or by the
// kind of value of its first row when it has none (an expression).
QMetaType fieldType(const char* declared, int kind)
{
    if (declared && *declared) {
        const QByteArray t = QByteArray(declared).toLower();
        if (t == "integer" || t == "int")
            return QMetaType::fromType<int>();
        if (t == "double" || t == "float" || t == "real" || t.startsWith("numeric"))
            return QMetaType::fromType<double>();
        if (t == "blob")
            return QMetaType::fromType<QByteArray>();
        if (t == "boolean" || t == "bool")
            return QMetaType::fromType<bool>();
        return QMetaType::fromType<QString>();
    }
    switch (kind) {
    case SQLITE_INTEGER: return QMetaType::fromType<int>();
    case SQLITE_FLOAT: return QMetaType::fromType<double>();
    case SQLITE_BLOB: return QMetaType::fromType<QByteArray>();
    case SQLITE_TEXT: return QMetaType::fromType<QString>();
    default: return QMetaType();
    }
}

QString sqliteMessage(sqlite3* db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

// Binds one value; "" on success, else why it cannot be bound.
QString bindOne(sqlite3_stmt* stmt, int place, const QVariant& v)
{
    const auto text = [&](const QString& s) -> int {
        if (!storableText(s))
            return SQLITE_MISMATCH;
        const QByteArray utf8 = s.toUtf8();
        return sqlite3_bind_text64(stmt, place, utf8.constData(), sqlite3_uint64(utf8.size()), SQLITE_TRANSIENT,
                                   SQLITE_UTF8);
    };
    int rc = SQLITE_OK;
    if (isNullValue(v)) {
        rc = sqlite3_bind_null(stmt, place);
    } else {
        switch (v.typeId()) {
        case QMetaType::QByteArray: {
            const QByteArray b = v.toByteArray();
            rc = b.isEmpty() ? sqlite3_bind_zeroblob(stmt, place, 0)
                             : sqlite3_bind_blob64(stmt, place, b.constData(), sqlite3_uint64(b.size()), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::LongLong:
            rc = sqlite3_bind_int64(stmt, place, v.toLongLong());
            break;
        case QMetaType::ULong:
        case QMetaType::ULongLong:
            if (v.toULongLong() <= quint64(std::numeric_limits<qint64>::max()))
                rc = sqlite3_bind_int64(stmt, place, v.toLongLong());
            else
                rc = text(v.toString());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(stmt, place, v.toDouble());
            break;
        case QMetaType::QDateTime:
            rc = text(v.toDateTime().toString(Qt::ISODateWithMs));
            break;
        case QMetaType::QTime:
            rc = text(v.toTime().toString(QStringLiteral("hh:mm:ss.zzz")));
            break;
        default:
            if (!v.canConvert<QString>())
                return QStringLiteral("a value of type %1 cannot be bound").arg(QString::fromLatin1(v.typeName()));
            rc = text(v.toString());
            break;
        }
    }
    if (rc == SQLITE_MISMATCH)
        return kUnstorableText;
    if (rc != SQLITE_OK)
        return QStringLiteral("value %1 not bound: %2").arg(place).arg(QString::fromUtf8(sqlite3_errstr(rc)));
    return {};
}

} // namespace

SqlitePrepared::SqlitePrepared(sqlite3* db, const QString& sql, QString* error) : m_db(db)
{
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &m_stmt, nullptr) != SQLITE_OK || !m_stmt)
        *error = sqliteMessage(m_db);
}

SqlitePrepared::~SqlitePrepared()
{
    if (m_stmt)
        sqlite3_finalize(m_stmt);
}

bool SqlitePrepared::run(const QVariantList& values, QString* error)
{
    if (sqlite3_bind_parameter_count(m_stmt) != values.size()) {
        *error = QStringLiteral("Parameter count mismatch");
        return false;
    }
    for (int i = 0; i < values.size(); ++i) {
        const QString why = bindOne(m_stmt, i + 1, values.at(i));
        if (!why.isEmpty()) {
            *error = why;
            sqlite3_clear_bindings(m_stmt);
            return false;
        }
    }
    const int rc = sqlite3_step(m_stmt);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        *error = sqliteMessage(m_db);
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
    return rc == SQLITE_DONE || rc == SQLITE_ROW;
}

// One statement and its current row.  Forward only: the first row is read when
// the statement runs (which tells whether it failed and what its fields are),
// every later one as it is asked for.
class SqliteResult : public QSqlResult {
public:
    SqliteResult(const QSqlDriver* driver, sqlite3* db, std::shared_ptr<SqliteStatements> open)
        : QSqlResult(driver), m_db(db), m_open(std::move(open))
    {
        m_open->add(this);
        setForwardOnly(true);
    }

    ~SqliteResult() override
    {
        finish();
        m_open->remove(this);
    }

    bool run(const QString& sql, const QVariantList& values, QString* error)
    {
        setQuery(sql);
        const QByteArray utf8 = sql.toUtf8();
        const char* tail = nullptr;
        int rc = sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &m_stmt, &tail);
        if (rc != SQLITE_OK) {
            *error = sqliteMessage(m_db) + QStringLiteral(" Unable to execute statement");
            finish();
            return false;
        }
        if (tail && !QByteArray(tail).trimmed().isEmpty()) {
            *error = QStringLiteral("Unable to execute multiple statements at a time");
            finish();
            return false;
        }
        if (!m_stmt) {   // nothing but blanks or a comment
            *error = QStringLiteral("Unable to execute statement: no statement");
            return false;
        }
        if (sqlite3_bind_parameter_count(m_stmt) != values.size()) {
            *error = QStringLiteral("Parameter count mismatch: %1 placeholders for %2 values bound")
                         .arg(sqlite3_bind_parameter_count(m_stmt))
                         .arg(values.size());
            finish();
            return false;
        }
        for (int i = 0; i < values.size(); ++i) {
            const QString why = bindOne(m_stmt, i + 1, values.at(i));
            if (!why.isEmpty()) {
                *error = why;
                finish();
                return false;
            }
        }
        if (!step(&m_row, error)) {
            finish();
            return false;
        }
        m_pendingFirst = m_hasRow;
        // The record: names and the driver's types (the first row's kinds
        // serve columns without a declared type).
        const int columns = sqlite3_column_count(m_stmt);
        for (int i = 0; i < columns; ++i) {
            const int kind = m_hasRow ? m_kinds.value(i) : -1;
            const char* table = sqlite3_column_table_name(m_stmt, i);
            QSqlField f(QString::fromUtf8(sqlite3_column_name(m_stmt, i)).remove(QLatin1Char('"')),
                        fieldType(sqlite3_column_decltype(m_stmt, i), kind),
                        table ? QString::fromUtf8(table).remove(QLatin1Char('"')) : QString());
            f.setSqlType(kind);
            m_record.append(f);
        }
        m_changes = sqlite3_changes(m_db);
        const qint64 id = sqlite3_last_insert_rowid(m_db);
        m_lastId = id ? QVariant(id) : QVariant();
        setSelect(columns > 0);
        setActive(true);
        return true;
    }

    // Ends the statement (its read of the data file with it).
    void finish()
    {
        if (m_stmt)
            sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        m_hasRow = false;
    }

protected:
    QVariant data(int i) override { return m_row.value(i); }
    bool isNull(int i) override { return m_row.value(i).isNull(); }
    bool reset(const QString&) override { return false; }
    bool fetch(int i) override
    {
        if (i == at())
            return at() >= 0;
        return i == at() + 1 && fetchNext();
    }
    bool fetchFirst() override { return at() == QSql::BeforeFirstRow && fetchNext(); }
    bool fetchNext() override
    {
        if (m_pendingFirst) {
            m_pendingFirst = false;
        } else {
            QString error;
            if (!m_hasRow || !step(&m_row, &error)) {
                if (!error.isEmpty())
                    setLastError(QSqlError(QStringLiteral("Unable to fetch row"), error, QSqlError::StatementError));
                m_hasRow = false;
            }
        }
        if (!m_hasRow) {
            setAt(QSql::AfterLastRow);
            return false;
        }
        setAt(at() < 0 ? 0 : at() + 1);
        return true;
    }
    bool fetchLast() override
    {
        // The values of the last row read stay when the statement reaches its end.
        int last = at();
        while (fetchNext())
            last = at();
        if (last < 0)
            return false;
        setAt(last);
        return true;
    }
    int size() override { return -1; }
    int numRowsAffected() override { return m_changes; }
    QSqlRecord record() const override { return m_record; }
    QVariant lastInsertId() const override { return m_lastId; }
    QVariant handle() const override { return QVariant::fromValue(static_cast<void*>(m_stmt)); }
    void detachFromResultSet() override { finish(); }

private:
    // The next row into *row; false at the end (the statement then gives up
    // its read) or on failure (*error set).
    bool step(QVariantList* row, QString* error)
    {
        if (!m_stmt) {
            m_hasRow = false;
            return false;
        }
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_DONE) {
            m_hasRow = false;
            sqlite3_reset(m_stmt);
            return true;
        }
        if (rc != SQLITE_ROW) {
            // The specific message comes with the reset.
            sqlite3_reset(m_stmt);
            *error = sqliteMessage(m_db);
            m_hasRow = false;
            return false;
        }
        m_hasRow = true;
        const int columns = sqlite3_column_count(m_stmt);
        row->resize(columns);
        m_kinds.resize(columns);
        for (int i = 0; i < columns; ++i) {
            const int kind = sqlite3_column_type(m_stmt, i);
            m_kinds[i] = kind;
            switch (kind) {
            case SQLITE_INTEGER:
                (*row)[i] = qlonglong(sqlite3_column_int64(m_stmt, i));
                break;
            case SQLITE_FLOAT:
                (*row)[i] = sqlite3_column_double(m_stmt, i);
                break;
            case SQLITE_BLOB: {
                const void* b = sqlite3_column_blob(m_stmt, i);
                const int n = sqlite3_column_bytes(m_stmt, i);
                (*row)[i] = b ? QByteArray(static_cast<const char*>(b), n) : QByteArray("");
                break;
            }
            case SQLITE_NULL:
                (*row)[i] = QVariant(QMetaType::fromType<QString>());
                break;
            default: {
                const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, i));
                (*row)[i] = utf8Exactly(QByteArrayView(t, sqlite3_column_bytes(m_stmt, i)));
                break;
            }
            }
        }
        return true;
    }

    sqlite3* m_db;
    std::shared_ptr<SqliteStatements> m_open;
    sqlite3_stmt* m_stmt = nullptr;
    QVariantList m_row;
    QList<int> m_kinds;
    bool m_hasRow = false;
    bool m_pendingFirst = false;
    QSqlRecord m_record;
    int m_changes = 0;
    QVariant m_lastId;
};

void SqliteStatements::add(SqliteResult* r)
{
    m_open.append(r);
}

void SqliteStatements::remove(SqliteResult* r)
{
    m_open.removeOne(r);
}

void SqliteStatements::finishAll()
{
    for (SqliteResult* r : std::as_const(m_open))
        r->finish();
}

bool runSqlite(QSqlQuery& q, const QSqlDriver* driver, sqlite3* db, const std::shared_ptr<SqliteStatements>& open,
               const QString& sql, const QVariantList& values, QString* error)
{
    auto* r = new SqliteResult(driver, db, open);
    q = QSqlQuery(r);
    return r->run(sql, values, error);
}

} // namespace tavrin
