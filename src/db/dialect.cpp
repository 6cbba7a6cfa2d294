#include "dialect.h"

namespace tavrin {

QString Dialect::createTable(const TableDef& t) const
{
    QStringList cols;
    for (const ColumnDef& c : t.columns)
        cols << columnDefinition(c);
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(t.name, cols.join(QStringLiteral(", ")));
}

QString Dialect::addColumn(const QString& table, const ColumnDef& c) const
{
    return QStringLiteral("ALTER TABLE %1 ADD %2").arg(table, columnDefinition(c));
}

QString Dialect::dropColumn(const QString& table, const QString& column) const
{
    return QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(table, column);
}

QString Dialect::createIndex(const IndexDef& ix) const
{
    return QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
        .arg(ix.unique ? QStringLiteral("UNIQUE ") : QString(), ix.name(), ix.table,
             ix.columns.join(','));
}

QString Dialect::literal(const QString& fixedText) const
{
    QString t = fixedText;
    t.replace('\'', QStringLiteral("''"));
    return '\'' + t + '\'';
}

QString Dialect::fold(const QString& expr) const
{
    // ي (U+064A) and ى (U+0649) -> ی (U+06CC); ك (U+0643) -> ک (U+06A9)
    static const QString yeh = QString(QChar(0x06CC)), kaf = QString(QChar(0x06A9));
    return QStringLiteral("replace(replace(replace(%1,%2,%3),%4,%3),%5,%6)")
        .arg(expr, literal(QString(QChar(0x064A))), literal(yeh), literal(QString(QChar(0x0649))),
             literal(QString(QChar(0x0643))), literal(kaf));
}

namespace {

// The letters of Persian text written as one ASCII letter or digit each for the
// trigram indexes of PostgreSQL's search keys.  The Arabic forms of yeh and kaf
// take the letter of the Persian ones, as the searches fold them.  Letters that
// share an ASCII character only make the index less selective: the exact
// condition checks every row it lets through.
struct KeyLetter {
    char16_t letter;
    char ascii;
};
constexpr KeyLetter kKeyLetters[] = {
    {u'ا', 'a'}, {u'آ', 'a'}, {u'أ', 'a'}, {u'إ', 'a'}, {u'ب', 'b'}, {u'پ', 'p'}, {u'ت', 't'}, {u'ث', '1'},
    {u'ج', 'j'}, {u'چ', 'c'}, {u'ح', 'h'}, {u'خ', 'x'}, {u'د', 'd'}, {u'ذ', '2'}, {u'ر', 'r'}, {u'ز', 'z'},
    {u'ژ', '3'}, {u'س', 's'}, {u'ش', '4'}, {u'ص', '5'}, {u'ض', '6'}, {u'ط', '7'}, {u'ظ', '8'}, {u'ع', 'e'},
    {u'غ', 'g'}, {u'ف', 'f'}, {u'ق', 'q'}, {u'ک', 'k'}, {u'ك', 'k'}, {u'گ', '9'}, {u'ل', 'l'}, {u'م', 'm'},
    {u'ن', 'n'}, {u'و', 'v'}, {u'ؤ', 'v'}, {u'ه', 'o'}, {u'ة', 'o'}, {u'ۀ', 'o'}, {u'ی', 'y'}, {u'ي', 'y'},
    {u'ى', 'y'}, {u'ئ', 'y'}, {u'ء', 'u'},
};

QString keyLettersFrom()
{
    QString s;
    for (const KeyLetter& k : kKeyLetters)
        s += QChar(k.letter);
    return s;
}

QString keyLettersTo()
{
    QString s;
    for (const KeyLetter& k : kKeyLetters)
        s += QLatin1Char(k.ascii);
    return s;
}

// The text of a search as the key holds it.
QString keyText(const QString& text)
{
    static const QString from = keyLettersFrom(), to = keyLettersTo();
    QString out = text;
    for (QChar& c : out) {
        const int at = from.indexOf(c);
        if (at >= 0)
            c = to[at];
    }
    return out;
}

bool keyCanHelp(const QString& folded)
{
    return folded.size() >= 3 && !folded.contains(QLatin1Char('%')) && !folded.contains(QLatin1Char('_')) &&
           !folded.contains(QLatin1Char('\\'));
}

class SqliteDialect final : public Dialect {
public:
    Backend backend() const override { return Backend::SQLite; }
    QString qtDriver() const override { return QStringLiteral("QSQLITE"); }
    QString columnType(const ColumnDef& c) const override
    {
        switch (c.type) {
        case ColType::Identity:
        case ColType::BigIdentity: return QStringLiteral("integer PRIMARY KEY AUTOINCREMENT");
        case ColType::Int: return QStringLiteral("int");
        case ColType::BigInt: return QStringLiteral("bigint");
        case ColType::Text: return QStringLiteral("nvarchar(%1)").arg(c.length);
        case ColType::Money: return QStringLiteral("numeric(19,4)");
        case ColType::Float: return QStringLiteral("float");
        case ColType::Bit: return QStringLiteral("bit");
        case ColType::Blob: return QStringLiteral("blob");
        case ColType::Now: return QStringLiteral("datetime DEFAULT (datetime('now','localtime'))");
        case ColType::Today: return QStringLiteral("date DEFAULT (date('now','localtime'))");
        case ColType::TimeNow: return QStringLiteral("time DEFAULT (time('now','localtime'))");
        }
        return {};
    }
    QString alterColumnType(const QString&, const ColumnDef&) const override { return {}; }
    QString indexExistsQuery() const override
    {
        return QStringLiteral("select 1 from sqlite_master where type='index' and name=?");
    }
    QString textLengthQuery() const override { return {}; }
    QString beginStatement() const override { return QStringLiteral("BEGIN IMMEDIATE"); }
    // A deferred transaction in WAL mode keeps the snapshot of its first read.
    QString readSnapshotBegin() const override { return QStringLiteral("BEGIN"); }
    QString identityLastQuery() const override
    {
        return QStringLiteral("select seq from sqlite_sequence where name=?");
    }
    QList<BoundStatement> advanceIdentity(const QString& table, qint64 last) const override
    {
        return {{QStringLiteral("update sqlite_sequence set seq=? where name=? and seq<?"), {last, table, last}},
                {QStringLiteral("insert into sqlite_sequence (name,seq) select ?,? "
                                "where not exists (select 1 from sqlite_sequence where name=?)"),
                 {table, last, table}}};
    }
    QString likely(const QString& condition) const override { return QStringLiteral("likely(%1)").arg(condition); }

