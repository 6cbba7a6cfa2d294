#include "reports/conversion_exports.h"

#include "reports/central_texts.h"

#include "db/database.h"
#include "projects/project_texts.h"

#include <QHash>
#include <QSqlQuery>

namespace tavrin::reports {

using namespace centraltext;

namespace {

// A table of the statement: its alias, its name and the columns it gives
// (all of them when empty), in the order a "select" lists them.
struct Source {
    QString alias;
    QString table;
    QStringList only;
};

struct Definition {
    QList<Source> sources;
    QString from;             // " from ... where <id><>-1"
    QString scopeAlias;       // the table whose province and county scope the rows
    QString order;            // unique tail of the ordering (after province, county, project)
    const QList<ConvertColumn>* columns;
};

const Definition& definition(Conversion c)
{
    static const QHash<int, Definition> defs = [] {
        QHash<int, Definition> d;
        const auto all = QStringList();
        d[int(Conversion::ProjectsUnits)] = {
            {{QStringLiteral("p"), QStringLiteral("projects"), all}, {QStringLiteral("c"), QStringLiteral("customers"), all}},
            QStringLiteral(" from projects p left join customers c on p.id=c.prj_id where p.id<>-1"),
            QStringLiteral("p"), QStringLiteral("p.id, c.id"), &kProjectUnitColumns};
        d[int(Conversion::Parking)] = {
            {{QStringLiteral("s"), QStringLiteral("parkingha"), all},
             {QStringLiteral("a"), QStringLiteral("parking"), {QStringLiteral("customer_id")}}},
            QStringLiteral(" from projects p left join parkingha s on p.id=s.prj_id left join parking a on "
                           "s.id=a.parking_id where p.id<>-1"),
            QStringLiteral("p"), QStringLiteral("p.id, s.id, a.id"), &kSpaceColumns};
        d[int(Conversion::Storage)] = {
            {{QStringLiteral("s"), QStringLiteral("anbariha"), all},
             {QStringLiteral("a"), QStringLiteral("anbari"), {QStringLiteral("customer_id")}}},
            QStringLiteral(" from projects p left join anbariha s on p.id=s.prj_id left join anbari a on "
                           "s.id=a.anbari_id where p.id<>-1"),
            QStringLiteral("p"), QStringLiteral("p.id, s.id, a.id"), &kSpaceColumns};
        d[int(Conversion::Obligations)] = {
            {{QStringLiteral("c"), QStringLiteral("customers"), {QStringLiteral("prot_no")}},
             {QStringLiteral("d"), QStringLiteral("pardakht"), all}},
            QStringLiteral(" from customers c left join pardakht d on c.id=d.customer_id where c.id<>-1"),
            QStringLiteral("c"), QStringLiteral("c.id, d.id"), &kObligationColumns};
        d[int(Conversion::Transactions)] = {
            {{QStringLiteral("c"), QStringLiteral("customers"), {QStringLiteral("nation"), QStringLiteral("prot_no")}},
             {QStringLiteral("d"), QStringLiteral("pardakht"), all}},
            QStringLiteral(" from customers c left join pardakht d on c.id=d.customer_id where c.id<>-1"),
            QStringLiteral("c"), QStringLiteral("c.id, d.id"), &kTransactionColumns};
        d[int(Conversion::Dependants)] = {
            {{QStringLiteral("c"), QStringLiteral("customers"), {QStringLiteral("nation")}},
             {QStringLiteral("t"), QStringLiteral("takafol"), all}},
            QStringLiteral(" from customers c left join takafol t on c.id=t.customer_id where c.id<>-1"),
            QStringLiteral("c"), QStringLiteral("c.id, t.id"), &kDependantColumns};
        return d;
    }();
    return *defs.constFind(int(c));
}

// A result column: where it comes from.
struct Resolved {
    QString alias;
    QString table;
    QString column;
};

// The names the result's columns go by: a column's own name for the first
// table that has it, the name followed by "_1" for the second.
QHash<QString, Resolved> resultNames(const Definition& def)
{
    QHash<QString, Resolved> names;
    QHash<QString, int> seen;
    for (const Source& s : def.sources) {
        QStringList columns = s.only;
        if (columns.isEmpty())
            for (const ColumnDef& c : schema().table(s.table)->columns)
                columns << c.name;
        for (const QString& column : columns) {
            const int n = seen.value(column);
            seen.insert(column, n + 1);
            names.insert(n == 0 ? column : column + QLatin1Char('_') + QString::number(n), {s.alias, s.table, column});
        }
    }
    return names;
}

bool isComputed(const QString& source)
{
    return source.startsWith(QLatin1Char('@'));
}

// The result names a row needs: the keys, then every column's source.
QStringList neededNames(Conversion c)
{
    QStringList names = conversionKeys(c);
    for (const ConvertColumn& col : *definition(c).columns)
        if (!col.source.isEmpty() && !isComputed(col.source) && !names.contains(col.source))
            names << col.source;
    if (c == Conversion::Parking)
        names << QStringLiteral("saghf");
    return names;
}

} // namespace

QString conversionName(Conversion c)
{
    const prjtext::ConvertEntry& e = prjtext::kConvertEntries.at(int(c));
    return e.subCaption.isEmpty() ? e.caption : e.subCaption;
}

QStringList conversionKeys(Conversion c)
{
    switch (c) {
    case Conversion::ProjectsUnits:
        return {QStringLiteral("id"), QStringLiteral("id_1")};
    case Conversion::Parking:
    case Conversion::Storage:
        return {QStringLiteral("prj_id"), QStringLiteral("customer_id")};
    default:
        return {QStringLiteral("customer_id")};
    }
}

HtmlFrame conversionFrame(Conversion c)
{
    const QString name = conversionName(c);
    HtmlFrame f;
    f.title = kConvertTitlePrefix + name;
    f.caption = kConvertCaptionPrefix + name + kConvertCaptionSuffix;
    const QList<ConvertColumn>& cols = *definition(c).columns;
    QStringList targets {cols.first().target};
    QStringList descriptions {cols.first().description};
    targets << conversionKeys(c);
    descriptions << conversionKeys(c);
    for (int i = 1; i < cols.size(); ++i) {
        targets << cols.at(i).target;
        descriptions << cols.at(i).description;
    }
    f.headings << headingRow(targets) << headingRow(descriptions);
    return f;
}

Statement conversionStatement(const Database& db, Conversion c, const ExportScope& scope)
{
    const Definition& def = definition(c);
    const QHash<QString, Resolved> names = resultNames(def);
    QStringList select;
    for (const QString& n : neededNames(c)) {
        const Resolved r = names.value(n);
        select << r.alias + QLatin1Char('.') + r.column;
    }
    Statement s;
    const QString& a = def.scopeAlias;
    s.sql = QStringLiteral("select ") + select.join(QStringLiteral(", ")) + def.from +
            scopeConditions(db, a, scope, s.values) + QStringLiteral(" order by coalesce(") + a +
            QStringLiteral(".ostan,''), coalesce(") + a + QStringLiteral(".shahrestan,''), coalesce(") + a +
            QStringLiteral(".prj_name,''), ") + def.order;
    return s;
}

void writeConversion(Database& db, HtmlTableWriter& w, Conversion c, const ExportScope& scope)
{
    const Definition& def = definition(c);
    const QHash<QString, Resolved> names = resultNames(def);
    const QStringList needed = neededNames(c);
    QList<ColType> types;
    for (const QString& n : needed)
        types << columnType(names.value(n).table, names.value(n).column);
    const QStringList keys = conversionKeys(c);
    const Statement s = conversionStatement(db, c, scope);
    w.begin(conversionFrame(c));
    int n = 0;
    forEachRowOf(db, s.sql, s.values, [&](const QSqlRecord& q) {
        const auto value = [&](const QString& name) {
            const int i = int(needed.indexOf(name));
            return cellText(q.value(i), types.at(i));
        };
        QStringList cells {QString::number(++n)};
        for (const QString& k : keys)
            cells << value(k);
        for (int i = 1; i < def.columns->size(); ++i) {
            const QString& source = def.columns->at(i).source;
            if (source.isEmpty())
                cells << QString();
            else if (source == QLatin1String("@NoeParkingAnbari"))
                cells << (c == Conversion::Parking ? kParkingKind + value(QStringLiteral("saghf")) : kStorageKind);
            else if (source == QLatin1String("@Type"))
                cells << kDeposit;
            else
                cells << value(source);
        }
        w.row(cells);
    });
    w.end();
}

QString exportConversion(Conversion c, ConversionFile file, const ExportScope& scope)
{
    return saveHtmlPage(file == ConversionFile::Web ? kConvertWebFile : kConvertSheetFile,
                        [&](HtmlTableWriter& w) { writeConversion(dm(), w, c, scope); });
}

} // namespace tavrin::reports
