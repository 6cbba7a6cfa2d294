#include "schema.h"

#include <QHash>
#include <QRegularExpression>

namespace tavrin {

namespace {

const char* const kSchemaText =
#include "schema.inc"
    ;

ColType parseType(const QString& t)
{
    static const QHash<QString, ColType> types = {
        {"identity", ColType::Identity}, {"bigidentity", ColType::BigIdentity},
        {"int", ColType::Int},           {"bigint", ColType::BigInt},
        {"text", ColType::Text},         {"money", ColType::Money},
        {"float", ColType::Float},       {"bit", ColType::Bit},
        {"blob", ColType::Blob},         {"now", ColType::Now},
        {"today", ColType::Today},       {"timenow", ColType::TimeNow}};
    Q_ASSERT_X(types.contains(t), "schema", qPrintable(t));
    return types.value(t);
}

QVariant parseLiteral(const QString& v)
{
    if (v == QLatin1String("MASK"))
        return QString::fromLatin1(kEmptyDateMask);
    if (v.startsWith('\'') && v.endsWith('\'') && v.size() >= 2)
        return v.mid(1, v.size() - 2);
    if (v.startsWith('@'))
        return v;  // resolved by the installer
    return v.toLongLong();
}

// Splits on blanks, keeping 'quoted text' together.
QStringList tokens(const QString& line)
{
    static const QRegularExpression re(QStringLiteral(R"(([^\s']*'[^']*'|\S+))"));
    QStringList out;
    auto it = re.globalMatch(line);
    while (it.hasNext())
        out << it.next().captured(1);
    return out;
}

Schema parse()
{
    Schema s;
    const QStringList lines = QString::fromUtf8(kSchemaText).split('\n');
    static const QRegularExpression indexRe(QStringLiteral(R"(^(index|unique)\s+(\w+)\(([\w,]+)\)$)"));
    static const QRegularExpression searchRe(QStringLiteral(R"(^search\s+(\w+)\(([\w,]+)\)$)"));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1String("table "))) {
            TableDef t;
            t.name = line.mid(6).trimmed();
            s.tables << t;
            continue;
        }
        if (auto m = indexRe.match(line); m.hasMatch()) {
            IndexDef ix;
            ix.unique = m.captured(1) == QLatin1String("unique");
            ix.table = m.captured(2);
            ix.columns = m.captured(3).split(',');
            s.indexes << ix;
            continue;
        }
        if (auto m = searchRe.match(line); m.hasMatch()) {
            s.searches << SearchDef {m.captured(1), m.captured(2).split(',')};
            continue;
        }
        TableDef& t = s.tables.last();
        const QStringList tok = tokens(line);
        if (tok.first() == QLatin1String("seed")) {
            SeedRow row;
            for (int i = 1; i < tok.size(); ++i) {
                const int eq = tok[i].indexOf('=');
                row.columns << tok[i].left(eq);
                row.values << parseLiteral(tok[i].mid(eq + 1));
            }
            t.seeds << row;
            continue;
        }
        if (tok.first() == QLatin1String("obsolete")) {
            t.obsolete = tok.mid(1);
            continue;
        }
        ColumnDef c;
        c.name = tok[0];
        c.type = parseType(tok[1]);
        int i = 2;
        if (c.type == ColType::Text)
            c.length = tok[i++].toInt();
        for (; i < tok.size(); ++i) {
            const QString& a = tok[i];
            if (a == QLatin1String("+")) {
                c.addedLater = true;
            } else if (a == QLatin1String("date")) {
                c.date = true;
            } else if (a.startsWith('>')) {
                c.references = a.mid(1);
            } else if (a.startsWith(QLatin1String("?="))) {
                c.init = InitKind::NullsTo;
                c.initValue = parseLiteral(a.mid(2));
            } else if (a.startsWith(QLatin1String("=@"))) {
                c.init = InitKind::FromColumn;
                c.initColumn = a.mid(2);
            } else if (a.startsWith('=')) {
                c.init = InitKind::Value;
                c.initValue = parseLiteral(a.mid(1));
            }
        }
        t.columns << c;
    }
    return s;
}

} // namespace

const ColumnDef* TableDef::column(const QString& n) const
{
    for (const ColumnDef& c : columns)
        if (c.name.compare(n, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

QString IndexDef::name() const
{
    return QStringLiteral("ix_%1_%2").arg(table, columns.join('_'));
}

QStringList TableDef::dateColumns() const
{
    QStringList out;
    for (const ColumnDef& c : columns)
        if (c.date)
            out << c.name;
    return out;
}

const TableDef* Schema::table(const QString& n) const
{
    for (const TableDef& t : tables)
        if (t.name == n)
            return &t;
    return nullptr;
}

const SearchDef* Schema::search(const QString& n) const
{
    for (const SearchDef& d : searches)
        if (d.table == n)
            return &d;
    return nullptr;
}

const Schema& schema()
{
    static const Schema s = parse();
    return s;
}

bool isDateColumn(const QString& table, const QString& column)
{
    const TableDef* t = schema().table(table);
    const ColumnDef* c = t ? t->column(column) : nullptr;
    return c && c->date;
}

} // namespace tavrin
