#include "reports/central_reports.h"

#include "reports/central_texts.h"
#include "reports/project_reports.h"
#include "reports/report_layouts.h"
#include "reports/report_texts.h"

#include "common/dialogs.h"
#include "common/jalali.h"
#include "common/listquery.h"
#include "common/session.h"
#include "common/xlsxexport.h"
#include "db/database.h"
#include "projects/project_src_u.h"
#include "projects/project_texts.h"

#include <QHash>
#include <QSqlQuery>
#include <QTime>

namespace tavrin::reports {

using namespace centraltext;

const QString kSelectProject = QString::fromUtf16(u"ابتدا يک پروژه را در ليست انتخاب کنيد");

namespace {

// Box headings of the cover sheet (the system's own).
const QString kBoxReport = QString::fromUtf16(u"مشخصات گزارش");
const QString kBoxUnits = QString::fromUtf16(u"پروژه ها و واحدها");
const QString kBoxInstalments = QString::fromUtf16(u"تقسيط و تسويه حساب با بانک عامل");

const QString kCurrentBuyer = QStringLiteral("not (") + dateIsSet(QStringLiteral("transport_dat")) + ')';

// An absent number: NULL or "".
QString absent(const QString& column)
{
    return QStringLiteral("(") + column + QStringLiteral(" is null or ") + column + QStringLiteral("='')");
}

QString countIf(const QString& condition)
{
    return QStringLiteral("sum(case when ") + condition + QStringLiteral(" then 1 else 0 end)");
}

// "<alias>prj_id in (the projects of the province)"; binds the province.
QString inProvince(const Database& db, const QString& column)
{
    return column + QStringLiteral(" in (select id from projects where ") + db.dialect().exactEquals(QStringLiteral("ostan")) +
           ')';
}

QString year(int y)
{
    return QString::number(y);
}

QHash<QString, QString> headingMap(std::initializer_list<const QList<QPair<QString, QString>>*> lists)
{
    QHash<QString, QString> h;
    for (const auto* list : lists)
        for (const auto& [field, heading] : *list)
            if (!h.contains(field))
                h.insert(field, heading);
    return h;
}

const QStringList& unitColumns()
{
    static const QStringList c = QString::fromLatin1("karbari,bolok,tabaghe,vahed_no,shenase,metraj,jahat,mablagh,vam,"
                                                     "teras,teras1,takhfif,mablagh1,ekhtesasi,moshtarak,otagh,vahed_typ,"
                                                     "hayat,hayat1,metraj_z")
                                     .split(',');
    return c;
}

const QStringList& spaceColumns()
{
    static const QStringList c = QString::fromLatin1("num,metraj,pos,mablagh,mablagh1,bolok").split(',');
    return c;
}

enum Group { ProjectGroup, UnitGroup, ApplicantGroup, StorageGroup, ParkingGroup };

QList<ListingColumn> groupColumns(Group g)
{
    QList<ListingColumn> out;
    switch (g) {
    case ProjectGroup: {
        const auto h = headingMap({&prjtext::kWebHeadings, &prjtext::kExcelHeadings});
        for (const ColumnDef& c : schema().table(QStringLiteral("projects"))->columns)
            if (c.name != QLatin1String("id"))
                out << ListingColumn {QStringLiteral("p"), QStringLiteral("projects"), c.name, h.value(c.name, c.name)};
        break;
    }
    case UnitGroup:
    case ApplicantGroup: {
        static const QStringList notApplicant = QString::fromLatin1(
            "id,prj_id,vahed_id,ostan,shahrestan,shahr,prj_typ,prj_name,prj_cod,rosta,zamin_pelak,zamin_adr").split(',');
        const auto h = headingMap({&reptext::kApplicantHeadings, &kApplicantCaptions});
        const auto add = [&](const QString& name) {
            out << ListingColumn {QStringLiteral("c"), QStringLiteral("customers"), name, h.value(name, name)};
        };
        if (g == UnitGroup) {
            for (const QString& name : unitColumns())
                add(name);
        } else {
            for (const ColumnDef& c : schema().table(QStringLiteral("customers"))->columns)
                if (!notApplicant.contains(c.name) && !unitColumns().contains(c.name))
                    add(c.name);
        }
        break;
    }
    case StorageGroup:
    case ParkingGroup: {
        const bool parking = g == ParkingGroup;
        const auto h = parking ? headingMap({&reptext::kParkingOwn, &reptext::kStorageGrid})
                               : headingMap({&reptext::kStorageGrid});
        for (const QString& name : spaceColumns())
            out << ListingColumn {parking ? QStringLiteral("k") : QStringLiteral("a"),
                                  parking ? QStringLiteral("parking") : QStringLiteral("anbari"), name,
                                  h.value(name, name)};
        break;
    }
    }
    return out;
}

QList<Group> listingOrder(Listing listing)
{
    if (listing == Listing::ProjectsApplicants)
        return {ProjectGroup, UnitGroup, ApplicantGroup, StorageGroup, ParkingGroup};
    return {ApplicantGroup, UnitGroup, ProjectGroup, StorageGroup, ParkingGroup};
}

QString selectedProvince(const Tproject_src& list, bool* ok)
{
    const QSqlRecord project = list.currentProject();
    *ok = !project.isEmpty();
    if (!*ok)
        dialogs().warning(kSelectProject);
    return *ok ? text(project.value(QStringLiteral("ostan"))) : QString();
}

} // namespace

// ---------------------------------------------------------------- shared

ExportScope exportScopeOf(const Tproject_src& list)
{
    const ReportScope s = scopeOf(list);
    return ExportScope {s.filter.ostan, s.filter.shahrestan};
}

QString scopeConditions(const Database& db, const QString& alias, const ExportScope& scope, QVariantList& values)
{
    QString w;
    const QString ostan = alias + QStringLiteral(".ostan");
    const QString shahrestan = alias + QStringLiteral(".shahrestan");
    if (!session().isAdminLevel()) {
        w += QStringLiteral(" and ") + shahrestan + QStringLiteral(" in ( select cmt from dastrasi2 where user_id=?)");
        values << session().prsId;
    }
    if (scope.ostan) {
        w += QStringLiteral(" and ") + db.dialect().exactEquals(ostan);
        values << *scope.ostan;
    }
    if (scope.shahrestan) {
        w += QStringLiteral(" and ") + db.dialect().likeCondition(db.dialect().fold(shahrestan));
        values << QString(QLatin1Char('%') + db.dialect().likeText(foldText(*scope.shahrestan)) + QLatin1Char('%'));
    }
    return w;
}

ColType columnType(const QString& table, const QString& column)
{
    const TableDef* t = schema().table(table);
    const ColumnDef* c = t ? t->column(column) : nullptr;
    return c ? c->type : ColType::Text;
}

QString cellText(const QVariant& value, ColType type)
{
    if (!value.isValid() || value.isNull())
        return {};
    bool numeric = false;
    const double d = value.toString().toDouble(&numeric);
    switch (type) {
    case ColType::Money:
    case ColType::Int:
    case ColType::BigInt:
    case ColType::Identity:
    case ColType::BigIdentity:
        if (numeric)
            if (const auto n = wholeNumber(value))
                return QString::number(*n);
        return value.toString();
    case ColType::Float:
        return numeric ? exportCellText(QVariant(d)) : value.toString();
    default:
        return exportCellText(value);
    }
}

void forEachRowOf(Database& db, const QString& sql, const QVariantList& values,
                  const std::function<void(const QSqlRecord&)>& visit)
{
    db.forEachRow(sql, values, visit);
}

// ---------------------------------------------------------------- province tables

Statement provinceTableStatement(const Database& db, ProvinceTable table, const QString& ostan, int y)
{
    Statement s;
    s.sql = QStringLiteral("select p.id, p.ostan, p.shahrestan, p.prj_name");
    switch (table) {
    case ProvinceTable::Deeds:
        s.sql += QStringLiteral(", coalesce(c.n,0), coalesce(c.daftar,0), coalesce(c.nodaftar,0), coalesce(c.sanad,0), "
                                "coalesce(c.nosanad,0) from projects p left join (select prj_id, count(*) as n, ") +
                 countIf(QStringLiteral("daftar_no<>''")) + QStringLiteral(" as daftar, ") +
                 countIf(absent(QStringLiteral("daftar_no"))) + QStringLiteral(" as nodaftar, ") +
                 countIf(QStringLiteral("sanad_no<>''")) + QStringLiteral(" as sanad, ") +
                 countIf(absent(QStringLiteral("sanad_no"))) + QStringLiteral(" as nosanad from customers where ") +
                 inProvince(db, QStringLiteral("prj_id")) + QStringLiteral(" group by prj_id) c on c.prj_id=p.id");
        s.values << ostan;
        break;
    case ProvinceTable::Facilities:
        // A unit is settled with the bank when a loan row names it.
        s.sql += QStringLiteral(", coalesce(t.v,0), coalesce(u.loaned,0), coalesce(u.unloaned,0) from projects p "
                                "left join (select prj_id, sum(vahed_cnt) as v from tashilat where ") +
                 inProvince(db, QStringLiteral("prj_id")) +
                 QStringLiteral(" group by prj_id) t on t.prj_id=p.id left join (select prj_id, sum(loaned) as loaned, "
                                "sum(1-loaned) as unloaned from (select v.prj_id, case when exists (select 1 from "
                                "vahed_vam l where l.vahed_id=v.id) then 1 else 0 end as loaned from vahedha v where ") +
                 inProvince(db, QStringLiteral("v.prj_id")) + QStringLiteral(") x group by prj_id) u on u.prj_id=p.id");
        s.values << ostan << ostan;
        break;
    case ProvinceTable::Delivered: {
        const QString real = dateIsSet(QStringLiteral("tahvil_dat"));
        s.sql += QStringLiteral(", coalesce(c.y0,0), coalesce(c.y1,0), coalesce(c.y2,0), coalesce(c.y3,0), "
                                "coalesce(c.old,0), coalesce(p.vahed_kol,0), coalesce(c.d,0), "
                                "coalesce(p.vahed_kol,0)-coalesce(c.d,0) from projects p left join (select prj_id");
        for (int i = 0; i < 4; ++i) {
            s.sql += QStringLiteral(", ") + countIf(QStringLiteral("tahvil_dat>=? and tahvil_dat<=?")) +
                     QStringLiteral(" as y") + QString::number(i);
            s.values << QString(year(y - i) + QStringLiteral("/01/01")) << QString(year(y - i) + QStringLiteral("/12/30"));
        }
        s.sql += QStringLiteral(", ") + countIf(real + QStringLiteral(" and tahvil_dat<=?")) + QStringLiteral(" as old, ") +
                 countIf(real) + QStringLiteral(" as d from customers where ") + inProvince(db, QStringLiteral("prj_id")) +
                 QStringLiteral(" group by prj_id) c on c.prj_id=p.id");
        s.values << QString(year(y - 4) + QStringLiteral("/12/30")) << ostan;
        break;
    }
    case ProvinceTable::UnitTypes: {
        s.sql += QStringLiteral(", p.sakht_dat");
        for (int i = 0; i < kUnitTypes.size(); ++i)
            s.sql += QStringLiteral(", coalesce(u.t%1,0)").arg(i);
        s.sql += QStringLiteral(", coalesce(p.vahed_kol,0) from projects p left join (select prj_id");
        for (int i = 0; i < kUnitTypes.size(); ++i) {
            s.sql += QStringLiteral(", ") + countIf(db.dialect().fold(QStringLiteral("vahed_typ")) + QStringLiteral("=?")) +
                     QStringLiteral(" as t%1").arg(i);
            s.values << foldText(kUnitTypes.at(i).second);
        }
        s.sql += QStringLiteral(" from vahedha where ") + inProvince(db, QStringLiteral("prj_id")) +
                 QStringLiteral(" group by prj_id) u on u.prj_id=p.id");
        s.values << ostan;
        break;
    }
    }
    s.sql += QStringLiteral(" where ") + db.dialect().exactEquals(QStringLiteral("p.ostan")) +
             QStringLiteral(" order by coalesce(p.shahrestan,''), coalesce(p.prj_name,''), p.id");
    s.values << ostan;
    return s;
}

HtmlFrame provinceTableFrame(ProvinceTable table, const QString& today)
{
    HtmlFrame f;
    f.title = kProvinceTitle;
    QStringList h = kProvinceHeadings;
    switch (table) {
    case ProvinceTable::Deeds:
        f.caption = kDeedCaption;
        h << kDeedHeadings;
        break;
    case ProvinceTable::Facilities:
        f.caption = kFacilitiesCaption;
        h << kFacilityHeadings;
        break;
    case ProvinceTable::Delivered: {
        f.caption = kDeliveredCaption;
        const int y = today.left(4).toInt();
        h << year(y) << year(y - 1) << year(y - 2) << year(y - 3) << year(y - 4) + kAndBefore << kDeliveredHeadings;
        break;
    }
    case ProvinceTable::UnitTypes:
        f.caption = kUnitTypesCaption;
        h << kSakhtHeading;
        for (const auto& t : kUnitTypes)
            h << t.first;
        h << kUnitTypesTotalHeading;
        break;
    }
    f.caption.prepend(today);
    f.headings << headingRow(h);
    return f;
}

QList<QStringList> provinceTableRows(Database& db, ProvinceTable table, const QString& ostan, int y)
{
    const Statement s = provinceTableStatement(db, table, ostan, y);
    QSqlQuery q = db.exec(s.sql, s.values);
    QList<QStringList> rows;
    while (q.next()) {
        QStringList cells {QString::number(rows.size() + 1)};
        const int n = q.record().count();
        for (int i = 1; i < n; ++i) {
            const bool isText = i <= 3 || (table == ProvinceTable::UnitTypes && i == 4);
            cells << cellText(q.value(i), isText ? ColType::Text : ColType::Int);
        }
        rows << cells;
    }
    return rows;
}

// ---------------------------------------------------------------- listings

QList<ListingColumn> listingColumns(Listing listing)
{
    QList<ListingColumn> out;
    for (Group g : listingOrder(listing))
        out << groupColumns(g);
    return out;
}

HeadingRow listingGroups()
{
    HeadingRow r {HeadingCell {}};
    const QList<Group> groups = listingOrder(Listing::ProjectsApplicants);
    for (int i = 0; i < groups.size(); ++i)
        r << HeadingCell {kListingGroups.at(i), int(groupColumns(groups.at(i)).size())};
    return r;
}

Statement listingStatement(const Database& db, Listing listing, const ExportScope& scope)
{
    Statement s;
    const QString slots = QStringLiteral(
        "WITH sa AS (select id, customer_id, num, metraj, pos, mablagh, mablagh1, bolok, row_number() over "
        "(partition by customer_id order by id) as n from anbari where customer_id is not null), "
        "sp AS (select id, customer_id, num, metraj, pos, mablagh, mablagh1, bolok, row_number() over "
        "(partition by customer_id order by id) as n from parking where customer_id is not null), "
        "sl AS (select customer_id, n from sa union select customer_id, n from sp) ");
    QStringList cols;
    for (const ListingColumn& c : listingColumns(listing))
        cols << c.alias + QLatin1Char('.') + c.column;
    const QString spaces = QStringLiteral(
        " left join sl on sl.customer_id=c.id left join sa a on a.customer_id=sl.customer_id and a.n=sl.n"
        " left join sp k on k.customer_id=sl.customer_id and k.n=sl.n");
    const QString order = QStringLiteral(" order by coalesce(p.ostan,''), coalesce(p.shahrestan,''), coalesce(p.prj_name,''), ");
    if (listing == Listing::ProjectsApplicants) {
        s.sql = slots + QStringLiteral("select ") + cols.join(QStringLiteral(", ")) +
                QStringLiteral(" from projects p left join customers c on p.id=c.prj_id") + spaces +
                QStringLiteral(" where p.id<>-1") + scopeConditions(db, QStringLiteral("p"), scope, s.values) + order +
                QStringLiteral("p.id, c.id, sl.n");
    } else {
        s.sql = slots + QStringLiteral("select ") + cols.join(QStringLiteral(", ")) +
                QStringLiteral(" from customers c left join projects p on c.prj_id=p.id") + spaces +
                QStringLiteral(" where c.id<>-1") + scopeConditions(db, QStringLiteral("p"), scope, s.values) + order +
                QStringLiteral("c.id, sl.n");
    }
    return s;
}

HtmlFrame listingFrame(Listing listing, const QString& today, const QString& time)
{
    HtmlFrame f;
    f.title = kListingTitle;
    f.caption = today + kListingCaption;
    if (listing == Listing::ApplicantsProjects)
        f.caption += time;
    else
        f.headings << listingGroups();
    QStringList h {kProvinceHeadings.first()};
    for (const ListingColumn& c : listingColumns(listing))
        h << c.heading;
    f.headings << headingRow(h);
    return f;
}

void writeListing(Database& db, HtmlTableWriter& w, Listing listing, const ExportScope& scope, const QString& today,
                  const QString& time)
{
    const QList<ListingColumn> cols = listingColumns(listing);
    QList<ColType> types;
    for (const ListingColumn& c : cols)
        types << columnType(c.table, c.column);
    const Statement s = listingStatement(db, listing, scope);
    w.begin(listingFrame(listing, today, time));
    int n = 0;
    forEachRowOf(db, s.sql, s.values, [&](const QSqlRecord& q) {
        QStringList cells {QString::number(++n)};
        for (int i = 0; i < types.size(); ++i)
            cells << cellText(q.value(i), types.at(i));
        w.row(cells);
    });
    w.end();
}

// ---------------------------------------------------------------- cover sheet

QString millions(qint64 rials)
{
    const qint64 r = qAbs(rials);
    qint64 whole = r / 1000000;
    qint64 hundredths = (r % 1000000 + 5000) / 10000;
    if (hundredths == 100) {
        ++whole;
        hundredths = 0;
    }
    QString t = QString::number(whole);
    if (hundredths) {
        t += QLatin1Char('.') + QStringLiteral("%1").arg(hundredths, 2, 10, QLatin1Char('0'));
        if (t.endsWith(QLatin1Char('0')))
            t.chop(1);
    }
    return (rials < 0 && t != QLatin1String("0") ? QStringLiteral("-") : QString()) + doc::groupThousands(t);
}

QVariantMap coverSheetValues(Database& db, const QString& ostan, const QString& today)
{
    const QString eq = db.dialect().exactEquals(QStringLiteral("ostan"));
    const auto folded = [&](const QString& column) -> QString { return db.dialect().fold(column) + QStringLiteral("=?"); };
    QStringList parts;
    QVariantList values;
    const auto add = [&](const QString& name, const QString& sql, const QVariantList& v) {
        parts << QStringLiteral("(") + sql + QStringLiteral(") as ") + name;
        values << v;
    };
    const QString inProv = inProvince(db, QStringLiteral("prj_id"));
    const QString unitsInProv = QStringLiteral("select count(*) from vahedha v where ") + inProvince(db, QStringLiteral("v.prj_id"));
    const QString loaned = QStringLiteral("exists (select 1 from vahed_vam l where l.vahed_id=v.id)");
    const QString sold = QStringLiteral("exists (select 1 from customers c where c.vahed_id=v.id)");
    add(QStringLiteral("prj"), QStringLiteral("select count(*) from projects where ") + eq, {ostan});
    add(QStringLiteral("vahed"), QStringLiteral("select coalesce(sum(vahed_kol),0) from projects where ") + eq, {ostan});
    add(QStringLiteral("tahvil_no"), QStringLiteral("select count(*) from customers where ") + eq + QStringLiteral(" and tahvil_no<>''"), {ostan});
    add(QStringLiteral("tashilat"), QStringLiteral("select coalesce(sum(daryafti),0) from tashilat where ") + inProv, {ostan});
    add(QStringLiteral("daftar_no"), QStringLiteral("select count(*) from customers where ") + eq + QStringLiteral(" and daftar_no<>''"), {ostan});
    add(QStringLiteral("sanad_no"), QStringLiteral("select count(*) from customers where ") + eq + QStringLiteral(" and sanad_no<>''"), {ostan});
    for (const ProjectType& t : kProjectTypes)
        add(t.label, QStringLiteral("select count(*) from projects where ") + eq + QStringLiteral(" and ") + folded(QStringLiteral("prj_typ")),
            {ostan, foldText(t.value)});
    const auto facilities = [&](const QString& name, const QString& column, const QString& value) {
        add(name, QStringLiteral("select count(*) from tashilat where ") + folded(column) + QStringLiteral(" and ") + inProv,
            {foldText(value), ostan});
    };
    facilities(QStringLiteral("madani"), QStringLiteral("prot_typ"), kCivilPartnership);
    facilities(QStringLiteral("sakht"), QStringLiteral("etebar_loc"), kMehrHousing);
    facilities(QStringLiteral("rostaei"), QStringLiteral("etebar_loc"), kRuralImprovement);
    facilities(QStringLiteral("resalat"), QStringLiteral("bank"), kResalatBank);
    add(QStringLiteral("tas_d"), QStringLiteral("select coalesce(sum(mablagh),0) from vahed_vam where ") + inProv, {ostan});
    add(QStringLiteral("mot"), unitsInProv + QStringLiteral(" and ") + loaned + QStringLiteral(" and ") + sold, {ostan});
    add(QStringLiteral("bon"), unitsInProv + QStringLiteral(" and ") + loaned + QStringLiteral(" and not ") + sold, {ostan});
    add(QStringLiteral("tas"), unitsInProv + QStringLiteral(" and not ") + loaned, {ostan});
    add(QStringLiteral("est"), QStringLiteral("select count(*) from vahed_vam where ") + inProv +
            QStringLiteral(" and tashilat_id in (select id from tashilat where ") + folded(QStringLiteral("etebar_loc")) + ')',
        {ostan, foldText(kCentralOfficeCredit)});
    add(QStringLiteral("baha"), QStringLiteral("select coalesce(sum(mablagh),0) from vahedha where ") + inProv, {ostan});
    add(QStringLiteral("motegh"), QStringLiteral("select count(*) from customers where ") + inProv + QStringLiteral(" and ") + kCurrentBuyer,
        {ostan});

    const auto row = db.firstRow(QStringLiteral("select ") + parts.join(QStringLiteral(", ")), values);
    const auto number = [&](const char* name) -> qint64 {
        return row ? wholeNumber(row->value(QString::fromLatin1(name))).value_or(0) : 0;
    };
    QVariantMap v;
    for (const char* name : {"prj", "vahed", "tahvil_no", "daftar_no", "sanad_no", "madani", "sakht", "rostaei",
                             "resalat", "mot", "bon", "tas", "est", "motegh"})
        v.insert(QString::fromLatin1(name), QString::number(number(name)));
    for (const ProjectType& t : kProjectTypes)
        v.insert(t.label, QString::number(number(qPrintable(t.label))));
    v.insert(QStringLiteral("v_mande"), QString::number(number("vahed") - number("tahvil_no")));
    v.insert(QStringLiteral("s_mande"), QString::number(number("vahed") - number("sanad_no")));
    v.insert(QStringLiteral("tashilat"), millions(number("tashilat")));
    v.insert(QStringLiteral("tas_d"), millions(number("tas_d")));
    v.insert(QStringLiteral("baha"), doc::groupThousands(QString::number(number("baha"))));
    v.insert(QStringLiteral("dat"), today);
    v.insert(QStringLiteral("ostan"), ostan);
    return v;
}

doc::PageLayout coverSheetLayout()
{
    using namespace doc;
    const PageSetup setup {Paper::A4, Orientation::Portrait, QMarginsF(10, 10, 10, 10)};
    PageLayout page(setup);
    const QRectF content = setup.contentRect();
    const double left = content.left();
    const double width = content.width();
    const TextStyle caption = TextStyle().pt(10);
    const TextStyle value = TextStyle().pt(11).bold().centre();
    const TextStyle heading = TextStyle().pt(11).bold().centre();
    const QColor band(215, 235, 250);

    page.image(QRectF(content.right() - 18, content.top(), 18, 18), reportEmblem())
        .text(QRectF(left + 25, content.top() + 3, width - 50, 12), prjtext::kCentralOfficeEntries.at(0).second,
              TextStyle().pt(18).bold().centre());

    struct Cell {
        QString caption;
        QString label;
        bool millions = false;
    };
    const auto itemOf = [](const QString& label) {
        for (const CoverItem& i : kCoverItems)
            if (i.label == label)
                return Cell {i.caption, i.label, label == QLatin1String("tashilat") || label == QLatin1String("tas_d")};
        return Cell {};
    };
    double y = content.top() + 22;
    // A titled box of rows; a row holds one or two cells side by side.
    const auto box = [&](const QString& title, const QList<QList<Cell>>& rows) {
        const double top = y;
        page.box(QRectF(left, y, width, 7), 0.3, band).text(QRectF(left + 2, y, width - 4, 7), title, heading);
        y += 7;
        for (const QList<Cell>& r : rows) {
            double h = 7;
            for (const Cell& c : r)
                if (c.caption.size() * r.size() > 60)
                    h = 11;
            const double cw = width / r.size();
            for (int i = 0; i < r.size(); ++i) {
                const Cell& c = r.at(i);
                const double x = left + width - cw * (i + 1);   // the first cell on the right
                const double vw = r.size() > 1 ? 26 : 42;
                const double mark = c.millions ? 20 : 0;
                page.text(QRectF(x + vw + mark + 2, y, cw - vw - mark - 4, h), c.caption, caption.wrap())
                    .field(c.label, QRectF(x + 1, y, vw - 2, h), value)
                    .line(QPointF(x + vw, y), QPointF(x + vw, y + h), 0.2);
                if (c.millions)
                    page.text(QRectF(x + vw + 1, y, mark, h), kMillionMark, TextStyle().pt(8).centre());
                if (i > 0)
                    page.line(QPointF(x + cw, y), QPointF(x + cw, y + h), 0.2);
            }
            y += h;
            page.line(QPointF(left, y), QPointF(left + width, y), 0.2);
        }
        page.box(QRectF(left, top, width, y - top), 0.4);
        y += 3;
    };

    box(kBoxReport, {{Cell {kProvinceHeadings.at(1), QStringLiteral("ostan")}, itemOf(QStringLiteral("dat"))}});
    box(kBoxUnits, {{itemOf(QStringLiteral("prj"))}, {itemOf(QStringLiteral("vahed"))}, {itemOf(QStringLiteral("tahvil_no"))},
                    {itemOf(QStringLiteral("v_mande"))}, {itemOf(QStringLiteral("baha"))}, {itemOf(QStringLiteral("motegh"))}});
    box(prjtext::kCentralOfficeEntries.at(1).second,
        {{itemOf(QStringLiteral("daftar_no"))}, {itemOf(QStringLiteral("sanad_no"))}, {itemOf(QStringLiteral("s_mande"))}});
    QList<QList<Cell>> types;
    for (int i = 0; i < kProjectTypes.size(); i += 2)
        types << QList<Cell> {Cell {kProjectTypes.at(i).caption, kProjectTypes.at(i).label},
                              Cell {kProjectTypes.at(i + 1).caption, kProjectTypes.at(i + 1).label}};
    box(prjtext::kCentralOfficeEntries.at(4).second, types);
    box(prjtext::kCentralOfficeEntries.at(2).second,
        {{itemOf(QStringLiteral("tashilat"))}, {itemOf(QStringLiteral("madani"))}, {itemOf(QStringLiteral("sakht"))},
         {itemOf(QStringLiteral("rostaei"))}, {itemOf(QStringLiteral("resalat"))}});
    box(kBoxInstalments, {{itemOf(QStringLiteral("tas_d"))}, {itemOf(QStringLiteral("mot"))}, {itemOf(QStringLiteral("bon"))},
                          {itemOf(QStringLiteral("tas"))}, {itemOf(QStringLiteral("est"))}});
    return page;
}

doc::Document coverSheet(Database& db, const QString& ostan, const QString& today)
{
    return coverSheetLayout().fill(coverSheetValues(db, ostan, today));
}

// ---------------------------------------------------------------- menu entries

void printCoverSheet(const Tproject_src& list)
{
    bool ok = false;
    const QString ostan = selectedProvince(list, &ok);
    if (!ok)
        return;
    doc::Document d;
    try {
        d = coverSheet(dm(), ostan, jalali::today());
    } catch (const DbError& e) {
        reportFailure(reptext::kReadFailed, e);
        return;
    }
    // The preview is titled as the menu entry that opened it.
    QString title;
    for (const auto& [name, caption] : prjtext::kCentralOfficeEntries)
        if (name == QLatin1String("N52"))
            title = caption;
    d.showPreview(title);
}

void writeProvinceTable(const Tproject_src& list, ProvinceTable table)
{
    bool ok = false;
    const QString ostan = selectedProvince(list, &ok);
    if (!ok)
        return;
    const QString today = jalali::today();
    saveHtmlPage(kProvinceFile, [&](HtmlTableWriter& w) {
        const QList<QStringList> rows = provinceTableRows(dm(), table, ostan, today.left(4).toInt());
        w.begin(provinceTableFrame(table, today));
        for (const QStringList& r : rows)
            w.row(r);
        w.end();
    });
}

void writeListingPage(const Tproject_src& list, Listing listing)
{
    const ExportScope scope = exportScopeOf(list);
    const QString today = jalali::today();
    const QString time = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    saveHtmlPage(kListingFile, [&](HtmlTableWriter& w) { writeListing(dm(), w, listing, scope, today, time); });
}

} // namespace tavrin::reports