    QStringList createSearchKey(const SearchDef& sd) const override
    {
        const QString key = sd.table + QStringLiteral("_srch");
        const auto values = [&](const QString& row) {
            QStringList v;
            for (const QString& c : sd.columns)
                v << fold(row + c);
            return v.join(',');
        };
        const QString cols = sd.columns.join(',');
        const QString insertNew = QStringLiteral("INSERT INTO %1(rowid,%2) VALUES (new.id,%3);").arg(key, cols, values(QStringLiteral("new.")));
        const QString deleteOld = QStringLiteral("INSERT INTO %1(%1,rowid,%2) VALUES ('delete',old.id,%3);").arg(key, cols, values(QStringLiteral("old.")));
        return {
            QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(%2, content='', tokenize='trigram')").arg(key, sd.columns.join(QStringLiteral(", "))),
            QStringLiteral("CREATE TRIGGER %1_ai AFTER INSERT ON %2 BEGIN %3 END").arg(key, sd.table, insertNew),
            QStringLiteral("CREATE TRIGGER %1_ad AFTER DELETE ON %2 BEGIN %3 END").arg(key, sd.table, deleteOld),
            QStringLiteral("CREATE TRIGGER %1_au AFTER UPDATE OF %2 ON %3 BEGIN %4 %5 END").arg(key, cols, sd.table, deleteOld, insertNew),
            QStringLiteral("INSERT INTO %1(rowid,%2) SELECT id,%3 FROM %4").arg(key, cols, values(QString()), sd.table),
        };
    }
    QString searchKeyName(const QString& table, const QString&) const override { return table + QStringLiteral("_srch"); }
    QString searchKeyExistsQuery() const override
    {
        return QStringLiteral("select 1 from sqlite_master where type='table' and name=?");
    }
    std::optional<Prefilter> searchPrefilter(const QString& table, const QString& column, const QString& folded) const override
    {
        if (!keyCanHelp(folded))
            return std::nullopt;
        const QString key = table + QStringLiteral("_srch");
        QString phrase = folded;
        phrase.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        return Prefilter {QStringLiteral("%1.id in (select rowid from %2 where %2 match ?)").arg(table, key),
                          QString(QLatin1Char('{') + column + QStringLiteral("} : \"") + phrase + QLatin1Char('"'))};
    }
};

class PostgresDialect final : public Dialect {
public:
    Backend backend() const override { return Backend::PostgreSQL; }
    QString qtDriver() const override { return QStringLiteral("QPSQL"); }
    QString columnType(const ColumnDef& c) const override
    {
        switch (c.type) {
        case ColType::Identity: return QStringLiteral("integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
        case ColType::BigIdentity: return QStringLiteral("bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
        case ColType::Int: return QStringLiteral("integer");
        case ColType::BigInt: return QStringLiteral("bigint");
        // Text compares byte-wise whatever collation the database was created with.
        case ColType::Text: return QStringLiteral("varchar(%1) COLLATE \"C\"").arg(c.length);
        case ColType::Money: return QStringLiteral("numeric(19,4)");
        case ColType::Float: return QStringLiteral("double precision");
        case ColType::Bit: return QStringLiteral("boolean");
        case ColType::Blob: return QStringLiteral("bytea");
        case ColType::Now: return QStringLiteral("timestamp(0) DEFAULT LOCALTIMESTAMP(0)");
        case ColType::Today: return QStringLiteral("date DEFAULT CURRENT_DATE");
        case ColType::TimeNow: return QStringLiteral("time(0) DEFAULT LOCALTIME(0)");
        }
        return {};
    }
    QString alterColumnType(const QString& table, const ColumnDef& c) const override
    {
        const QString type = columnType(c);
        if (c.type == ColType::Int)  // text numbers of older databases ("12 ", "")
            return QStringLiteral("ALTER TABLE %1 ALTER COLUMN %2 TYPE %3 USING NULLIF(trim(%2::text),'')::integer")
                .arg(table, c.name, type);
        return QStringLiteral("ALTER TABLE %1 ALTER COLUMN %2 TYPE %3").arg(table, c.name, type);
    }
    QString addColumn(const QString& table, const ColumnDef& c) const override
    {
        return QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(table, columnDefinition(c));
    }
    QString indexExistsQuery() const override
    {
        return QStringLiteral("select 1 from pg_indexes where schemaname=current_schema() and indexname=?");
    }
    QString textLengthQuery() const override
    {
        return QStringLiteral("select character_maximum_length from information_schema.columns "
                              "where table_schema=current_schema() and table_name=? and column_name=?");
    }
    QString lockTableStatement(const QString& table) const override
    {
        return QStringLiteral("lock table %1 in share row exclusive mode").arg(table);
    }
    QString readSnapshotBegin() const override
    {
        return QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
    }
    QString identityLastQuery() const override
    {
        return QStringLiteral("select pg_sequence_last_value(pg_get_serial_sequence(?,'id')::regclass)");
    }
    // The session's own last value of the table's sequence: rows other
    // sessions insert meanwhile do not change it.
    QString lastOwnId(const QString& table) const override
    {
        return QStringLiteral("currval(pg_get_serial_sequence('%1','id'))").arg(table);
    }
    QString moneyText(const QString& expr) const override { return QStringLiteral("cast(trim_scale(%1) as varchar)").arg(expr); }
    QList<BoundStatement> advanceIdentity(const QString& table, qint64 last) const override
    {
        if (last < 1)  // a sequence never goes below 1; an untouched one already starts there
            return {};
        return {{QStringLiteral("select setval(pg_get_serial_sequence(?,'id'),?,true)"), {table, last}}};
    }
    // One translate() folds yeh and kaf at a fraction of the cost of nested replace().
    QString fold(const QString& expr) const override
    {
        return QStringLiteral("translate(%1,%2,%3)")
            .arg(expr, literal(QStringLiteral("\u064A\u0649\u0643")), literal(QStringLiteral("\u06CC\u06CC\u06A9")));
    }
    bool nullsFirstAscending() const override { return false; }
    QString materializedAs() const override { return QStringLiteral("as materialized"); }

    QStringList createSearchKey(const SearchDef& sd) const override
    {
        QStringList out {QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm")};
        for (const QString& c : sd.columns)
            out << QStringLiteral("CREATE INDEX %1 ON %2 USING gin ((%3) gin_trgm_ops)")
                       .arg(searchKeyName(sd.table, c), sd.table, keyExpression(c));
        return out;
    }
    QString searchKeyName(const QString& table, const QString& column) const override
    {
        return QStringLiteral("ix_%1_%2_srch").arg(table, column);
    }
    QString searchKeyExistsQuery() const override { return indexExistsQuery(); }
    std::optional<Prefilter> searchPrefilter(const QString& table, const QString& column, const QString& folded) const override
    {
        if (!keyCanHelp(folded))
            return std::nullopt;
        return Prefilter {keyExpression(table + QLatin1Char('.') + column) + QStringLiteral(" like ?"),
                          QString(QLatin1Char('%') + keyText(folded) + QLatin1Char('%'))};
    }

    QString likeCondition(const QString& expr) const override
    {
        return expr + QStringLiteral(" like ? escape ''");
    }

private:
    // The column's text as its key holds it; the same expression in the index and
    // in the searches, so that the planner matches them.
    QString keyExpression(const QString& column) const
    {
        return QStringLiteral("translate(%1,%2,%3)").arg(column, literal(keyLettersFrom()), literal(keyLettersTo()));
    }
};

class SqlServerDialect final : public Dialect {
public:
    Backend backend() const override { return Backend::SqlServer; }
    QString qtDriver() const override { return QStringLiteral("QODBC"); }
    QString columnType(const ColumnDef& c) const override
    {
        switch (c.type) {
        case ColType::Identity: return QStringLiteral("int IDENTITY(1,1) PRIMARY KEY");
        case ColType::BigIdentity: return QStringLiteral("bigint IDENTITY(1,1) PRIMARY KEY");
        case ColType::Int: return QStringLiteral("int");
        case ColType::BigInt: return QStringLiteral("bigint");
        case ColType::Text: return QStringLiteral("nvarchar(%1)").arg(c.length);
        case ColType::Money: return QStringLiteral("decimal(19,4)");
        case ColType::Float: return QStringLiteral("float");
        case ColType::Bit: return QStringLiteral("bit");
        case ColType::Blob: return QStringLiteral("varbinary(max)");
        case ColType::Now: return QStringLiteral("datetime DEFAULT GETDATE()");
        case ColType::Today: return QStringLiteral("date DEFAULT CAST(GETDATE() AS date)");
        case ColType::TimeNow: return QStringLiteral("time(0) DEFAULT CAST(GETDATE() AS time(0))");
        }
        return {};
    }
    QString alterColumnType(const QString& table, const ColumnDef& c) const override
    {
        return QStringLiteral("ALTER TABLE %1 ALTER COLUMN %2 %3").arg(table, c.name, columnType(c));
    }
    QString indexExistsQuery() const override
    {
        return QStringLiteral("select 1 from sys.indexes where name=?");
    }
    QString textLengthQuery() const override
    {
        // nvarchar lengths are reported in characters by information_schema.
        return QStringLiteral("select character_maximum_length from information_schema.columns "
                              "where table_name=? and column_name=?");
    }
    QString pageClause() const override
    {
        return QStringLiteral(" offset ? rows fetch next ? rows only");
    }
    bool pageBindsOffsetFirst() const override { return true; }
    QString lockTableStatement(const QString& table) const override
    {
        return QStringLiteral("select count(*) from %1 with (tablockx, holdlock) where 1=0").arg(table);
    }
    QString literal(const QString& fixedText) const override { return 'N' + Dialect::literal(fixedText); }
    QString likeCondition(const QString& expr) const override
    {
        return expr + QStringLiteral(" COLLATE Latin1_General_BIN2 like ?");
    }
    QString likeText(const QString& typed) const override
    {
        QString t = typed;
        t.replace(QLatin1Char('['), QStringLiteral("[[]"));
        return t;
    }
    QString exactEquals(const QString& column) const override
    {
        return column + QStringLiteral(" COLLATE Latin1_General_BIN2=?");
    }
    // Without the database's snapshot isolation option the reads are only
    // read-committed.
    QString readSnapshotBegin() const override { return QStringLiteral("BEGIN TRANSACTION"); }
    QString identityLastQuery() const override { return QStringLiteral("select IDENT_CURRENT(?)"); }
    QList<BoundStatement> advanceIdentity(const QString& table, qint64 last) const override
    {
        // DBCC takes no bound values; the table is the schema's and the id a number.
        return {{QStringLiteral("DBCC CHECKIDENT ('%1', RESEED, %2)").arg(table).arg(last), {}}};
    }
    QString explicitIdentity(const QString& table, bool on) const override
    {
        return QStringLiteral("SET IDENTITY_INSERT %1 %2").arg(table, on ? QStringLiteral("ON") : QStringLiteral("OFF"));
    }
};

} // namespace

std::unique_ptr<Dialect> Dialect::create(Backend b)
{
    switch (b) {
    case Backend::SQLite: return std::make_unique<SqliteDialect>();
    case Backend::PostgreSQL: return std::make_unique<PostgresDialect>();
    case Backend::SqlServer: return std::make_unique<SqlServerDialect>();
    }
    return nullptr;
}

} // namespace tavrin
